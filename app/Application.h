// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <exception>

namespace mirthkey {

class Platform;

// Picks X11 over native Wayland where the session has an X server (XWayland), unless the
// user chose a platform (QT_QPA_PLATFORM): there the window is centred, keeps the size the
// window system is told, and copied text outlives the program through the keeper, none of
// which a Wayland window can count on. On X11 the window's image goes to the server along
// the connection rather than in shared memory, unless the user said otherwise
// (QT_XCB_NO_MITSHM). Call before the application object is made, and
// leaveWindowSystemChoice() after, so that no program started from here inherits either.
void chooseWindowSystem();
void leaveWindowSystemChoice();

// Chinese texts for the toolkit's own buttons (是 / 否 / 确定).
void installTranslations(QCoreApplication &app);

// Shows an error that escaped a handler: its number and description, in a critical box.
void reportUnhandledError(Platform &platform, const std::exception_ptr &error);

// The application object: every event goes through notify(), so an error that escapes
// any handler ends up in one place, is shown to the user and ends the program.
class Application final : public QApplication {
    Q_OBJECT
public:
    Application(int &argc, char **argv);

    void setPlatform(Platform *platform) { m_platform = platform; }
    bool notify(QObject *receiver, QEvent *event) override;

private:
    Platform *m_platform = nullptr;
};

} // namespace mirthkey
