// SPDX-License-Identifier: GPL-3.0-or-later
#include "SaveProcess.h"

#include "TextFile.h"

#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

namespace mirthkey::test {

std::optional<Account> nobody()
{
    const passwd *entry = ::getpwnam("nobody");
    if (::geteuid() != 0 || entry == nullptr)
        return std::nullopt;
    return Account{entry->pw_uid, entry->pw_gid};
}

pid_t startSave(const QString &path, const QString &text, std::optional<Account> user, int reasonFd)
{
    const pid_t child = ::fork();
    if (child != 0)
        return child;
    if (user &&
        (::setgroups(0, nullptr) != 0 || ::setgid(user->gid) != 0 || ::setuid(user->uid) != 0))
        ::_exit(2);
    const std::optional<QString> failure = writeTextFile(path, text);
    const QByteArray reason = failure ? failure->toUtf8() : QByteArray();
    if (reasonFd >= 0 &&
        ::write(reasonFd, reason.constData(), size_t(reason.size())) != ssize_t(reason.size()))
        ::_exit(2);
    ::_exit(failure ? 1 : 0);
}

std::optional<QString> saveAs(Account user, const QString &path, const QString &text)
{
    int channel[2];
    if (::pipe(channel) != 0)
        return QStringLiteral("(no pipe)");
    const pid_t child = startSave(path, text, user, channel[1]);
    ::close(channel[1]);
    QByteArray reason;
    char buffer[256];
    for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;)
        reason.append(buffer, n);
    ::close(channel[0]);
    int result = -1;
    ::waitpid(child, &result, 0);
    if (!WIFEXITED(result) || WEXITSTATUS(result) > 1)
        return QStringLiteral("(the child could not switch users)");
    return WEXITSTATUS(result) == 0 ? std::nullopt : std::optional(QString::fromUtf8(reason));
}

} // namespace mirthkey::test
