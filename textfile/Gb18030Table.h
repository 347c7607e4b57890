// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QStringView>

namespace mirthkey {

namespace gb18030 {

// Private-use characters that GB18030-2005 (and Windows' code page 54936) encodes in
// two bytes. The 2022 edition, which the C library follows, gave those bytes to the
// standard characters these stood in for (vertical punctuation, a few rare ideographs)
// and left these without a code. They keep the bytes of 2005, which a reader of either
// edition shows as the intended character.
struct LegacyCode {
    char16_t unit;
    unsigned char lead;
    unsigned char trail;
};
inline constexpr LegacyCode kLegacyCodes[] = {
    {0xE78D, 0xA6, 0xD9}, {0xE78E, 0xA6, 0xDA}, {0xE78F, 0xA6, 0xDB}, {0xE790, 0xA6, 0xDC},
    {0xE791, 0xA6, 0xDD}, {0xE792, 0xA6, 0xDE}, {0xE793, 0xA6, 0xDF}, {0xE794, 0xA6, 0xEC},
    {0xE795, 0xA6, 0xED}, {0xE796, 0xA6, 0xF3}, {0xE816, 0xFE, 0x51}, {0xE817, 0xFE, 0x52},
    {0xE818, 0xFE, 0x53}, {0xE81E, 0xFE, 0x59}, {0xE826, 0xFE, 0x61}, {0xE82B, 0xFE, 0x66},
    {0xE82C, 0xFE, 0x67}, {0xE831, 0xFE, 0x6C}, {0xE832, 0xFE, 0x6D}, {0xE83B, 0xFE, 0x76},
    {0xE843, 0xFE, 0x7E}, {0xE854, 0xFE, 0x90}, {0xE855, 0xFE, 0x91}, {0xE864, 0xFE, 0xA0}};

inline const LegacyCode *legacyCode(char16_t unit)
{
    for (const LegacyCode &code : kLegacyCodes) {
        if (code.unit == unit)
            return &code;
    }
    return nullptr;
}

// Appends `text`, which has no lone surrogate, in GB18030 to `out` without the system's
// converter: the bytes of the C library's GB18030 with the codes above, from the table of
// two-byte codes built into the program, so that every system writes the same bytes
// (Windows' own converter follows the 2005 edition, and Wine has none).
void encodeWithTable(QStringView text, QByteArray &out);

} // namespace gb18030

} // namespace mirthkey
