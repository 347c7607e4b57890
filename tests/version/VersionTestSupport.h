// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers shared by the version tests: files and external programs.
#pragma once

#include <QDebug>
#include <QFile>
#include <QProcess>

namespace versiontest {

inline bool Write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline QByteArray Read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Runs program to completion; true on exit code 0. Its standard output goes to *output.
inline bool Run(const QString &program, const QStringList &arguments, QByteArray *output = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    const bool finished =
        process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit;
    if (output)
        *output = process.readAllStandardOutput();
    if (!finished || process.exitCode() != 0)
        qWarning().noquote() << program << arguments << process.readAllStandardError();
    return finished && process.exitCode() == 0;
}

} // namespace versiontest
