// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SystemCalls_posix.h"

#include <QByteArray>

namespace mirthkey::posix {

// A synced copy of a file's content, kept while the file is written in place, so that a
// crash or a failure half way never leaves the old text only in part. It is named
// "<name>.mirthkey-backup" (or "<name>.mirthkey-backup-2" and on when that is taken),
// beside the file where its folder takes new files and has room for them, in the user's
// cache folder ($XDG_CACHE_HOME/mirthkey, ~/.cache/mirthkey) otherwise, and in $TMPDIR or
// /tmp for a user without a home. The name appears only once the copy is complete, where the file
// system allows it.
class Backup {
public:
    // Copies the content of `file`, whose final name is `name` (empty when unknown).
    // False with errno set when no copy could be kept.
    bool make(int file, const QByteArray &name);
    // Puts the kept content back into `file` and syncs it.
    bool restoreInto(int file) const;
    // Removes the copy: the new content is safe on the disk.
    void remove();

private:
    bool makeIn(const QByteArray &folder, int file, const QByteArray &base);

    Descriptor m_copy;
    Descriptor m_folder;
    QByteArray m_name; // in m_folder
};

} // namespace mirthkey::posix
