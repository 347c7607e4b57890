// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QStringView>
#include <stdexcept>

namespace mirthkey {

// The system's converter to GB18030 is missing or failed.
class EncodingError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// `text` in GB18030, the Chinese national encoding: the bytes of GBK (code page 936)
// for every character GBK has, four-byte sequences for every other character, so
// nothing is lost. A surrogate without its partner cannot be encoded and comes out as
// U+FFFD. No byte-order mark. Throws EncodingError when the system cannot convert.
QByteArray toGb18030(QStringView text);

} // namespace mirthkey
