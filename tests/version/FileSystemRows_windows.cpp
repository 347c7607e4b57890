// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileSystemRows.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <utility>
#include <windows.h>

namespace versiontest {

void addSystemFileRows(const QString &folder)
{
    const QDir dir(folder);
    // Names are case-blind; hidden and system files count as missing.
    QTest::newRow("different case") << "FS.exe" << true;
    for (const auto &[name, attribute] :
         {std::pair{"hidden.exe", FILE_ATTRIBUTE_HIDDEN}, {"system.exe", FILE_ATTRIBUTE_SYSTEM}}) {
        QFile::copy(dir.filePath("fs.exe"), dir.filePath(name));
        SetFileAttributesW(reinterpret_cast<LPCWSTR>(dir.filePath(name).utf16()), attribute);
    }
    QTest::newRow("hidden file") << "hidden.exe" << false;
    QTest::newRow("system file") << "system.exe" << false;
}

} // namespace versiontest
