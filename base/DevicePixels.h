// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>

class QColor;
class QPainter;

namespace mirthkey {

// Where the screen scales by 125 % or 150 %, a widget's pixels fall between device pixels.
// Qt then clips each widget, and places each child, on the device pixels nearest to its
// edges; a line drawn one pixel wide in the widget's own pixels lands between them, and is
// dropped, doubled, or covered by a child. Lines drawn in these device pixels stay whole.

// The device pixels that `area` (in the painter's coordinates) covers: its edges rounded to
// the nearest device pixel, as the widget's clip and its children's places are rounded.
QRect devicePixels(const QPainter &painter, const QRect &area);

// Whole device pixels per pixel at the painter's scale, at least one: how thick a line of
// one pixel is drawn.
int wholeDevicePixels(const QPainter &painter);

// Fills the four sides of `device`, each `thickness` device pixels thick, inside it. Takes
// device pixels whatever the painter's transform.
void fillOutline(QPainter &painter, const QRect &device, int thickness, const QColor &color);

} // namespace mirthkey
