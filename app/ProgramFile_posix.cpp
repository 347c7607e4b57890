// SPDX-License-Identifier: GPL-3.0-or-later
// The program's file on Linux: names are bytes.
#include "ProgramFile.h"

#include <QFile>
#include <unistd.h>

namespace mirthkey {

struct NativePathAccess {
    static NativePath make(QByteArray bytes)
    {
        NativePath path;
        path.m_native = std::move(bytes);
        return path;
    }
    static const QByteArray &bytes(const NativePath &path) { return path.m_native; }
};

namespace {

// The bytes of the running program's path. Qt's own answer decodes them as UTF-8 and comes
// back empty when that names no existing file, so the link is read here.
QByteArray readProgramPath()
{
    QByteArray path(256, Qt::Uninitialized);
    for (;;) {
        const ssize_t n = readlink("/proc/self/exe", path.data(), size_t(path.size()));
        if (n < 0)
            return {};
        if (n < path.size()) {
            path.truncate(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

// Once the file is replaced or removed, the link reads "<path> (deleted)".
const QByteArray &programPath()
{
    static const QByteArray path = readProgramPath();
    return path;
}

} // namespace

NativePath::NativePath(const QString &name) : m_native(QFile::encodeName(name)) {}

NativePath NativePath::fromBytes(const QByteArray &bytes)
{
    return NativePathAccess::make(bytes);
}

QString NativePath::display() const
{
    return QFile::decodeName(m_native);
}

std::string NativePath::toStdString() const
{
    return m_native.toStdString();
}

NativePath programFolder()
{
    const QByteArray &path = programPath();
    const qsizetype slash = path.lastIndexOf('/');
    return NativePath::fromBytes(slash <= 0 ? QByteArray("/") : path.left(slash));
}

NativePath executableName()
{
    const QByteArray &path = programPath();
    return NativePath::fromBytes(path.mid(path.lastIndexOf('/') + 1));
}

NativePath ownExecutablePath(const NativePath &folder, const NativePath &name)
{
    return NativePath::fromBytes(NativePathAccess::bytes(folder) + '/' +
                                 NativePathAccess::bytes(name));
}

} // namespace mirthkey
