// SPDX-License-Identifier: GPL-3.0-or-later
// The program's file on Windows: names are UTF-16 text with backslashes.
#include "ProgramFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace mirthkey {

struct NativePathAccess {
    static QString text(const NativePath &path)
    {
        return QString(reinterpret_cast<const QChar *>(path.m_native.constData()),
                       path.m_native.size() / qsizetype(sizeof(QChar)));
    }
};

namespace {

const QString &programPath()
{
    static const QString path = QDir::toNativeSeparators(QCoreApplication::applicationFilePath());
    return path;
}

} // namespace

NativePath::NativePath(const QString &name)
    : m_native(reinterpret_cast<const char *>(name.utf16()), name.size() * qsizetype(sizeof(QChar)))
{}

NativePath NativePath::fromBytes(const QByteArray &bytes)
{
    return NativePath(QString::fromUtf8(bytes));
}

QString NativePath::display() const
{
    return NativePathAccess::text(*this);
}

std::string NativePath::toStdString() const
{
    return display().toStdString();
}

NativePath programFolder()
{
    // With backslashes; a drive's root folder ends in one ("C:\").
    return QFileInfo(programPath()).absolutePath().replace(u'/', u'\\');
}

NativePath executableName()
{
    // The file name without its extension, whatever the extension ("mk.bin" is "mk").
    return QFileInfo(programPath()).completeBaseName();
}

NativePath ownExecutablePath(const NativePath &folder, const NativePath &name)
{
    return NativePathAccess::text(folder) + u'\\' + NativePathAccess::text(name) +
           QLatin1String(".exe");
}

} // namespace mirthkey
