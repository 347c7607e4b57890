#pragma once

namespace mirthkey {

// Called as the program ends. On X11 the clipboard's text lives in the program that put
// it there, so copied codes would vanish with it. When the program still owns the
// clipboard and no clipboard manager runs to take the text over (Qt hands it to one
// by itself), a small keeper process of ours serves the text until another program
// takes the clipboard. The text goes to the keeper through a pipe, never to a file.
void keepClipboardAfterExit();

} // namespace mirthkey
