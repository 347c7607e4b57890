// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

namespace mirthkey::test {

// GB18030 bytes back to text through the system's converter, independent of the
// program's own encoder; an invalid sequence gives an empty text.
QString fromGb18030(const QByteArray &bytes);

// The whole file, or "(missing)" when it cannot be read.
QByteArray contents(const QString &path);

} // namespace mirthkey::test
