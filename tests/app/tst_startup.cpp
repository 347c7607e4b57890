// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up (the settings the toolkit starts with, the caption from the program's own
// version, the first typewriter step, the author label) and the question asked before the
// window closes.
#include "Application.h"
#include "CompositionBox.h"
#include "MainWindow.h"
#include "ProgramFont.h"
#include "ScriptedPlatform.h"
#include "StartupTest.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace mirthkey;
using namespace mirthkey::test;

class TestStartup : public QObject {
    Q_OBJECT
    const QFileInfo program = programFile();

private slots:
    void initTestCase() { installProgramFont(); }

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
        const StartupRun run = startFrom(folderOf(program), nameOf(program), today);
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
            const StartupRun run = startFrom(folderOf(file), nameOf(file), QDate(2026, 1, 1));
            QVERIFY(run.caption.isEmpty());
            QCOMPARE(run.typed, QStringLiteral("程|"));
            QVERIFY(run.authorRedAndBold);
        }
    }

    void closeAsksAndOnlyYesCloses()
    {
        ScriptedPlatform platform;
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
