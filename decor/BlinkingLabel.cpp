// SPDX-License-Identifier: GPL-3.0-or-later
#include "BlinkingLabel.h"

#include "Clock.h"

#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QStyle>

namespace mirthkey {

namespace {

// Widens every stroke by one pixel to the right, except where that would close a
// one-pixel gap to the next stroke: strokes get heavier but never run together.
void embolden(QImage &glyphs)
{
    for (int y = 0; y < glyphs.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(glyphs.scanLine(y));
        QRgb left = 0;
        for (int x = 0; x < glyphs.width(); ++x) {
            const QRgb here = row[x];
            const bool rightFree = x + 1 == glyphs.width() || qAlpha(row[x + 1]) == 0;
            if (qAlpha(here) < qAlpha(left) && rightFree)
                row[x] = left;
            left = here;
        }
    }
}
} // namespace

BlinkingLabel::BlinkingLabel(const QString &caption, QWidget *parent) : QLabel(caption, parent)
{
    setTextFormat(Qt::PlainText);
    setRedAndBold();
    startClock(m_timer, "Timer2", this, &BlinkingLabel::step);
}

void BlinkingLabel::setRedAndBold()
{
    setForeColor(*this, ColorValue::Red);
    QFont bold = font();
    bold.setBold(true);
    setFont(bold);
}

void BlinkingLabel::paintEvent(QPaintEvent *event)
{
    // A label with a background of its own fills it itself, in the drawing it keeps of
    // each look: the toolkit need not fill it before every tick.
    const bool filled = autoFillBackground();
    setAttribute(Qt::WA_OpaquePaintEvent, filled);
    QPainter painter(this);
    if (!font().bold()) {
        if (filled)
            painter.fillRect(event->rect(), palette().brush(backgroundRole()));
        painter.end();
        QLabel::paintEvent(event);
        return;
    }
    if (filled)
        painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, boldGlyphs());
}

const QImage &BlinkingLabel::boldGlyphs()
{
    // The label shows two looks in turn, five times a second: each is drawn once and kept.
    const Look look{text(),
                    font(),
                    palette(),
                    style(),
                    isEnabled(),
                    autoFillBackground(),
                    int(QStyle::visualAlignment(layoutDirection(), alignment())),
                    contentsRect(),
                    size(),
                    devicePixelRatioF()};
    for (const Drawing &drawing : m_drawings) {
        if (drawing.look == look)
            return drawing.glyphs;
    }
    Drawing &drawing = m_drawings[m_nextDrawing];
    m_nextDrawing = (m_nextDrawing + 1) % m_drawings.size();
    drawing.look = look;
    // The program's font has no bold face, and the bold made up from its outlines merges
    // the strokes of dense characters into blobs at 12 px. The regular glyphs are drawn
    // where QLabel would put them and thickened here instead.
    QFont regular = look.font;
    regular.setBold(false);
    drawing.glyphs = QImage(look.size * look.ratio, QImage::Format_ARGB32_Premultiplied);
    drawing.glyphs.setDevicePixelRatio(look.ratio);
    drawing.glyphs.fill(Qt::transparent);
    {
        QPainter painter(&drawing.glyphs);
        painter.setFont(regular);
        look.style->drawItemText(&painter, look.contents, look.flags, look.palette, look.enabled,
                                 look.text, foregroundRole());
    }
    embolden(drawing.glyphs);
    if (look.filled) {
        QImage glyphs = drawing.glyphs;
        drawing.glyphs.fill(look.palette.color(backgroundRole()));
        QPainter(&drawing.glyphs).drawImage(0, 0, glyphs);
    }
    return drawing.glyphs;
}

QSize BlinkingLabel::sizeHint() const
{
    if (!font().bold())
        return QLabel::sizeHint();
    // The size of the regular glyphs it draws: some font engines make a bold of their own
    // a pixel wider per character.
    QFont regular = font();
    regular.setBold(false);
    const QSize text = QFontMetrics(regular).size(0, this->text());
    const int margins = 2 * margin();
    return text.grownBy(contentsMargins()) + QSize(margins, margins);
}

QSize BlinkingLabel::minimumSizeHint() const
{
    return font().bold() ? sizeHint() : QLabel::minimumSizeHint();
}

void BlinkingLabel::step()
{
    setForeColor(*this, foreColor(*this) == ColorValue::Red ? ColorValue::Blue : ColorValue::Red);
}

} // namespace mirthkey
