// SPDX-License-Identifier: GPL-3.0-or-later
// What the system records of a name itself (inode, owner, mode), for the POSIX save tests.
#pragma once

#include "Files.h"

#include <sys/stat.h>

namespace mirthkey::test {

// The name's own entry, not that of a file a symbolic link reaches: a save that left a link
// where the file was shows as one. st_ino is 0 when there is no such name.
inline struct stat status(const QString &path)
{
    struct stat entry {};
    if (::lstat(name(path).constData(), &entry) != 0)
        entry.st_ino = 0;
    return entry;
}

} // namespace mirthkey::test
