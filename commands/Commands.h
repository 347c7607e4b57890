#pragma once

class QWidget;

namespace mirthkey {

class CompositionBox;
class Platform;

// The clicks of the action buttons. Each works on the composition box `box`, reaches
// the outside world through `platform` and puts its boxes and dialogs over `window`.

// Command97: the whole text to the clipboard, left selected in the box, then a notice.
// An empty box is refused.
void copyCodes(CompositionBox &box, Platform &platform, QWidget *window);

// Command98: asks first; Yes empties the box. The box has the focus afterwards either way.
void clearCodes(CompositionBox &box, Platform &platform, QWidget *window);

// Command99: the whole text and a final line break, in GB18030, to a file the user names.
// An empty box is refused; a cancelled dialog ends silently; a file that cannot be
// written is reported with the path and the reason.
void saveCodes(CompositionBox &box, Platform &platform, QWidget *window);

// Command100: the short help text in place of the box's text.
void showHelp(CompositionBox &box, Platform &platform, QWidget *window);

// Command101: the update history, dated today, in place of the box's text.
void showHistory(CompositionBox &box, Platform &platform, QWidget *window);

// Command102: the about button has no action.
void showAbout(CompositionBox &box, Platform &platform, QWidget *window);

} // namespace mirthkey
