// SPDX-License-Identifier: GPL-3.0-or-later
#include "Frame.h"

#include <QPainter>
#include <QStyle>

namespace mirthkey {

namespace {
const QColor kShadow(0x80, 0x80, 0x80);
const QColor kHighlight(Qt::white);
constexpr int kCaptionInset = 8;   // from the frame's left edge to the caption's background
constexpr int kCaptionPadding = 2; // background left and right of the caption's text
} // namespace

Frame::Frame(const QString &caption, QWidget *parent) : QGroupBox(caption, parent) {}

void Frame::paintEvent(QPaintEvent * /*event*/)
{
    QPainter painter(this);
    const QFontMetrics metrics = fontMetrics();
    const int middle = metrics.height() / 2;

    // Etched: the dark line, and the white one a pixel inside and below it.
    const QRect border(0, middle, width() - 1, height() - middle - 1);
    painter.setPen(kShadow);
    painter.drawRect(border.adjusted(0, 0, -1, -1));
    painter.setPen(kHighlight);
    painter.drawRect(border.adjusted(1, 1, 0, 0));

    if (title().isEmpty())
        return;
    const QRect caption(kCaptionInset, 0, metrics.horizontalAdvance(title()) + 2 * kCaptionPadding,
                        metrics.height());
    painter.fillRect(caption, palette().color(backgroundRole()));
    style()->drawItemText(&painter, caption, Qt::AlignCenter | Qt::TextShowMnemonic, palette(),
                          isEnabled(), title(), foregroundRole());
}

} // namespace mirthkey
