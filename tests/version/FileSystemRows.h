// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace versiontest {

// Adds the rows of the file-system test that only this system has (the columns "name" and
// "readable"), with the files they need, in `folder`, which holds "fs.exe" with version
// 1.2.0.65 already. One file per system: FileSystemRows_windows.cpp,
// FileSystemRows_posix.cpp.
void addSystemFileRows(const QString &folder);

} // namespace versiontest
