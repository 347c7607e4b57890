// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QWidget;

namespace mirthkey {

class CompositionBox;
class Platform;

// The six action buttons under the composition box. Each slot is one button's click: it
// works on the composition box, reaches the outside world through the platform and puts
// its boxes and dialogs over the window.
class Commands final : public QObject {
    Q_OBJECT
public:
    Commands(CompositionBox &box, Platform &platform, QWidget *window);

public slots:
    // The whole text to the clipboard, left selected in the box, then a notice. An empty
    // box is refused.
    void copy();
    // Asks first; Yes empties the box. The box has the focus afterwards either way.
    void clear();
    // The whole text and a final line break, in GB18030, to a file the user names. An
    // empty box is refused; a cancelled dialog ends silently; a file that cannot be
    // written is reported with the path and the reason.
    void save();
    // The short help text in place of the box's text.
    void showHelp();
    // The update history, dated today, in place of the box's text.
    void showHistory();
    // The about button has no action.
    void showAbout();

private:
    // A critical box with the error caption, then the keyboard focus back in the box.
    void refuse(const QString &prompt);

    CompositionBox &m_box;
    Platform &m_platform;
    QWidget *m_window;
};

} // namespace mirthkey
