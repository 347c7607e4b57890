// SPDX-License-Identifier: GPL-3.0-or-later
// What the start-up tests share: start-up run on a window of its own, and the names it is
// given for a program file (tst_startup.cpp, and the cases only one system has in
// tst_startup_windows.cpp, tst_startup_posix.cpp).
#pragma once

#include "BlinkingLabel.h"
#include "BuildInfo.h"
#include "Colors.h"
#include "ProgramFile.h"
#include "ScriptedPlatform.h"
#include "Startup.h"
#include "TypewriterLabel.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QWidget>

namespace mirthkey::test {

// The caption for a year, with the version the build gives the program: 1.2.0.65 is
// "V1.2.0 Build 65".
inline QString captionOf(int year)
{
    return QStringLiteral("Mirthkey%1  V%2.%3.%4 Build %5")
        .arg(year)
        .arg(build::kVersionMajor)
        .arg(build::kVersionMinor)
        .arg(build::kVersionPatch)
        .arg(build::kVersionBuild);
}

struct StartupRun {
    QString caption;
    QString typed;
    bool authorRedAndBold;
};

inline StartupRun startFrom(const NativePath &folder, const NativePath &name, QDate today)
{
    ScriptedPlatform platform;
    platform.date = today;
    QWidget form;
    TypewriterLabel typewriter(QStringLiteral("label1"), &form);
    // The author as a blink and a changed font would leave it: start-up's step shows.
    BlinkingLabel author(QStringLiteral("乐键小匠"), &form);
    author.step();
    QFont regular = author.font();
    regular.setBold(false);
    author.setFont(regular);
    startUp(form, typewriter, author, platform, folder, name);
    return {form.windowTitle(), typewriter.text(),
            foreColor(author) == ColorValue::Red && author.font().bold()};
}

// The program itself, built with its version record.
inline QFileInfo programFile()
{
    return QFileInfo(QStringLiteral(MIRTHKEY_EXE));
}

// A program file's name on this system: with ".exe" on Windows (the build's suffix for
// executables).
inline QString executable(const QString &name)
{
    return name + QStringLiteral(MIRTHKEY_EXE_SUFFIX);
}

// The folder and the name start-up is given for a program file, as the platform names
// them: on Windows with native separators and no ".exe".
inline NativePath folderOf(const QFileInfo &file)
{
    return QDir::toNativeSeparators(file.absolutePath());
}
inline NativePath nameOf(const QFileInfo &file)
{
    return file.fileName().chopped(qsizetype(sizeof(MIRTHKEY_EXE_SUFFIX)) - 1);
}

} // namespace mirthkey::test
