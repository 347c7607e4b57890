// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QString>
#include <vector>

namespace mirthkey {

class CompositionBox;
struct Emoticon;

// Click of emoticon button `number` (1..96): the focus goes back to the composition box,
// then the button's code replaces its selection, or goes in at the caret.
void insertEmoticon(CompositionBox &box, int number);

// What a screen reader says for a palette button: "微笑 /wx".
QString accessibleName(const Emoticon &emoticon);

// The button's picture in the resources: ":/emoticons/15.png", or the double-size
// ":/emoticons/15@2x.png" for screens with more than one device pixel per pixel.
QString picturePath(int number, qreal devicePixelRatio = 1.0);

// The 96 pictures, decoded; element N - 1 is button N's. Safe to run on any thread.
std::vector<QImage> loadPictures(qreal devicePixelRatio);

} // namespace mirthkey
