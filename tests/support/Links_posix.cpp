// SPDX-License-Identifier: GPL-3.0-or-later
#include "Links.h"

#include <QFile>
#include <sys/stat.h>
#include <unistd.h>

namespace mirthkey::test {

bool makeSymbolicLink(const QString &target, const QString &name)
{
    return ::symlink(QFile::encodeName(target).constData(), QFile::encodeName(name).constData()) ==
           0;
}

bool sameFile(const QString &a, const QString &b)
{
    struct stat first {};
    struct stat second {};
    return ::stat(QFile::encodeName(a).constData(), &first) == 0 &&
           ::stat(QFile::encodeName(b).constData(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

} // namespace mirthkey::test
