// SPDX-License-Identifier: GPL-3.0-or-later
#include "Frame.h"

#include <QPainter>
#include <QStyle>
#include <algorithm>

namespace mirthkey {

namespace {
const QColor kShadow(0x80, 0x80, 0x80);
const QColor kHighlight(Qt::white);
constexpr int kCaptionInset = 8;   // from the frame's left edge to the caption's background
constexpr int kCaptionPadding = 2; // background left and right of the caption's text

// The four sides of `rect`, each `thickness` pixels thick, inside it.
void outline(QPainter &painter, const QRect &rect, int thickness, const QColor &color)
{
    painter.fillRect(QRect(rect.left(), rect.top(), rect.width(), thickness), color);
    painter.fillRect(QRect(rect.left(), rect.bottom() - thickness + 1, rect.width(), thickness),
                     color);
    painter.fillRect(QRect(rect.left(), rect.top(), thickness, rect.height()), color);
    painter.fillRect(QRect(rect.right() - thickness + 1, rect.top(), thickness, rect.height()),
                     color);
}

// Etched: the dark line, and the white one a line inside and below it, along the edges of
// `area`. Drawn on whole device pixels: at 125 % or 150 % a one-pixel pen lands between
// device pixels and the raster engine drops or doubles it, which left the frames open on
// one side. The edges are those of the device pixels the widget's background fill covers
// (rounded as that fill rounds them); the lines are as thick as a whole number of device
// pixels per pixel, at least one.
void drawEtchedBorder(QPainter &painter, const QRect &area)
{
    const QTransform toDevice = painter.deviceTransform();
    const QRectF exact = toDevice.mapRect(QRectF(area));
    const QRect device(QPoint(qRound(exact.left()), qRound(exact.top())),
                       QPoint(qRound(exact.right()) - 1, qRound(exact.bottom()) - 1));
    const int thickness = std::max(1, int(toDevice.m11()));
    painter.save();
    painter.setWorldTransform(toDevice.inverted(), true); // from here on, device pixels
    const QRect dark = device.adjusted(0, 0, -thickness, -thickness);
    outline(painter, dark, thickness, kShadow);
    outline(painter, dark.translated(thickness, thickness), thickness, kHighlight);
    painter.restore();
}

} // namespace

Frame::Frame(const QString &caption, QWidget *parent) : QGroupBox(caption, parent) {}

void Frame::paintEvent(QPaintEvent * /*event*/)
{
    QPainter painter(this);
    const QFontMetrics metrics = fontMetrics();
    const int middle = metrics.height() / 2;
    drawEtchedBorder(painter, QRect(0, middle, width(), height() - middle));

    if (title().isEmpty())
        return;
    const QRect caption(kCaptionInset, 0, metrics.horizontalAdvance(title()) + 2 * kCaptionPadding,
                        metrics.height());
    painter.fillRect(caption, palette().color(backgroundRole()));
    style()->drawItemText(&painter, caption, Qt::AlignCenter | Qt::TextShowMnemonic, palette(),
                          isEnabled(), title(), foregroundRole());
}

} // namespace mirthkey
