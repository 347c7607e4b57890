// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up (the settings the toolkit starts with, the caption from the program's own
// version, the first typewriter step, the author label) and the question asked before the
// window closes.
#include "Application.h"
#include "BlinkingLabel.h"
#include "BuildInfo.h"
#include "Colors.h"
#include "CompositionBox.h"
#include "MainWindow.h"
#include "ProgramFile.h"
#include "ProgramFont.h"
#include "ScriptedPlatform.h"
#include "Startup.h"
#include "TypewriterLabel.h"

#include <QFileInfo>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace mirthkey;

namespace {

// The caption for a year, with the version the build gives the program: 1.2.0.65 is
// "V1.2.0 Build 65".
QString captionOf(int year)
{
    return QStringLiteral("Mirthkey%1  V%2.%3.%4 Build %5")
        .arg(year)
        .arg(build::kVersionMajor)
        .arg(build::kVersionMinor)
        .arg(build::kVersionPatch)
        .arg(build::kVersionBuild);
}

} // namespace

class TestStartup : public QObject {
    Q_OBJECT
    const QFileInfo program{QStringLiteral(MIRTHKEY_EXE)};

    struct Run {
        QString caption;
        QString typed;
        bool authorRedAndBold;
    };

    Run startFrom(const NativePath &folder, const NativePath &name, QDate today)
    {
        test::ScriptedPlatform platform;
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

    // The folder and the name start-up is given for a program file, as the platform
    // names them: on Windows with native separators and no ".exe".
    static NativePath folderOf(const QFileInfo &file)
    {
        return QDir::toNativeSeparators(file.absolutePath());
    }
    static NativePath nameOf(const QFileInfo &file)
    {
#ifdef Q_OS_WIN
        return file.completeBaseName();
#else
        return file.fileName();
#endif
    }
    static QString executable(const QString &name)
    {
#ifdef Q_OS_WIN
        return name + QLatin1String(".exe");
#else
        return name;
#endif
    }

private slots:
    void initTestCase()
    {
        installProgramFont();
    }

    void toolkitSettingsOnlyWhileTheApplicationIsMade_data()
    {
        // The environment before: DISPLAY, QT_QPA_PLATFORM, QT_XCB_NO_MITSHM (empty: unset);
        // what the application object is made with.
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("during");
        QTest::newRow("X display") << QStringList{":5", "", ""} << QStringList{":5", "xcb", "1"};
        QTest::newRow("no display") << QStringList{"", "", ""} << QStringList{"", "", "1"};
        QTest::newRow("platform chosen")
            << QStringList{":5", "wayland", ""} << QStringList{":5", "wayland", "1"};
        QTest::newRow("shared memory chosen")
            << QStringList{":5", "", "0"} << QStringList{":5", "xcb", "0"};
    }

    void toolkitSettingsOnlyWhileTheApplicationIsMade()
    {
        // What is set for the toolkit is taken back once the application object is made:
        // the programs started from the window (links, the clipboard keeper) find the
        // environment the program was started with.
        QFETCH(QStringList, before);
        QFETCH(QStringList, during);
        const char *const names[] = {"DISPLAY", "QT_QPA_PLATFORM", "QT_XCB_NO_MITSHM"};
        const auto read = [&names] {
            QStringList values;
            for (const char *name : names)
                values << qEnvironmentVariable(name);
            return values;
        };
        const auto write = [&names](const QStringList &values) {
            for (int i = 0; i < 3; ++i) {
                if (values[i].isEmpty())
                    qunsetenv(names[i]);
                else
                    qputenv(names[i], values[i].toLocal8Bit());
            }
        };
        const QStringList saved = read();
        write(before);
        chooseWindowSystem();
        const QStringList chosen = read();
        leaveWindowSystemChoice();
        const QStringList after = read();
        write(saved);
        QCOMPARE(chosen, during);
        QCOMPARE(after, before);
    }

    void captionFromTheProgramsOwnVersion_data()
    {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QString>("caption");
        QTest::newRow("2026") << QDate(2026, 12, 8) << captionOf(2026);
        QTest::newRow("1999") << QDate(1999, 1, 1) << captionOf(1999);
    }

    void captionFromTheProgramsOwnVersion()
    {
        QFETCH(QDate, today);
        QFETCH(QString, caption);
        const Run run = startFrom(folderOf(program), nameOf(program), today);
        QCOMPARE(run.caption, caption);
        QCOMPARE(run.typed, QStringLiteral("程|"));
        QVERIFY(run.authorRedAndBold);
    }

    void unreadableVersionLeavesTheCaptionEmpty()
    {
        // The test program has no version record; a program without one, or no program
        // at all, gives no caption.
        QTemporaryDir dir;
        QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(),
                            dir.filePath(executable(QStringLiteral("mirthkey")))));
        for (const QString &name : {QStringLiteral("mirthkey"), QStringLiteral("missing")}) {
            const QFileInfo file(dir.filePath(executable(name)));
            const Run run = startFrom(folderOf(file), nameOf(file), QDate(2026, 1, 1));
            QVERIFY(run.caption.isEmpty());
            QCOMPARE(run.typed, QStringLiteral("程|"));
            QVERIFY(run.authorRedAndBold);
        }
    }

