// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace mirthkey::test {

// Makes `name` a symbolic link holding `target` (a name beside the link, or a Unix path).
// Under Wine, which makes no links itself, a Unix program makes it, so it is a Unix link
// as a user makes one. False where no link can be made (Windows without Wine).
bool makeSymbolicLink(const QString &target, const QString &name);

// Whether both names reach one and the same file.
bool sameFile(const QString &a, const QString &b);

} // namespace mirthkey::test
