// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

namespace mirthkey {

// Writes `text` and a final CR LF to `path` in GB18030, in place of what the file held.
// A symbolic link is followed where the system allows it: the file it reaches gets the
// text, the link stays. An existing file keeps its owner, group, permissions, ACLs and
// extended attributes (on Windows its attributes and security descriptor) and every other
// name (hard link) it has; its old content stays whole, in the file or in a backup copy,
// until the new one is complete. Returns the reason, in Simplified Chinese, when the text
// could not be saved.
std::optional<QString> writeTextFile(const QString &path, const QString &text);

} // namespace mirthkey
