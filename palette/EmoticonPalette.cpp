// SPDX-License-Identifier: GPL-3.0-or-later
#include "EmoticonPalette.h"

#include "Colors.h"
#include "EmoticonButton.h"

#include <QGuiApplication>
#include <QImageReader>

namespace mirthkey {

namespace {
// The grid in pixels (twips / 15): the first button at 30, 180 twips in the frame, a pitch of
// 360 twips, one pixel less than a button's 375, so that neighbours overlap by a pixel.
constexpr int kLeft = 2;
constexpr int kTop = 12;
constexpr int kPitch = 24;
constexpr int kButtonSize = 25;

// Button `number`'s picture in the resources: ":/emoticons/15.png", or the double-size
// ":/emoticons/15@2x.png" for screens with more than one device pixel per pixel.
QString picturePath(int number, qreal devicePixelRatio)
{
    return QStringLiteral(":/emoticons/%1%2.png")
        .arg(number, 2, 10, QLatin1Char('0'))
        .arg(devicePixelRatio > 1.0 ? QStringLiteral("@2x") : QString());
}

// The 96 pictures, decoded; element N - 1 is button N's. Safe to run on any thread.
std::vector<QImage> loadPictures(qreal devicePixelRatio)
{
    std::vector<QImage> pictures;
    pictures.reserve(kEmoticonCount);
    for (int n = 1; n <= kEmoticonCount; ++n) {
        QImageReader reader(picturePath(n, devicePixelRatio), "png");
        QImage picture = reader.read();
        if (devicePixelRatio > 1.0)
            picture.setDevicePixelRatio(2.0);
        pictures.push_back(std::move(picture));
    }
    return pictures;
}

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
