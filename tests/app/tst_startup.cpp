// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up (the caption from the program's own version, the first typewriter step, the
// author label) and the question asked before the window closes.
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
