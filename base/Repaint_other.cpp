// SPDX-License-Identifier: GPL-3.0-or-later
#include "Repaint.h"

#include <QWidget>

namespace mirthkey {

// Elsewhere a posted repaint request costs a few system calls within the same wake-up, and
// the toolkit then paints all that changed in the window in one go and sends it to the
// window system at once; a repaint of each widget on its own would send each separately,
// and the X server, woken for each, wakes the program once more too.
void repaintBeforeWaiting(QWidget &widget, const QRegion &region)
{
    widget.update(region);
}

} // namespace mirthkey
