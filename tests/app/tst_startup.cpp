// Start-up (the caption from the program's own version, the first typewriter step, the
// author label) and the question asked before the window closes.
#include "Application.h"
#include "CompositionBox.h"
#include "ForeColor.h"
#include "Form2.h"
#include "ProgramFile.h"
#include "ScriptedPlatform.h"
#include "Startup.h"

#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace mirthkey;

class TestStartup : public QObject {
    Q_OBJECT
    const QFileInfo program{QStringLiteral(MIRTHKEY_EXE)};

    struct Run {
        QString caption;
        QString label1;
        bool label3RedAndBold;
    };

    Run startFrom(const QString &folder, const QString &name, QDate today)
    {
        test::ScriptedPlatform platform;
        platform.date = today;
        QWidget form;
        QLabel label1(&form);
        QLabel label3(&form);
        int typed = 0;
        startUp(form, label1, label3, typed, platform, folder, name);
        return {form.windowTitle(), label1.text(),
                foreColor(label3) == kRedValue && label3.font().bold()};
    }

private slots:
    void initTestCase() { installProgramFont(); }

    void captionFromTheProgramsOwnVersion_data()
    {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QString>("caption");
        QTest::newRow("2026") << QDate(2026, 12, 8) << "Mirthkey2026  V1.2.0 Build 65";
        QTest::newRow("1999") << QDate(1999, 1, 1) << "Mirthkey1999  V1.2.0 Build 65";
    }

    void captionFromTheProgramsOwnVersion()
    {
        QFETCH(QDate, today);
        QFETCH(QString, caption);
        const Run run = startFrom(program.absolutePath(), program.fileName(), today);
        QCOMPARE(run.caption, caption);
        QCOMPARE(run.label1, QStringLiteral("程|"));
        QVERIFY(run.label3RedAndBold);
    }

    void unreadableVersionLeavesTheCaptionEmpty()
    {
        QTemporaryDir dir;
        const QString stripped = dir.filePath(QStringLiteral("mirthkey"));
        QCOMPARE(QProcess::execute(QStringLiteral("objcopy"),
                                   {QStringLiteral("--remove-section=.mirthkey_version"),
                                    program.absoluteFilePath(), stripped}),
                 0);
        for (const QString &name : {QStringLiteral("mirthkey"), QStringLiteral("missing")}) {
            const Run run = startFrom(dir.path(), name, QDate(2026, 1, 1));
            QVERIFY(run.caption.isEmpty());
            QCOMPARE(run.label1, QStringLiteral("程|"));
            QVERIFY(run.label3RedAndBold);
        }
    }

    void theOwnFileIsFolderSlashName()
    {
        QCOMPARE(ownExecutablePath(QStringLiteral("/opt/x"), QStringLiteral("mirthkey")),
                 QStringLiteral("/opt/x/mirthkey"));
        // The test program stands in for a renamed executable.
        QCOMPARE(executableName(), QStringLiteral("app_startup"));
    }

    void closeAsksAndOnlyYesCloses()
    {
        test::ScriptedPlatform platform;
        Form2 form(platform);
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
