// SPDX-License-Identifier: GPL-3.0-or-later
#include "Gb18030Table.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace mirthkey::gb18030 {

// Made by CMake from data/gb18030-two-byte.bin (tools/gb18030-table.py): for each two-byte
// code, lead 0x81-0xFE, trail 0x40-0xFE without 0x7F, its code point (16 bits, little
// endian), 0 for none.
extern const unsigned char kTwoByteCells[];
extern const int kTwoByteCellsSize;

namespace {

constexpr int kTrailsPerLead = 190;

// Four-byte codes go to the characters without a shorter code in code-point order, each
// taking the next number, except where the standard set numbers aside: U+E7C7 has the
// number that order would give U+1E3F (which has a two-byte code), and the numbers of
// the characters that the 2022 edition moved to two-byte codes stay unused.
struct Resume {
    char16_t unit;
    std::uint32_t number;
};
constexpr Resume kResumes[] = {
    {0x1E40, 7458}, {0x9FBC, 19065}, {0xE7C7, 7457}, {0xE7C8, 33470}, {0xFE1A, 39086}};

// Characters beyond U+FFFF that the 2022 edition gave two-byte codes (those of private-use
// characters that had stood in for them).
struct Supplementary {
    char32_t point;
    unsigned char lead;
    unsigned char trail;
};
constexpr Supplementary kTwoByteSupplementary[] = {{0x20087, 0xFE, 0x51}, {0x20089, 0xFE, 0x52},
                                                   {0x200CC, 0xFE, 0x53}, {0x215D7, 0xFE, 0x6C},
                                                   {0x2298F, 0xFE, 0x76}, {0x241FE, 0xFE, 0x91}};

// The number of U+10000, the first character outside the Basic Multilingual Plane
// (0x90 0x30 0x81 0x30).
constexpr std::uint32_t kFirstSupplementary = 189000;

constexpr std::uint32_t kTwoBytes = 1u << 31;
constexpr std::uint32_t kFourBytes = 1u << 30;

// For every UTF-16 unit that is not a surrogate: its two bytes or its four-byte number.
class Codes {
public:
    Codes()
    {
        for (int cell = 0; cell + 1 < kTwoByteCellsSize; cell += 2) {
            const char16_t unit = char16_t(kTwoByteCells[cell] | kTwoByteCells[cell + 1] << 8);
            const int index = cell / 2;
            const int trailOffset = index % kTrailsPerLead;
            const std::uint32_t lead = 0x81 + std::uint32_t(index / kTrailsPerLead);
            const std::uint32_t trail = 0x40 + std::uint32_t(trailOffset) + (trailOffset >= 0x3F);
            if (unit >= 0x80 && m_codes[unit] == 0)
                m_codes[unit] = kTwoBytes | lead << 8 | trail;
        }
        for (const LegacyCode &code : kLegacyCodes)
            m_codes[code.unit] = kTwoBytes | std::uint32_t(code.lead) << 8 | code.trail;
        std::uint32_t number = 0;
        const Resume *resume = std::begin(kResumes);
        for (std::uint32_t unit = 0x80; unit <= 0xFFFF; ++unit) {
            if (unit >= 0xD800 && unit <= 0xDFFF)
                continue;
            if (resume != std::end(kResumes) && resume->unit == unit)
                number = (resume++)->number;
            if (m_codes[unit] == 0)
                m_codes[unit] = kFourBytes | number++;
        }
    }

    std::uint32_t operator[](char16_t unit) const { return m_codes[unit]; }

private:
    std::array<std::uint32_t, 0x10000> m_codes{};
};

char *putFourBytes(std::uint32_t number, char *out)
{
    out[3] = char(0x30 + number % 10);
    number /= 10;
    out[2] = char(0x81 + number % 126);
    number /= 126;
    out[1] = char(0x30 + number % 10);
    out[0] = char(0x81 + number / 10);
    return out + 4;
}

} // namespace

void encodeWithTable(QStringView text, QByteArray &out)
{
    static const Codes codes;
    // Written through a pointer, with room for two bytes a unit (what codes and Chinese
    // need at most), grown only for the rare characters that take four.
    qsizetype at = out.size();
    out.resize(at + text.size() * 2);
    char *next = out.data() + at;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (out.data() + out.size() - next < 4) {
            at = next - out.data();
            out.resize(out.size() + (text.size() - i) * 2 + 4);
            next = out.data() + at;
        }
        const char16_t unit = text[i].unicode();
        if (unit < 0x80) {
            *next++ = char(unit);
        } else if (QChar::isHighSurrogate(unit) && i + 1 < text.size()) {
            const char32_t point = QChar::surrogateToUcs4(unit, text[++i].unicode());
            const auto twoBytes =
                std::find_if(std::begin(kTwoByteSupplementary), std::end(kTwoByteSupplementary),
                             [point](const Supplementary &entry) { return entry.point == point; });
            if (twoBytes != std::end(kTwoByteSupplementary)) {
                *next++ = char(twoBytes->lead);
                *next++ = char(twoBytes->trail);
            } else {
                next = putFourBytes(kFirstSupplementary + (point - 0x10000), next);
            }
        } else if (const std::uint32_t code = codes[unit]; code & kTwoBytes) {
            *next++ = char(code >> 8 & 0xFF);
            *next++ = char(code & 0xFF);
        } else {
            next = putFourBytes(code & ~kFourBytes, next);
        }
    }
    out.truncate(next - out.data());
}

} // namespace mirthkey::gb18030
