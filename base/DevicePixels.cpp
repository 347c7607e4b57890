// SPDX-License-Identifier: GPL-3.0-or-later
#include "DevicePixels.h"

#include <QPainter>
#include <algorithm>

namespace mirthkey {

QRect devicePixels(const QPainter &painter, const QRect &area)
{
    const QRectF exact = painter.deviceTransform().mapRect(QRectF(area));
    return QRect(QPoint(qRound(exact.left()), qRound(exact.top())),
                 QPoint(qRound(exact.right()) - 1, qRound(exact.bottom()) - 1));
}

int wholeDevicePixels(const QPainter &painter)
{
    return std::max(1, int(painter.deviceTransform().m11()));
}

void fillOutline(QPainter &painter, const QRect &device, int thickness, const QColor &color)
{
    painter.save();
    // A filled rectangle snaps to the device pixels nearest its mapped edges, so the
    // rounding errors of the inverted transform do not move it (a pen's line they do).
    painter.setWorldTransform(painter.deviceTransform().inverted(), true);
    const QRect &r = device;
    painter.fillRect(QRect(r.left(), r.top(), r.width(), thickness), color);
    painter.fillRect(QRect(r.left(), r.bottom() - thickness + 1, r.width(), thickness), color);
    painter.fillRect(QRect(r.left(), r.top(), thickness, r.height()), color);
    painter.fillRect(QRect(r.right() - thickness + 1, r.top(), thickness, r.height()), color);
    painter.restore();
}

} // namespace mirthkey
