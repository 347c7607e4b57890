// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers shared by the version tests: external programs, and the files of the other tests.
#pragma once

#include "Files.h"

#include <QDebug>
#include <QProcess>

namespace versiontest {

using mirthkey::test::contents;
using mirthkey::test::write;

// Runs program to completion; true on exit code 0. Its standard output goes to *output.
inline bool run(const QString &program, const QStringList &arguments, QByteArray *output = nullptr)
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
