// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRegion>

class QWidget;

namespace mirthkey {

// Repaints `region` (in the widget's coordinates) before the event loop waits again, in
// the way that costs least where the program runs: what the two decorations change on one
// tick, and the caret's blink, go to the screen with no more wake-ups than the tick's own.
// Under Windows nothing is posted to the event loop for it (Repaint_windows.cpp); elsewhere
// it is the toolkit's own posted repaint request (Repaint_other.cpp).
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
