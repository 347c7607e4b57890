// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up (the caption from the program's own version, the first typewriter step, the
// author label) and the question asked before the window closes.
#include "Application.h"
#include "Colors.h"
#include "CompositionBox.h"
#include "Form2.h"
#include "ProgramFile.h"
#include "ProgramFont.h"
#include "ScriptedPlatform.h"
#include "Startup.h"
#include "TypewriterLabel.h"

#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>
#include <sys/stat.h>

using namespace mirthkey;

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
        QLabel author(&form);
        startUp(form, typewriter, author, platform, folder, name);
        return {form.windowTitle(), typewriter.text(),
                foreColor(author) == ColorValue::Red && author.font().bold()};
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
        const Run run = startFrom(QFile::encodeName(program.absolutePath()),
                                  QFile::encodeName(program.fileName()), today);
        QCOMPARE(run.caption, caption);
        QCOMPARE(run.typed, QStringLiteral("程|"));
        QVERIFY(run.authorRedAndBold);
    }

    void unreadableVersionLeavesTheCaptionEmpty()
    {
        QTemporaryDir dir;
        const QString stripped = dir.filePath(QStringLiteral("mirthkey"));
        QCOMPARE(QProcess::execute(QStringLiteral("objcopy"),
                                   {QStringLiteral("--remove-section=.mirthkey_version"),
                                    program.absoluteFilePath(), stripped}),
                 0);
        for (const QByteArray &name : {QByteArray("mirthkey"), QByteArray("missing")}) {
            const Run run = startFrom(QFile::encodeName(dir.path()), name, QDate(2026, 1, 1));
            QVERIFY(run.caption.isEmpty());
            QCOMPARE(run.typed, QStringLiteral("程|"));
            QVERIFY(run.authorRedAndBold);
        }
    }

    void theOwnFileIsFolderSlashName()
    {
        QCOMPARE(ownExecutablePath("/opt/x", "mirthkey"), QByteArray("/opt/x/mirthkey"));
        // The test program stands in for a renamed executable.
        QCOMPARE(executableName(), QByteArray("app_startup"));
        QCOMPARE(programFolder(), QFile::encodeName(QCoreApplication::applicationDirPath()));
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
        const Run run = startFrom(folder, "mirthkey", QDate(2026, 1, 1));
        QCOMPARE(run.caption, QStringLiteral("Mirthkey2026  V1.2.0 Build 65"));
        QCOMPARE(displayName("bad\xff"
                             "name"),
                 QStringLiteral("bad\uFFFDname"));
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
