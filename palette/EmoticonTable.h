// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <array>
#include <string_view>

namespace mirthkey {

// One emoticon of the palette: entry N - 1 of the table is button `Command<N>`'s, which
// inserts `code`.
struct Emoticon {
    std::u16string_view code; // "/wx": a slash and two to six lower-case letters
    std::u16string_view name; // the emoticon's Chinese name, e.g. "微笑"
};

inline constexpr int kEmoticonCount = 96;
inline constexpr int kPaletteColumns = 16;

extern const std::array<Emoticon, kEmoticonCount> kEmoticons;

// Grid place of button `number`, both counted from 1: numbering runs row by row.
constexpr int paletteRow(int number)
{
    return (number - 1) / kPaletteColumns + 1;
}
constexpr int paletteColumn(int number)
{
    return (number - 1) % kPaletteColumns + 1;
}

// The entry for button `number` (1..96).
inline const Emoticon &emoticon(int number)
{
    return kEmoticons.at(number - 1);
}

// Button `number`'s code (1..96): "/wx" for 15.
QString codeOf(int number);

// What a screen reader says for a palette button: "微笑 /wx".
QString accessibleName(const Emoticon &emoticon);

} // namespace mirthkey
