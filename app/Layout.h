#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <vector>

namespace mirthkey {

// What kind of widget a control of the window is.
enum class Kind { Frame, TextBox, PictureButton, ActionButton, Label, Image, Timer };

inline constexpr int kTwipsPerPixel = 15;

// The window's client area, in pixels.
inline constexpr int kWindowWidth = 408;
inline constexpr int kWindowHeight = 465;

inline const QColor kWindowColor{0xE9, 0xF8, 0xF8};
inline const QColor kBlue{0x00, 0x00, 0xFF};
inline const QColor kRed{0xFF, 0x00, 0x00};

// One control of the window as it stands when the window is created.
struct Control {
    QString name;   // objectName, e.g. "Command15"
    QString parent; // "Form2" or the frame that holds it
    Kind kind;
    QRect twips;            // left, top, width, height in twips from the parent's top-left;
                            // labels have width and height 0: they size themselves to the caption
    QString caption;        // frame title, button caption with its '&' access key, label text
    QColor textColor;       // invalid: the default text colour
    QColor backgroundColor; // invalid: transparent (only Label1)
    bool bold = false;
    int tabIndex = -1; // -1 for controls without a tab index (timers)
    int interval = 0;  // timers only, in milliseconds
    int emoticon = 0;  // picture buttons only: the palette number 1..96

    QRect pixels() const
    {
        return {twips.x() / kTwipsPerPixel, twips.y() / kTwipsPerPixel,
                twips.width() / kTwipsPerPixel, twips.height() / kTwipsPerPixel};
    }
};

// Every control of the window in the order it is created within its parent.
const std::vector<Control> &layoutTable();

// The entry for `name`; throws std::out_of_range when there is none.
const Control &control(const QString &name);

} // namespace mirthkey
