#pragma once

#include <QString>

namespace mirthkey {

// The folder that holds the running program's file.
QString programFolder();

// The running program's file name without its folder; on Windows without ".exe".
QString executableName();

// The program's own file found again from its folder and name: folder, separator,
// name, and ".exe" on Windows.
QString ownExecutablePath(const QString &folder, const QString &name);

} // namespace mirthkey
