// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

namespace mirthkey {

class Platform;

// A request to close the window: a beep, then the question whether to quit.
// Returns true when the user answers Yes and the window may close.
bool confirmExit(Platform &platform, QWidget *window, const QString &executableName);

} // namespace mirthkey
