// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Actions.h"
#include "Colors.h"

#include <QRect>
#include <QString>
#include <array>
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

// The window's controls by their role, as the window was drawn, each with its objectName
// in the comment. The palette's buttons are the palette's own.
struct Layout {
    Control palette;          // Frame1, the emoticon palette
    Control compositionFrame; // Frame2
    Control compositionBox;   // Text1, in Frame2
    Control actionFrame;      // Frame4
    // Command97 to Command102 in Frame4, in the order of kActionButtons (Actions.h).
    std::array<Control, kActionButtons.size()> actionButtons;
    Control rights;        // Label4, the rights notice
    Control authorCaption; // Label2, "作者："
    Control author;        // Label3, the author's nickname, blinking
    Control mailCaption;   // Label6, "E-mail:"
    Control mailLink;      // Label7, the author's e-mail address
    Control webLink;       // Label10, the web site
    Control webCaption;    // Label9, "Website:"
    Control banner;        // Image97
    Control description;   // Label1, typed out
};

const Layout &windowLayout();

// Every control of the layout, for the tests to walk.
std::vector<Control> layoutTable();

} // namespace mirthkey
