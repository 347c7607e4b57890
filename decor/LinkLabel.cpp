#include "LinkLabel.h"

#include "Colors.h"

#include <QMouseEvent>

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
