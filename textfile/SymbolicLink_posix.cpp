// SPDX-License-Identifier: GPL-3.0-or-later
#include "SymbolicLink.h"

#include <QFileInfo>

namespace mirthkey {

bool isDanglingLink(const QString &path)
{
    const QFileInfo name(path);
    return name.isSymbolicLink() && !name.exists();
}

} // namespace mirthkey
