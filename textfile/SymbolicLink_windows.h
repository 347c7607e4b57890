// SPDX-License-Identifier: GPL-3.0-or-later
// Symbolic links as the Windows program meets them. Windows itself shows a link as a
// reparse point. Wine (8 at least) shows a Unix symbolic link as the file it reaches, with
// no reparse point and one name, and one that reaches nothing as no file at all; replacing
// such a name the Windows way would put a file in the place of the link, or delete the
// file the link reaches (Wine's ReplaceFileW and DeleteFileW act on that file). Here Wine
// is asked what it does not show.
#pragma once

#include <QString>
#include <windows.h>

namespace mirthkey::windows {

// Whether the program runs under Wine.
bool underWine();

// The full name of the open `file`, every link followed, as a Qt path; empty when the
// system does not tell it.
QString finalPath(HANDLE file);

// Whether the open `file` was reached through a Unix symbolic link at the last part of
// `path`, the name it was opened by. False outside Wine; true where Wine leaves it in
// doubt, since writing through a link is safe for a plain file too.
bool reachedThroughUnixLink(HANDLE file, const QString &path);

// Whether `path` is a Unix symbolic link that reaches no file, under Wine: its folder
// lists the name, but Wine shows no file there.
bool isHiddenUnixLink(const QString &path);

} // namespace mirthkey::windows
