// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <exception>

namespace mirthkey {

class Platform;

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
