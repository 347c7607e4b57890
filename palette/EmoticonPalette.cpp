// SPDX-License-Identifier: GPL-3.0-or-later
#include "EmoticonPalette.h"

#include "Colors.h"
#include "EmoticonButton.h"
#include "Palette.h"

#include <QGuiApplication>

namespace mirthkey {

namespace {
// The grid in pixels (twips / 15): the first button at 30, 180 twips in the frame, a pitch of
// 360 twips, one pixel less than a button's 375, so that neighbours overlap by a pixel.
constexpr int kLeft = 2;
constexpr int kTop = 12;
constexpr int kPitch = 24;
constexpr int kButtonSize = 25;
} // namespace

// The pictures decode on another core from before the frame is made: its caption is what
// first loads the fonts, which takes longer than the decoding.
EmoticonPalette::EmoticonPalette(const QString &caption, QWidget *parent)
    : EmoticonPalette(std::async(std::launch::async, loadPictures, qGuiApp->devicePixelRatio()),
                      caption, parent)
{}

EmoticonPalette::EmoticonPalette(std::future<std::vector<QImage>> pictures, const QString &caption,
                                 QWidget *parent)
    : Frame(caption, parent)
{
    // Made from the last to the first, as the window was drawn: where two buttons overlap,
    // the one with the lower number lies on top.
    for (int n = kEmoticonCount; n >= 1; --n) {
        auto *button = new EmoticonButton(this);
        button->setObjectName(QStringLiteral("Command%1").arg(n));
        button->setGeometry(kLeft + kPitch * (paletteColumn(n) - 1),
                            kTop + kPitch * (paletteRow(n) - 1), kButtonSize, kButtonSize);
        button->setAutoDefault(false);
        button->setAccessibleName(mirthkey::accessibleName(emoticon(n)));
        setColor(*button, QPalette::Button, ColorValue::White);
        const QString code = codeOf(n);
        connect(button, &EmoticonButton::clicked, this,
                [this, code] { emit emoticonChosen(code); });
        m_buttons[std::size_t(n - 1)] = button;
    }

    const std::vector<QImage> decoded = pictures.get();
    for (int n = 1; n <= kEmoticonCount; ++n)
        button(n)->setPicture(QPixmap::fromImage(decoded[std::size_t(n - 1)]));
}

} // namespace mirthkey
