// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QString>
#include <vector>

namespace mirthkey {

class CompositionBox;
struct Emoticon;

// A chosen emoticon's code into the composition box: the focus goes back to the box, then
// the code replaces its selection, or goes in at the caret.
void insertCode(CompositionBox &box, const QString &code);

// Button `number`'s code (1..96): "/wx" for 15.
QString codeOf(int number);

// What a screen reader says for a palette button: "微笑 /wx".
QString accessibleName(const Emoticon &emoticon);

// The button's picture in the resources: ":/emoticons/15.png", or the double-size
// ":/emoticons/15@2x.png" for screens with more than one device pixel per pixel.
QString picturePath(int number, qreal devicePixelRatio = 1.0);

// The 96 pictures, decoded; element N - 1 is button N's. Safe to run on any thread.
std::vector<QImage> loadPictures(qreal devicePixelRatio);

} // namespace mirthkey
