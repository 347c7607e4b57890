// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SystemCalls_windows.h"

#include <QString>

namespace mirthkey::windows {

// A flushed copy of the file's content, kept while the file is written in place: beside
// it as "<name>.mirthkey-backup" ("-2" and on when taken), or in
// %LOCALAPPDATA%\mirthkey or %TEMP% when its folder takes no new file or has no room for
// the copy.
class Backup {
public:
    // Copies the content of `file`, whose name is `target`. False with the last error set
    // when no folder took a copy.
    bool make(HANDLE file, const QString &target);
    // Puts the kept content back into `file` and flushes it.
    bool restoreInto(HANDLE file) const { return copyContent(m_copy.get(), file); }
    // Removes the copy: the new content is safe on the disk.
    void remove();

private:
    Handle m_copy;
    QString m_path;
};

} // namespace mirthkey::windows
