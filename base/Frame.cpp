// SPDX-License-Identifier: GPL-3.0-or-later
#include "Frame.h"

#include "DevicePixels.h"

#include <QPainter>
#include <QStyle>

namespace mirthkey {

namespace {
const QColor kShadow(0x80, 0x80, 0x80);
const QColor kHighlight(Qt::white);
constexpr int kCaptionInset = 8;   // from the frame's left edge to the caption's background
constexpr int kCaptionPadding = 2; // background left and right of the caption's text

// Etched: the dark line, and the white one a line inside and below it, along the edges of
// `area`, on whole device pixels: at 125 % or 150 % a one-pixel pen lands between device
// pixels and the raster engine drops or doubles it, which left the frames open on one side.
void drawEtchedBorder(QPainter &painter, const QRect &area)
{
    const QRect device = devicePixels(painter, area);
    const int thickness = wholeDevicePixels(painter);
    const QRect dark = device.adjusted(0, 0, -thickness, -thickness);
    fillOutline(painter, dark, thickness, kShadow);
    fillOutline(painter, dark.translated(thickness, thickness), thickness, kHighlight);
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
