// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QStringView>

namespace mirthkey {

// `text` in GB18030, the Chinese national encoding: the bytes of GBK (code page 936)
// for every character GBK has, four-byte sequences for every other character, so
// nothing is lost. A surrogate without its partner cannot be encoded and comes out as
// U+FFFD. No byte-order mark. The same bytes on every system: the program's own table
// (Gb18030Table.h), not the system's converter.
QByteArray toGb18030(QStringView text);

} // namespace mirthkey