#ifdef Q_OS_WIN
    void theOwnFileIsFolderBackslashNameExe()
    {
        QCOMPARE(ownExecutablePath(QStringLiteral("C:\\x"), QStringLiteral("mirthkey")).display(),
                 QStringLiteral("C:\\x\\mirthkey.exe"));
        // A drive's root folder already ends in a backslash; the doubled one is harmless.
        QCOMPARE(ownExecutablePath(QStringLiteral("C:\\"), QStringLiteral("mirthkey")).display(),
                 QStringLiteral("C:\\\\mirthkey.exe"));
        QCOMPARE(executableName().display(), QStringLiteral("app_startup"));
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
        const Run run =
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
#else
    void theOwnFileIsFolderSlashName()
    {
        QCOMPARE(ownExecutablePath(QStringLiteral("/opt/x"), QStringLiteral("mirthkey")).display(),
                 QStringLiteral("/opt/x/mirthkey"));
        // The test program stands in for a renamed executable.
        QCOMPARE(executableName().display(), QStringLiteral("app_startup"));
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
        QFile original(program.absoluteFilePath());
        QVERIFY(original.open(QIODevice::ReadOnly));
        const QByteArray bytes = original.readAll();
        std::FILE *file = std::fopen(copy.constData(), "wb");
        QVERIFY(file);
        QCOMPARE(std::fwrite(bytes.constData(), 1, size_t(bytes.size()), file),
                 size_t(bytes.size()));
        std::fclose(file);
        const Run run =
            startFrom(NativePath::fromBytes(folder), QStringLiteral("mirthkey"), QDate(2026, 1, 1));
        QCOMPARE(run.caption, captionOf(2026));
        QCOMPARE(NativePath::fromBytes("bad\xff"
                                       "name")
                     .display(),
                 QStringLiteral("bad\uFFFDname"));
    }
#endif

    void closeAsksAndOnlyYesCloses()
    {
        test::ScriptedPlatform platform;
        MainWindow form(platform);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.composition().setText(QStringLiteral("/wx/se"));

        platform.answers = {Answer::No, Answer::No, Answer::Yes};
        QVERIFY(!form.close());
        QVERIFY(form.isVisible());
        QCOMPARE(form.composition().text(), QStringLiteral("/wx/se"));
        QCOMPARE(platform.calls, (QStringList{"beep", "messageBox"}));
        const auto &question = platform.messageBoxes.constFirst();
        QCOMPARE(question.prompt, QStringLiteral("是否要退出正在运行的\r\n   app_startup？"));
        QCOMPARE(question.icon, Icon::Question);
        QCOMPARE(question.buttons, Buttons::YesNo);
        QCOMPARE(question.caption, QStringLiteral("系统询问"));

        QVERIFY(!form.close()); // asked again, answered No again
        QVERIFY(form.close());
        QVERIFY(!form.isVisible());
        QCOMPARE(platform.calls.count(QStringLiteral("beep")), 3);
        QCOMPARE(platform.messageBoxes.size(), 3);
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
