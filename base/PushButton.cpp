// SPDX-License-Identifier: GPL-3.0-or-later
#include "PushButton.h"

#include <QKeyEvent>

namespace mirthkey {

void PushButton::keyPressEvent(QKeyEvent *event)
{
    const bool isReturn = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (isReturn && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        event->accept();
        if (!event->isAutoRepeat())
            click();
        return;
    }
    QPushButton::keyPressEvent(event);
}

} // namespace mirthkey
