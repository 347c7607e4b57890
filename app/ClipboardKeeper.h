// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace mirthkey {

// Called as the program ends. On X11 the clipboard's text lives in the program that put
// it there, so copied codes would vanish with it. When the program still owns the
// clipboard, a keeper serves the text until another program takes the clipboard.
// The keeper is this program's own image (/proc/self/exe) started again in keeper
// mode, never a file looked up by name, in the root folder, and it inherits no
// descriptor but the pipe that brings it the text; the text never goes to a file.
void keepClipboardAfterExit();

// True when this process was started by keepClipboardAfterExit as the keeper (by its
// arguments and standard input); then main() must call runClipboardKeeper before it
// creates an application object.
bool startedAsClipboardKeeper(int argc, char *argv[]);

// Serves the text read from standard input as the X11 clipboard until another program
// takes the clipboard; returns the process's exit status.
int runClipboardKeeper(int argc, char *argv[]);

} // namespace mirthkey
