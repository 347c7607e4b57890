// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

namespace mirthkey {

// Writes `text` and a final CR LF to `path` in GB18030, in place of what the file held.
// A symbolic link is followed: the file it points to gets the text, the link stays. An
// existing file keeps its owner, group, permissions and every other name (hard link) it
// has, and, wherever that can be arranged, its old content until the new one is complete.
// Returns the reason, in Simplified Chinese, when the text could not be saved.
std::optional<QString> writeTextFile(const QString &path, const QString &text);

} // namespace mirthkey
