#include "ClipboardKeeper.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QThread>

#ifdef MIRTHKEY_HAVE_XCB
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <unistd.h>
#include <xcb/xcb.h>

extern char **environ;
#endif

namespace mirthkey {

#ifdef MIRTHKEY_HAVE_XCB

namespace {

bool clipboardManagerRuns()
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection())
        return false;
    xcb_connection_t *connection = x11->connection();
    static const char name[] = "CLIPBOARD_MANAGER";
    xcb_intern_atom_reply_t *atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 1, sizeof name - 1, name), nullptr);
    if (!atom)
        return false;
    xcb_get_selection_owner_reply_t *owner = xcb_get_selection_owner_reply(
        connection, xcb_get_selection_owner(connection, atom->atom), nullptr);
    const bool runs = atom->atom != XCB_ATOM_NONE && owner && owner->owner != XCB_WINDOW_NONE;
    std::free(owner);
    std::free(atom);
    return runs;
}

QString keeperProgram()
{
    const QString folder = QCoreApplication::applicationDirPath();
    for (const QString &candidate :
         {folder + QStringLiteral("/mirthkey-clipboard-keeper"),
          folder + QStringLiteral("/../libexec/mirthkey/mirthkey-clipboard-keeper")}) {
        if (QFileInfo(candidate).isExecutable())
            return candidate;
    }
    return {};
}

// Starts the keeper with the text on its standard input; returns false if it could not.
bool startKeeper(const QString &program, const QByteArray &text)
{
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0)
        return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[0], STDIN_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const QByteArray path = QFile::encodeName(program);
    char *argv[] = {const_cast<char *>(path.constData()), nullptr};
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, path.constData(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[0]);
    if (spawned != 0) {
        close(pipeFds[1]);
        return false;
    }
    // A keeper that dies early must not kill us with SIGPIPE.
    const auto previous = std::signal(SIGPIPE, SIG_IGN);
    qsizetype written = 0;
    while (written < text.size()) {
        const ssize_t n =
            write(pipeFds[1], text.constData() + written, size_t(text.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        written += n;
    }
    close(pipeFds[1]);
    std::signal(SIGPIPE, previous);
    return written == text.size();
}

} // namespace

void keepClipboardAfterExit()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard->ownsClipboard() || clipboardManagerRuns())
        return;
    const QString program = keeperProgram();
    if (program.isEmpty() || !startKeeper(program, clipboard->text().toUtf8()))
        return;
    // The keeper takes the clipboard over from us; wait (briefly) until it has, so the
    // text can be pasted at every moment.
    const QDeadlineTimer deadline(3000);
    while (clipboard->ownsClipboard() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
}

#else

void keepClipboardAfterExit() {}

#endif

} // namespace mirthkey
