#pragma once

#include <QColor>
#include <QLabel>
#include <cstdint>

namespace mirthkey {

// Text colours as the program compares them: 0x00BBGGRR, red in the low byte.
inline constexpr std::uint32_t kRedValue = 0x000000FF;
inline constexpr std::uint32_t kBlueValue = 0x00FF0000;

inline std::uint32_t colorValue(const QColor &color)
{
    return std::uint32_t(color.red()) | std::uint32_t(color.green()) << 8 |
           std::uint32_t(color.blue()) << 16;
}

inline QColor fromColorValue(std::uint32_t value)
{
    return QColor(int(value & 0xFF), int(value >> 8 & 0xFF), int(value >> 16 & 0xFF));
}

inline std::uint32_t foreColor(const QLabel &label)
{
    return colorValue(label.palette().color(QPalette::WindowText));
}

// Changes only the label's text colour; the label repaints itself, nothing else moves.
inline void setForeColor(QLabel &label, std::uint32_t value)
{
    const QColor color = fromColorValue(value);
    if (label.palette().color(QPalette::WindowText) == color)
        return;
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, color);
    label.setPalette(palette);
}

} // namespace mirthkey
