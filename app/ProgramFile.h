// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

namespace mirthkey {

// A file name in the platform's own encoding. On Linux file names are bytes, and a folder
// name need not be valid UTF-8, so they stay bytes until they are shown; on Windows they
// are UTF-16.
#ifdef Q_OS_WIN
using NativePath = QString;
#else
using NativePath = QByteArray;
#endif

// The folder that holds the running program's file.
NativePath programFolder();

// The running program's file name without its folder; on Windows without ".exe".
NativePath executableName();

// The program's own file found again from its folder and name: folder, separator,
// name, and ".exe" on Windows.
NativePath ownExecutablePath(const NativePath &folder, const NativePath &name);

// A file name as the user reads it.
QString displayName(const NativePath &name);

} // namespace mirthkey
