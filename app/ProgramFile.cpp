// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProgramFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

namespace mirthkey {

namespace {

#ifndef Q_OS_WIN
// The bytes of the running program's path. Qt's own answer decodes them as UTF-8 and comes
// back empty when that names no existing file, so the link is read here.
QByteArray programPath()
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
#endif

} // namespace

NativePath programFolder()
{
#ifdef Q_OS_WIN
    // With backslashes; a drive's root folder ends in one ("C:\\").
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
#else
    const QByteArray path = programPath();
    const qsizetype slash = path.lastIndexOf('/');
    return slash <= 0 ? QByteArray("/") : path.left(slash);
#endif
}

NativePath executableName()
{
#ifdef Q_OS_WIN
    QString name = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    if (name.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive))
        name.chop(4);
    return name;
#else
    const QByteArray path = programPath();
    return path.mid(path.lastIndexOf('/') + 1);
#endif
}

NativePath ownExecutablePath(const NativePath &folder, const NativePath &name)
{
#ifdef Q_OS_WIN
    return folder + u'\\' + name + QLatin1String(".exe");
#else
    return folder + '/' + name;
#endif
}

QString displayName(const NativePath &name)
{
#ifdef Q_OS_WIN
    return name;
#else
    return QFile::decodeName(name);
#endif
}

} // namespace mirthkey
