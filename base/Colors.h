// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QPalette>
#include <QWidget>
#include <cstdint>

namespace mirthkey {

// A colour as the program keeps and compares it: 0x00BBGGRR, red in the low byte. Any
// value is a colour; these are the ones the window uses.
enum class ColorValue : std::uint32_t {
    Red = 0x000000FF,
    Blue = 0x00FF0000,
    White = 0x00FFFFFF,
    Window = 0x00F8F8E9, // pale cyan, E9F8F8 as RGB
};

constexpr ColorValue colorValue(int red, int green, int blue)
{
    return ColorValue(std::uint32_t(red) | std::uint32_t(green) << 8 | std::uint32_t(blue) << 16);
}

inline ColorValue colorValue(const QColor &color)
{
    return colorValue(color.red(), color.green(), color.blue());
}

inline QColor toQColor(ColorValue value)
{
    const auto v = std::uint32_t(value);
    return QColor(int(v & 0xFF), int(v >> 8 & 0xFF), int(v >> 16 & 0xFF));
}

// Sets one colour of a widget's palette; the widget repaints itself, nothing else moves.
inline void setColor(QWidget &widget, QPalette::ColorRole role, ColorValue value)
{
    const QColor color = toQColor(value);
    if (widget.palette().color(role) == color)
        return;
    QPalette palette = widget.palette();
    palette.setColor(role, color);
    widget.setPalette(palette);
}

// A label's text colour.
inline ColorValue foreColor(const QWidget &widget)
{
    return colorValue(widget.palette().color(QPalette::WindowText));
}

inline void setForeColor(QWidget &widget, ColorValue value)
{
    setColor(widget, QPalette::WindowText, value);
}

} // namespace mirthkey
