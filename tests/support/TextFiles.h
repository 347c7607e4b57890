// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

namespace mirthkey::test {

// GB18030 bytes back to text through the system's converter, independent of the
// program's own encoder; an invalid sequence gives an empty text.
QString fromGb18030(const QByteArray &bytes);

// Whether the system converts to and from GB18030: Windows has it as code page 54936,
// which Wine 8 lacks.
bool systemHasGb18030();

// The whole file, or "(missing)" when it cannot be read.
QByteArray contents(const QString &path);

} // namespace mirthkey::test
