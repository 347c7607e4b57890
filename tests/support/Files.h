// SPDX-License-Identifier: GPL-3.0-or-later
// Files as the tests make and read them, and the text most saves write; header-only, so the
// version tests, which link no widgets, take it too.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace mirthkey::test {

// A text with a code and a Chinese word, and its bytes in GB18030 with the final CR LF.
inline const QString kNew = QStringLiteral("/wx微笑");
inline const QByteArray kNewBytes = QByteArray::fromHex("2F7778CEA2D0A60D0A");
// What a file held before a save: longer than kNew, so that a save that writes over it
// without cutting it short shows.
inline const QString kOld = QStringLiteral("the old text, longer than the new one\r\n");

// The path in the system's file-name encoding.
inline QByteArray name(const QString &path)
{
    return QFile::encodeName(path);
}

// Makes or overwrites the file with `bytes`; false when that failed.
[[nodiscard]] inline bool write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

// The whole file, or "(missing)" when it cannot be read.
inline QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

} // namespace mirthkey::test
