// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace mirthkey {

// Whether `path` is a symbolic link that reaches no file. Such a name is in use: a save
// there makes the file the link points to, so it is asked about as a file would be.
bool isDanglingLink(const QString &path);

} // namespace mirthkey
