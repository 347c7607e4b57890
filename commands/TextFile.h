#pragma once

#include <QString>
#include <optional>

namespace mirthkey {

// Writes `text` and a final CR LF to `path` in GB18030. Nothing at `path` changes until
// the new content is complete; then it replaces the old file, or the file a symbolic
// link points to. Returns the reason, for the user, when that fails.
std::optional<QString> writeTextFile(const QString &path, const QString &text);

} // namespace mirthkey
