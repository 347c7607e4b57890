// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinkLabel.h"

#include "Colors.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

namespace mirthkey {

LinkLabel::LinkLabel(const QString &caption, QWidget *parent) : QLabel(caption, parent)
{
    setTextFormat(Qt::PlainText);
    setCursor(Qt::PointingHandCursor);
    setMouseTracking(true);
    setHighlighted(false);
}

bool LinkLabel::isHighlighted() const
{
    return foreColor(*this) == ColorValue::Red && font().underline();
}

void LinkLabel::setHighlighted(bool highlighted)
{
    if (font().underline() != highlighted) {
        QFont underlined = font();
        underlined.setUnderline(highlighted);
        setFont(underlined);
    }
    setForeColor(*this, highlighted ? ColorValue::Red : ColorValue::Blue);
}

void LinkLabel::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    if (!font().underline())
        return;
    // The font puts its underline below the 12 px line, outside the label; the label keeps
    // the size of its text, so the underline goes on its last row instead.
    const int flags = QStyle::visualAlignment(layoutDirection(), alignment());
    const QRect text =
        style()->itemTextRect(fontMetrics(), contentsRect(), flags, isEnabled(), this->text());
    QPainter painter(this);
    painter.fillRect(text.left(), height() - 1, text.width(), 1, palette().color(foregroundRole()));
}

void LinkLabel::mouseMoveEvent(QMouseEvent *event)
{
    setHighlighted(true);
    event->accept();
}

void LinkLabel::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_pressed = true;
    event->accept();
}

void LinkLabel::mouseReleaseEvent(QMouseEvent *event)
{
    // A click is a press and a release on the label; a press dragged off it is none.
    const bool clicked = m_pressed && event->button() == Qt::LeftButton &&
                         rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton)
        m_pressed = false;
    event->accept();
    if (clicked)
        emit activated(m_target);
}

} // namespace mirthkey
