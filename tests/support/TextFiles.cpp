// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextFiles.h"

#include <QFile>
#include <QSysInfo>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace mirthkey::test {

#ifdef Q_OS_WIN

QString fromGb18030(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return QString();
    // Code page 54936 is GB18030; an invalid sequence is an error, not a replacement.
    const int size = MultiByteToWideChar(54936, MB_ERR_INVALID_CHARS, bytes.constData(),
                                         int(bytes.size()), nullptr, 0);
    if (size <= 0)
        return QString();
    QString text(size, Qt::Uninitialized);
    MultiByteToWideChar(54936, MB_ERR_INVALID_CHARS, bytes.constData(), int(bytes.size()),
                        reinterpret_cast<wchar_t *>(text.data()), size);
    return text;
}

#else

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

#endif

bool systemHasGb18030()
{
#ifdef Q_OS_WIN
    return IsValidCodePage(54936);
#else
    return true;
#endif
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

} // namespace mirthkey::test
