// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRegion>

class QWidget;

namespace mirthkey {

// Repaints `region` (in the widget's coordinates) once the event loop has handled what is
// due now and before it waits again. What the two decorations change on one tick is then
// painted and sent to the screen in one go, and nothing is posted to the event loop for it:
// a posted event wakes the loop once more, and under Windows that wake costs a message and a
// timer, each a call to the window system's server, five times a second.
void repaintBeforeWaiting(QWidget &widget, const QRegion &region);

// While it lives, changes to the widget ask for no repaint (none is posted); the caller
// repaints what it changed with repaintBeforeWaiting.
class RepaintsHeld {
public:
    explicit RepaintsHeld(QWidget &widget);
    ~RepaintsHeld();
    RepaintsHeld(const RepaintsHeld &) = delete;
    RepaintsHeld &operator=(const RepaintsHeld &) = delete;

private:
    QWidget &m_widget;
    bool m_wasHeld;
};

} // namespace mirthkey
