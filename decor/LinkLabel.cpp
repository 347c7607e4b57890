#include "LinkLabel.h"

#include "Colors.h"

#include <QMouseEvent>
#include <QPainter>

namespace mirthkey {

LinkLabel::LinkLabel(const QString &caption, QWidget *parent) : QLabel(caption, parent)
{
    setTextFormat(Qt::PlainText);
    setCursor(Qt::PointingHandCursor);
    setMouseTracking(true);
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
    // The font puts its underline one row below the text's line, outside a label exactly
    // one line high; it goes on the label's last row instead, under the whole caption.
    if (font().underline()) {
        QPainter painter(this);
        painter.setPen(palette().color(foregroundRole()));
        const int y = height() - 1;
        painter.drawLine(0, y, width() - 1, y);
    }
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
