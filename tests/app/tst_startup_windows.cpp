// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up on Windows: the program file named by its folder and its name without ".exe", in
// the root of a drive, and hidden or system program files.
#include "ProgramFile.h"
#include "ProgramFont.h"
#include "StartupTest.h"

#include <QTemporaryDir>
#include <QtTest>
#include <windows.h>

using namespace mirthkey;
using namespace mirthkey::test;

class TestStartupWindows : public QObject {
    Q_OBJECT
    const QFileInfo program = programFile();

private slots:
    void initTestCase() { installProgramFont(); }

    void theOwnFileIsFolderBackslashNameExe()
    {
        QCOMPARE(ownExecutablePath(QStringLiteral("C:\\x"), QStringLiteral("mirthkey")).display(),
                 QStringLiteral("C:\\x\\mirthkey.exe"));
        // A drive's root folder already ends in a backslash; the doubled one is harmless.
        QCOMPARE(ownExecutablePath(QStringLiteral("C:\\"), QStringLiteral("mirthkey")).display(),
                 QStringLiteral("C:\\\\mirthkey.exe"));
        QCOMPARE(executableName().display(), QStringLiteral("app_startup_windows"));
        QCOMPARE(programFolder().display(),
                 QDir::toNativeSeparators(QCoreApplication::applicationDirPath()));
    }

    void programInTheRootOfADrive()
    {
        // The system drive's root folder ("C:\\"), where Wine lets its user write.
        const QString name =
            QStringLiteral("app_startup_root_%1").arg(QCoreApplication::applicationPid());
        const QString copy = QDir::rootPath() + name + QLatin1String(".exe");
        if (!QFile::copy(program.absoluteFilePath(), copy))
            QSKIP("the root folder of the system drive cannot be written");
        const StartupRun run =
            startFrom(QDir::toNativeSeparators(QDir::rootPath()), name, QDate(2026, 1, 1));
        QFile::remove(copy);
        QCOMPARE(run.caption, captionOf(2026));
    }

    void hiddenOrSystemProgramFileCountsAsMissing()
    {
        QTemporaryDir dir;
        const QFileInfo copy(dir.filePath(program.fileName()));
        QVERIFY(QFile::copy(program.absoluteFilePath(), copy.absoluteFilePath()));
        const std::wstring path = QDir::toNativeSeparators(copy.absoluteFilePath()).toStdWString();
        for (const DWORD attribute : {FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM}) {
            QVERIFY(SetFileAttributesW(path.c_str(), attribute));
            QVERIFY(startFrom(folderOf(copy), nameOf(copy), QDate(2026, 1, 1)).caption.isEmpty());
        }
        QVERIFY(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL));
        QCOMPARE(startFrom(folderOf(copy), nameOf(copy), QDate(2026, 1, 1)).caption,
                 captionOf(2026));
    }
};

QTEST_MAIN(TestStartupWindows)
#include "tst_startup_windows.moc"
