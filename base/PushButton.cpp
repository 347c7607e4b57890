// SPDX-License-Identifier: GPL-3.0-or-later
#include "PushButton.h"

#include <QKeyEvent>

namespace mirthkey {

namespace {
bool isReturn(const QKeyEvent &event)
{
    return event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
}
} // namespace

void PushButton::keyPressEvent(QKeyEvent *event)
{
    if (isReturn(*event) && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        event->accept();
        // A press marked as a repeat is one only when this button saw Return go down.
        // Otherwise the key went down elsewhere and its release never came: a message box
        // that closes on Return's press takes the key, and Wine then marks the next press
        // of Return in the window as a repeat.
        if (event->isAutoRepeat() && m_returnDown)
            return;
        m_returnDown = true;
        click();
        return;
    }
    QPushButton::keyPressEvent(event);
}

void PushButton::keyReleaseEvent(QKeyEvent *event)
{
    if (isReturn(*event) && !event->isAutoRepeat())
        m_returnDown = false;
    QPushButton::keyReleaseEvent(event);
}

void PushButton::focusOutEvent(QFocusEvent *event)
{
    // Whatever took the focus, a message box the click opened included, gets the release.
    m_returnDown = false;
    QPushButton::focusOutEvent(event);
}

} // namespace mirthkey
