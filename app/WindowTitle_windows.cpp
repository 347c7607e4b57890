// SPDX-License-Identifier: GPL-3.0-or-later
// An empty title on Windows: the window's text, set empty.
#include "WindowTitle.h"

#include <QWidget>
#include <windows.h>

namespace mirthkey {

void showEmptyTitleAsEmpty(QWidget &window)
{
    if (window.windowTitle().isEmpty())
        SetWindowTextW(reinterpret_cast<HWND>(window.winId()), L"");
}

} // namespace mirthkey
