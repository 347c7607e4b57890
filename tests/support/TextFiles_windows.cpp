// SPDX-License-Identifier: GPL-3.0-or-later
// GB18030 read back on Windows: through code page 54936, or the program's own table where
// the system lacks it.
#include "Gb18030Table.h"
#include "TextFiles.h"

#include <QHash>
#include <windows.h>

namespace mirthkey::test {

namespace {

// GB18030 bytes back to text with the program's own table, read backwards, where the
// system has no converter (Wine lacks code page 54936). The table itself is checked
// against the C library by the Linux tests.
QString decodeWithTable(const QByteArray &bytes)
{
    static const QHash<QByteArray, char32_t> points = [] {
        QHash<QByteArray, char32_t> all;
        for (char32_t unit = 0x80; unit <= 0xFFFF; ++unit) {
            if (unit >= 0xD800 && unit <= 0xDFFF)
                continue;
            const char16_t c = char16_t(unit);
            QByteArray code;
            gb18030::encodeWithTable(QStringView(&c, 1), code);
            // Where a private-use character kept the code of a standard one, the
            // standard character is what the code means.
            const bool privateUse = c >= 0xE000 && c <= 0xF8FF;
            if (!privateUse || !all.contains(code))
                all.insert(code, c);
        }
        // A few ideographs of the second plane took such codes too.
        for (char32_t point = 0x20000; point <= 0x2FFFF; ++point) {
            QByteArray code;
            gb18030::encodeWithTable(QString::fromUcs4(&point, 1), code);
            if (code.size() == 2)
                all.insert(code, point);
        }
        return all;
    }();
    QString text;
    for (qsizetype i = 0; i < bytes.size();) {
        const auto byte = [&](qsizetype at) { return at < bytes.size() ? uchar(bytes[at]) : 0; };
        if (byte(i) < 0x80) {
            text.append(QChar(byte(i++)));
            continue;
        }
        const qsizetype length = byte(i + 1) >= 0x30 && byte(i + 1) <= 0x39 ? 4 : 2;
        const QByteArray code = bytes.mid(i, length);
        i += length;
        const uint number = ((uint(byte(i - 4)) - 0x81) * 10 + (uint(byte(i - 3)) - 0x30)) * 1260 +
                            (uint(byte(i - 2)) - 0x81) * 10 + (uint(byte(i - 1)) - 0x30);
        if (length == 4 && code.size() == 4 && number >= 189000 && number < 189000 + 0x100000) {
            text.append(QChar::fromUcs4(0x10000 + (number - 189000)));
        } else if (const auto found = points.constFind(code); found != points.constEnd()) {
            text.append(QChar::fromUcs4(*found)); // fromUcs4 of a string drops U+FEFF
        } else {
            return QString();
        }
    }
    return text;
}

} // namespace

QString fromGb18030(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return QString();
    if (!IsValidCodePage(54936))
        return decodeWithTable(bytes);
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

} // namespace mirthkey::test
