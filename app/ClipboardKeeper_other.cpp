// SPDX-License-Identifier: GPL-3.0-or-later
// Where there is no X11: the system keeps the clipboard's text itself (Windows), or the
// program has no way to (a Wayland compositor that keeps nothing).
#include "ClipboardKeeper.h"

namespace mirthkey {

void keepClipboardAfterExit() {}

bool startedAsClipboardKeeper(int, char *[])
{
    return false;
}

int runClipboardKeeper(int, char *[])
{
    return 1;
}

} // namespace mirthkey
