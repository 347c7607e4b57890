// SPDX-License-Identifier: GPL-3.0-or-later
#include "EmoticonButton.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace mirthkey {

EmoticonButton::EmoticonButton(QWidget *parent) : PushButton(parent)
{
    setAttribute(Qt::WA_Hover);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setIconSize(QSize(20, 20));
}

void EmoticonButton::setPicture(const QPixmap &picture)
{
    m_picture = picture;
    setIcon(QIcon(picture));
    update();
}

void EmoticonButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QPalette &colors = palette();
    const QRect face = rect();
    painter.fillRect(face, colors.color(QPalette::Button));

    const bool down = isDown() || isChecked();
    QColor frame = colors.color(QPalette::Mid);
    if (down)
        frame = colors.color(QPalette::Dark);
    else if (underMouse() && isEnabled())
        frame = colors.color(QPalette::Highlight);
    painter.setPen(frame);
    painter.drawRect(face.adjusted(0, 0, -1, -1));

    const QSize size = iconSize();
    QPoint at((width() - size.width()) / 2, (height() - size.height()) / 2);
    if (down)
        at += QPoint(1, 1);
    if (!m_picture.isNull()) {
        // Between 1x and 2x the 2x picture is scaled down: smoothly, not by dropping pixels.
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(QRect(at, size), m_picture);
    }

    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = face.adjusted(2, 2, -2, -2);
        option.backgroundColor = colors.color(QPalette::Button);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

} // namespace mirthkey
