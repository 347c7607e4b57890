// SPDX-License-Identifier: GPL-3.0-or-later
#include "Application.h"

#include "AnimationDriver.h"
#include "BuildInfo.h"
#include "Platform.h"

#include <QLibraryInfo>
#include <QTranslator>
#include <new>
#include <vector>

namespace mirthkey {

namespace {

// What was set here for the toolkit to read as the application object is made.
std::vector<const char *> g_settings;

void setForToolkit(const char *name, const char *value)
{
    qputenv(name, value);
    g_settings.push_back(name);
}

} // namespace

void chooseWindowSystem()
{
    // On Windows chooseTextRendering() has named the platform already.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        setForToolkit("QT_QPA_PLATFORM", "xcb");
    // On X11 the toolkit hands the window's image to the server in shared memory, and
    // before it draws again over pixels the server may still be reading it waits for the
    // server: a round trip for every repaint of the same place, which wakes the program
    // and the server twice more. The decorations repaint the same few pixels five times a
    // second all day long; their small images cost less sent along the connection.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        setForToolkit("QT_XCB_NO_MITSHM", "1");
}

void leaveWindowSystemChoice()
{
    for (const char *name : g_settings)
        qunsetenv(name);
    g_settings.clear();
}

void installTranslations(QCoreApplication &app)
{
    // The system's translations where Qt is installed; the Windows program is one file and
    // carries its own copy in its resources.
    const QString folders[] = {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                               QStringLiteral(":/translations")};
    auto *translator = new QTranslator(&app);
    for (const QString &folder : folders) {
        if (translator->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                             QStringLiteral("_"), folder)) {
            QCoreApplication::installTranslator(translator);
            return;
        }
    }
    delete translator;
}

void reportUnhandledError(Platform &platform, const std::exception_ptr &error)
{
    int number = 51;
    QString description = QStringLiteral("内部错误");
    try {
        std::rethrow_exception(error);
    } catch (const std::bad_alloc &) {
        number = 7;
        description = QStringLiteral("内存溢出");
    } catch (const std::exception &e) {
        description += u'：' + QString::fromLocal8Bit(e.what());
    } catch (...) {
    }
    platform.messageBox(QApplication::activeWindow(),
                        QStringLiteral("运行时错误 '%1':\r\n\r\n%2").arg(number).arg(description),
                        Icon::Critical, Buttons::Ok, QStringLiteral("Mirthkey"));
}

Application::Application(int &argc, char **argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Mirthkey"));
    // Lets a Wayland desktop match the window to its menu entry.
    setDesktopFileName(QString::fromUtf16(build::kAppId));
    setApplicationVersion(QString::fromLatin1(build::kVersion));
    installAnimationDriver(*this);
}

bool Application::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        if (m_platform)
            reportUnhandledError(*m_platform, std::current_exception());
        exit(EXIT_FAILURE);
        return false;
    }
}

} // namespace mirthkey
