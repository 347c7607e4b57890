// SPDX-License-Identifier: GPL-3.0-or-later
// Save on Linux and other POSIX systems: a replaced file keeps its mode and the link to it,
// paths that cannot be written (devices, pipes, /proc), and a write stopped half way.
#include "CompositionBox.h"
#include "Links.h"
#include "MainWindow.h"
#include "SaveTest.h"

#include <QPushButton>
#include <QtTest>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace mirthkey;
using test::contents;
using test::SaveTest;
using test::write;

class TestSavePosix : public SaveTest {
    Q_OBJECT

private slots:
    void init() { openWindowAndFolder(); }
    void cleanup() { closeWindowAndFolder(); }

    void replacedFileKeepsItsLinkAndMode_data()
    {
        QTest::addColumn<bool>("throughLink");
        QTest::newRow("the file") << false;
        QTest::newRow("a symbolic link to it") << true;
    }
    void replacedFileKeepsItsLinkAndMode()
    {
        QFETCH(bool, throughLink);
        const QString file = path("codes.txt");
        QVERIFY(write(file, "an older and much longer text\r\n"));
        const auto permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
        QVERIFY(QFile::setPermissions(file, permissions));
        const QString chosen = throughLink ? path("link.txt") : file;
        if (throughLink)
            QVERIFY(test::makeSymbolicLink(QStringLiteral("codes.txt"), chosen));
        for (int i = 0; i < 2; ++i)
            save(QStringLiteral("/wx"), chosen);
        QCOMPARE(contents(file), QByteArray("/wx\r\n"));
        QCOMPARE(QFileInfo(chosen).isSymLink(), throughLink);
        QCOMPARE(QFile::permissions(file) & 0x7077, permissions); // owner, group, others
    }

    void unwritablePathIsReported_data()
    {
        // Written for a privileged user, whom permissions do not stop: each path fails
        // for another reason, given in Chinese whatever the locale.
        QTest::addColumn<QString>("chosen"); // %1 is the test's folder
        QTest::addColumn<QString>("reason");
        const QString notAFile = QStringLiteral("不是普通文件，不能替换");
        QTest::newRow("missing folder") << "%1/missing/codes.txt"
                                        << "找不到该文件或文件夹";
        QTest::newRow("a file as folder") << "%1/plain.txt/codes.txt"
                                          << "路径中的某一项不是文件夹";
        QTest::newRow("a folder") << "%1"
                                  << "这是一个文件夹，不能作为文件保存";
        QTest::newRow("/proc") << "/proc/codes.txt"
                               << "找不到该文件或文件夹";
        QTest::newRow("/dev/full") << "/dev/full" << notAFile;
        QTest::newRow("a link to /dev/full") << "%1/full.txt" << notAFile;
        QTest::newRow("a pipe") << "%1/pipe.txt" << notAFile;
    }
    void unwritablePathIsReported()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, reason);
        chosen.replace(QStringLiteral("%1"), dir->path());
        QVERIFY(write(path("plain.txt"), "keep me\r\n"));
        QVERIFY(QFile::link(QStringLiteral("/dev/full"), path("full.txt")));
        QCOMPARE(mkfifo(QFile::encodeName(path("pipe.txt")).constData(), 0600), 0);
        const auto before = folder();
        struct stat device {};
        QCOMPARE(stat("/dev/full", &device), 0);

        save(QStringLiteral("/wx"), chosen);
        QCOMPARE(platform->calls, (QStringList{"saveFileName", "messageBox"}));
        const auto &box = platform->messageBoxes.at(0);
        const QStringList lines = box.prompt.split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[0], QStringLiteral("文件保存失败！"));
        QCOMPARE(lines[1], QDir::toNativeSeparators(chosen));
        QCOMPARE(lines[2], reason);
        QCOMPARE(box.icon, Icon::Critical);
        QCOMPARE(box.buttons, Buttons::Ok);
        QCOMPARE(box.caption, QStringLiteral("错误提示"));
        QCOMPARE(QApplication::focusWidget(), &this->box());

        QCOMPARE(folder(), before);
        struct stat after {};
        QCOMPARE(stat("/dev/full", &after), 0);
        QVERIFY(S_ISCHR(after.st_mode));
        QCOMPARE(after.st_rdev, device.st_rdev);
        QCOMPARE(after.st_ino, device.st_ino);
    }

    void failedWriteKeepsTheOldFile()
    {
        // A file size limit stops the write half way, as a full disk would.
        QVERIFY(write(path("codes.txt"), "the old text\r\n"));
        const auto before = folder();
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit small = saved;
        small.rlim_cur = 4096;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        save(QStringLiteral("/wx/se/ka/fendou\r\n").repeated(10'000), path("codes.txt"));
        setrlimit(RLIMIT_FSIZE, &saved);

        QCOMPARE(platform->calls, (QStringList{"saveFileName", "messageBox"}));
        QCOMPARE(platform->messageBoxes[0].prompt, QStringLiteral("文件保存失败！\r\n") +
                                                       QDir::toNativeSeparators(path("codes.txt")) +
                                                       QStringLiteral("\r\n文件超过了允许的大小"));
        QCOMPARE(folder(), before);
    }
};

QTEST_MAIN(TestSavePosix)
#include "tst_save_posix.moc"
