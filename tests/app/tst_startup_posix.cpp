// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up on Linux and other POSIX systems: the program file by folder and name, the name
// taken once while the file may go, and folder names that are bytes.
#include "ProgramFile.h"
#include "ProgramFont.h"
#include "StartupTest.h"

#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

using namespace mirthkey;
using namespace mirthkey::test;

class TestStartupPosix : public QObject {
    Q_OBJECT
    const QFileInfo program = programFile();

private slots:
    void initTestCase() { installProgramFont(); }

    void theOwnFileIsFolderSlashName()
    {
        QCOMPARE(ownExecutablePath(QStringLiteral("/opt/x"), QStringLiteral("mirthkey")).display(),
                 QStringLiteral("/opt/x/mirthkey"));
        // The test program stands in for a renamed executable.
        QCOMPARE(executableName().display(), QStringLiteral("app_startup_posix"));
        QCOMPARE(programFolder().display(), QCoreApplication::applicationDirPath());
    }

    void theNameIsTakenOnceAtStartUp()
    {
        // A package upgrade removes the running program's file; the link to it then reads
        // "<path> (deleted)". The test program's own file is moved aside meanwhile.
        const NativePath name = executableName();
        const NativePath folder = programFolder();
        const QByteArray self = QFile::encodeName(QCoreApplication::applicationFilePath());
        const QByteArray aside = self + ".aside";
        QVERIFY(::link(self.constData(), aside.constData()) == 0);
        QVERIFY(::unlink(self.constData()) == 0);
        const NativePath nameAfter = executableName();
        const NativePath folderAfter = programFolder();
        QVERIFY(::rename(aside.constData(), self.constData()) == 0);
        QCOMPARE(nameAfter.display(), name.display());
        QCOMPARE(folderAfter.display(), folder.display());
    }

    void folderNamesAreBytes()
    {
        // A folder whose name is not UTF-8 still finds the program's own version.
        QTemporaryDir dir;
        const QByteArray folder = QFile::encodeName(dir.path()) + "/bad\xff"
                                                                  "dir";
        QVERIFY(::mkdir(folder.constData(), 0700) == 0);
        const QByteArray copy = folder + "/mirthkey";
        // QTemporaryDir walks its folder by QString names and cannot remove one that is not
        // UTF-8: the copy and its folder are removed here, by their bytes.
        const auto removeCopy = qScopeGuard([&] {
            ::unlink(copy.constData());
            ::rmdir(folder.constData());
        });
        QFile original(program.absoluteFilePath());
        QVERIFY(original.open(QIODevice::ReadOnly));
        const QByteArray bytes = original.readAll();
        std::FILE *file = std::fopen(copy.constData(), "wb");
        QVERIFY(file);
        QCOMPARE(std::fwrite(bytes.constData(), 1, size_t(bytes.size()), file),
                 size_t(bytes.size()));
        std::fclose(file);
        const StartupRun run =
            startFrom(NativePath::fromBytes(folder), QStringLiteral("mirthkey"), QDate(2026, 1, 1));
        QCOMPARE(run.caption, captionOf(2026));
        QCOMPARE(NativePath::fromBytes("bad\xff"
                                       "name")
                     .display(),
                 QStringLiteral("bad\uFFFDname"));
    }
};

QTEST_MAIN(TestStartupPosix)
#include "tst_startup_posix.moc"
