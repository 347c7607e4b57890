// SPDX-License-Identifier: GPL-3.0-or-later
// GB18030 read back on POSIX systems: through the C library's iconv.
#include "TextFiles.h"

#include <QSysInfo>
#include <iconv.h>

namespace mirthkey::test {

QString fromGb18030(const QByteArray &bytes)
{
    iconv_t cd = iconv_open(QSysInfo::ByteOrder == QSysInfo::LittleEndian ? "UTF-16LE" : "UTF-16BE",
                            "GB18030");
    QString text(bytes.size(), Qt::Uninitialized);
    char *in = const_cast<char *>(bytes.data());
    size_t inLeft = size_t(bytes.size());
    char *out = reinterpret_cast<char *>(text.data());
    size_t outLeft = size_t(text.size()) * 2;
    const bool ok = iconv(cd, &in, &inLeft, &out, &outLeft) != size_t(-1);
    iconv_close(cd);
    text.truncate(ok ? qsizetype(text.size() - outLeft / 2) : 0);
    return text;
}

} // namespace mirthkey::test
