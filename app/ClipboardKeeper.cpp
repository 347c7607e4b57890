// SPDX-License-Identifier: GPL-3.0-or-later
#include "ClipboardKeeper.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QThread>

#ifdef MIRTHKEY_HAVE_XCB
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
#include <vector>
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

// The environment variable that marks the keeper. It is set only in the environment handed
// to the keeper, never in ours, and the keeper removes it before anything else runs. Unlike
// an argument it is no option a user is offered, and on its own it does nothing: keeper
// mode also needs a pipe on standard input. Someone who sets both gets a clipboard server
// for text of their own, with rights of their own.
constexpr char kKeeperMark[] = "MIRTHKEY_CLIPBOARD_KEEPER";
// The keeper's process name; the image's link it is started from would name it "exe".
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

    QByteArray mark = QByteArray(kKeeperMark) + "=1";
    std::vector<char *> environment{mark.data()};
    for (char **variable = environ; *variable; ++variable) {
        if (std::strncmp(*variable, mark.constData(), sizeof kKeeperMark) != 0)
            environment.push_back(*variable);
    }
    environment.push_back(nullptr);
    QByteArray name(kKeeperName);
    char *argv[] = {name.data(), nullptr};
    // Our own image, whatever the folder it came from holds now and whoever can write there.
    pid_t pid = 0;
    const int spawned =
        posix_spawn(&pid, "/proc/self/exe", &actions, &attributes, argv, environment.data());
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
    if (!clipboard->ownsClipboard() || clipboardManagerRuns())
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

bool startedAsClipboardKeeper()
{
    if (!std::getenv(kKeeperMark))
        return false;
    unsetenv(kKeeperMark);
    struct stat input {};
    return fstat(STDIN_FILENO, &input) == 0 && S_ISFIFO(input.st_mode);
}

int runClipboardKeeper(int argc, char *argv[])
{
    setsid(); // outlive the terminal or session that started the program
    prctl(PR_SET_NAME, kKeeperName);

    QByteArray text;
    char buffer[65536];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, stdin)) > 0)
        text.append(buffer, qsizetype(n));

    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->setText(QString::fromUtf8(text));
    if (!clipboard->ownsClipboard())
        return 1;
    QObject::connect(clipboard, &QClipboard::changed, &app, [clipboard](QClipboard::Mode mode) {
        if (mode == QClipboard::Clipboard && !clipboard->ownsClipboard())
            QCoreApplication::quit();
    });
    return QGuiApplication::exec();
}

#else

void keepClipboardAfterExit() {}

bool startedAsClipboardKeeper()
{
    return false;
}

int runClipboardKeeper(int, char *[])
{
    return 1;
}

#endif

} // namespace mirthkey
