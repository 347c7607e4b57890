// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QCoreApplication;

namespace mirthkey {

// Installs what drives the style's animations where the toolkit's own driver does not
// suit (Windows: AnimationDriver_windows.cpp); elsewhere nothing.
void installAnimationDriver(QCoreApplication &app);

} // namespace mirthkey
