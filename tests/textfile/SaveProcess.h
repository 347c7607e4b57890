// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>
#include <sys/types.h>

namespace mirthkey::test {

struct Account {
    uid_t uid;
    gid_t gid;
};

// The user "nobody", when this process runs as root and may switch to it.
std::optional<Account> nobody();

// Starts a child process that saves `text` to `path`, as `user` when given, and ends with
// 0 when it saved, 1 when it gave a reason (written to `reasonFd` when that is open) and
// 2 when it could not switch users.
pid_t startSave(const QString &path, const QString &text, std::optional<Account> user = {},
                int reasonFd = -1);

// Saves as `user` in a child process: the reason, or nothing when it saved.
std::optional<QString> saveAs(Account user, const QString &path, const QString &text);

} // namespace mirthkey::test
