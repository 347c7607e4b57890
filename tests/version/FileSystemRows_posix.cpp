// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileSystemRows.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <sys/stat.h>

namespace versiontest {

void addSystemFileRows(const QString &folder)
{
    const QDir dir(folder);
    QFile::link(dir.filePath("fs.exe"), dir.filePath("link.exe"));
    QFile::link(dir.filePath("folder.exe"), dir.filePath("folder-link.exe"));
    QFile::link(dir.filePath("gone.exe"), dir.filePath("dangling.exe"));
    ::mkfifo(QFile::encodeName(dir.filePath("pipe.exe")).constData(), 0600);
    QTest::newRow("different case") << "FS.exe" << false;
    QTest::newRow("link to file") << "link.exe" << true;
    QTest::newRow("link to directory") << "folder-link.exe" << false;
    QTest::newRow("dangling link") << "dangling.exe" << false;
    QTest::newRow("FIFO") << "pipe.exe" << false;
}

} // namespace versiontest
