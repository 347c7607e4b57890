// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace mirthkey {

// Keeps a top-level window at the fixed size it has been given, whatever the window system
// asks for: a maximised or full-screen state is undone at once and a size the window was
// pushed to goes back. Call it once the window has its fixed size, before it is shown.
//
// On Wayland the compositor may put the window in the maximised state by itself (weston
// does on Super+Shift+M, Qt's own title bar on its maximise button), and then the window
// must take the size it is given or the compositor ends the connection. There the window
// tells the compositor no size limits and follows the request for that moment, before
// it asks for its normal state again.
void keepFixedSize(QWidget &window);

} // namespace mirthkey
