// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Colors.h"

#include <QRect>
#include <QString>
#include <optional>
#include <vector>

namespace mirthkey {

// What kind of widget a control of the window is.
enum class Kind {
    Frame,
    Palette, // the emoticon palette: a frame that makes its own buttons
    TextBox,
    ActionButton,
    Label,
    // The decorations: each gives itself its text colour and font.
    TypewriterLabel, // types the description out
    BlinkingLabel,   // the author's name
    LinkLabel,       // the e-mail address and the web site
    Image,
};

inline constexpr int kTwipsPerPixel = 15;

// The window's client area, in pixels.
inline constexpr int kWindowWidth = 408;
inline constexpr int kWindowHeight = 465;

// One control of the window as it stands when the window is created.
struct Control {
    QString name;   // objectName, e.g. "Command97"
    QString parent; // "Form2" or the frame that holds it
    Kind kind;
    QRect twips;     // left, top, width, height in twips from the parent's top-left;
                     // labels have width and height 0: they size themselves to the caption
    QString caption; // frame title, button caption with its '&' access key, label text
    std::optional<ColorValue> backgroundColor; // nothing: the style's own, or transparent
                                               // for a label (only Label1)

    QRect pixels() const
    {
        return {twips.x() / kTwipsPerPixel, twips.y() / kTwipsPerPixel,
                twips.width() / kTwipsPerPixel, twips.height() / kTwipsPerPixel};
    }
};

// Every control of the window in the order it is created within its parent; the palette's
// buttons are the palette's own.
const std::vector<Control> &layoutTable();

// The entry for `name`; throws std::out_of_range when there is none.
const Control &control(const QString &name);

} // namespace mirthkey
