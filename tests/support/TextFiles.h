// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Files.h"

#include <QByteArray>
#include <QString>

namespace mirthkey::test {

// GB18030 bytes back to text through the system's converter, independent of the
// program's own encoder; an invalid sequence gives an empty text.
QString fromGb18030(const QByteArray &bytes);

} // namespace mirthkey::test
