// SPDX-License-Identifier: GPL-3.0-or-later
// The clipboard keeper on X11 (and XWayland).
#include "ClipboardKeeper.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QMimeData>
#include <QThread>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

extern char **environ;

namespace mirthkey {

namespace {

// The keeper is marked by its name: started with no arguments, under this name, with a
// pipe on standard input. Nothing in its environment says so, so nothing it starts, and
// no reader of its environment, sees a mark. On its own the name does nothing: someone who
// starts a copy of the program under this name, text piped in, gets a clipboard server for
// text of their own, with rights of their own. The name is also the process name.
constexpr char kKeeperName[] = "mirthkey-keeper";

// Starts the keeper with the text on its standard input; returns its process id, or 0
// if it could not be started or did not take the whole text.
pid_t startKeeper(const QByteArray &text)
{
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0)
        return 0;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[0], STDIN_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    // Descriptors without close-on-exec (a lock the program was started with, say) must not
    // stay open in a process that outlives the program.
    posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // Nothing blocked, and the signals that end a process do so, whatever we inherited.
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (const int number : {SIGPIPE, SIGHUP, SIGINT, SIGTERM})
        sigaddset(&defaults, number);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    // The folder we were started from (a USB stick, say) must not stay busy.
    posix_spawn_file_actions_addchdir_np(&actions, "/");
    QByteArray name(kKeeperName);
    char *argv[] = {name.data(), nullptr};
    // Our own image, whatever the folder it came from holds now and whoever can write there.
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, "/proc/self/exe", &actions, &attributes, argv, environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[0]);
    if (spawned != 0) {
        close(pipeFds[1]);
        return 0;
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
    return written == text.size() ? pid : 0;
}

} // namespace

void keepClipboardAfterExit()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    QClipboard *clipboard = QGuiApplication::clipboard();
    // A clipboard manager may be running and still keep nothing (the one of an XWayland
    // window manager takes the selection's ownership over, not its text), so the keeper
    // starts whenever the text is still ours; a manager that does keep text copies it
    // from the keeper as it would from us.
    if (!clipboard->ownsClipboard())
        return;
    const pid_t keeper = startKeeper(clipboard->text().toUtf8());
    if (keeper == 0)
        return;
    // The keeper takes the clipboard over from us; wait (briefly) until it has, so the
    // text can be pasted at every moment. A keeper that has already ended never will.
    const QDeadlineTimer deadline(3000);
    while (clipboard->ownsClipboard() && !deadline.hasExpired()) {
        if (waitpid(keeper, nullptr, WNOHANG) != 0)
            break;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
}

bool startedAsClipboardKeeper(int argc, char *argv[])
{
    if (argc != 1 || std::strcmp(argv[0], kKeeperName) != 0)
        return false;
    struct stat input {};
    return fstat(STDIN_FILENO, &input) == 0 && S_ISFIFO(input.st_mode);
}

int runClipboardKeeper(int argc, char *argv[])
{
    setsid(); // outlive the terminal or session that started the program
    if (chdir("/") != 0)
        return 1;
    prctl(PR_SET_NAME, kKeeperName);

    // The text is held once, as the bytes served to every program that asks for it.
    QByteArray text;
    char buffer[65536];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, stdin)) > 0)
        text.append(buffer, qsizetype(n));
    text.squeeze();

    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    qunsetenv("QT_QPA_PLATFORM");
    auto *data = new QMimeData;
    data->setData(QStringLiteral("text/plain"), text);
    text.clear();
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->setMimeData(data);
    if (!clipboard->ownsClipboard())
        return 1;
    QObject::connect(clipboard, &QClipboard::changed, &app, [clipboard](QClipboard::Mode mode) {
        if (mode == QClipboard::Clipboard && !clipboard->ownsClipboard())
            QCoreApplication::quit();
    });
    return QGuiApplication::exec();
}

} // namespace mirthkey
