// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace mirthkey {

// Keeps an empty window title empty on screen. Qt gives a window without a title the
// application's name on X11 and on Windows; the program's window has no caption when its version
// cannot be read, and its title bar then stays empty. Call it once the window exists natively (from
// its show event).
void showEmptyTitleAsEmpty(QWidget &window);

} // namespace mirthkey
