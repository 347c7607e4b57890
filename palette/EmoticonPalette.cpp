// SPDX-License-Identifier: GPL-3.0-or-later
#include "EmoticonPalette.h"

#include "Colors.h"
#include "EmoticonButton.h"
#include "Palette.h"

#include <QGuiApplication>
#include <future>

namespace mirthkey {

namespace {
// The grid in pixels (twips / 15): the first button at 30, 180 twips in the frame, a pitch of
// 360 twips, one pixel less than a button's 375, so that neighbours overlap by a pixel.
constexpr int kLeft = 2;
constexpr int kTop = 12;
constexpr int kPitch = 24;
constexpr int kButtonSize = 25;
} // namespace

EmoticonPalette::EmoticonPalette(const QString &caption, QWidget *parent) : Frame(caption, parent)
{
    // The pictures decode on another core while the buttons are made.
    auto pictures = std::async(std::launch::async, loadPictures, qGuiApp->devicePixelRatio());

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
