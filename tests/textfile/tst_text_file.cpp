// SPDX-License-Identifier: GPL-3.0-or-later
// The saved file as the file system sees it: owner, group, mode and hard links of a file
// that is overwritten, saves by a user who is not root, and the reasons given in Chinese.
#include "ErrorText.h"
#include "FileStatus_posix.h"
#include "SaveProcess.h"
#include "TextFile.h"
#include "TextFiles.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace mirthkey;
using test::contents;
using test::kNew;
using test::kNewBytes;
using test::kOld;
using test::name;
using test::status;

class TestTextFile : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> dir;

    QString path(const QString &file) const { return dir->filePath(file); }
    QStringList names() const
    {
        return QDir(dir->path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }
    void create(const QString &file, const QString &text, uid_t owner, gid_t group, mode_t mode)
    {
        QFile out(path(file));
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(text.toUtf8());
        out.close();
        QCOMPARE(::chown(name(path(file)).constData(), owner, group), 0);
        QCOMPARE(::chmod(name(path(file)).constData(), mode), 0);
    }

private slots:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
    }

    void overwriteKeepsOwnerModeAndLinks_data()
    {
        QTest::addColumn<bool>("otherOwner");
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("secondName");
        QTest::addColumn<QString>("text");
        QTest::newRow("another user's file") << true << 0640 << false << kNew;
        QTest::newRow("set-group-ID, another user's") << true << 02664 << false << kNew;
        QTest::newRow("a second hard link") << false << 0604 << true << kNew;
        QTest::newRow("a second hard link, growing") << false << 0644 << true << kOld + kNew;
        QTest::newRow("another user's, two names") << true << 0600 << true << kNew;
    }
    void overwriteKeepsOwnerModeAndLinks()
    {
        QFETCH(bool, otherOwner);
        QFETCH(int, mode);
        QFETCH(bool, secondName);
        QFETCH(QString, text);
        const auto user = test::nobody();
        if (otherOwner && !user)
            QSKIP("giving a file to another user takes root and a user \"nobody\"");
        const uid_t owner = otherOwner ? user->uid : ::geteuid();
        const gid_t group = otherOwner ? user->gid : ::getegid();
        create("codes.txt", kOld, owner, group, mode_t(mode));
        if (secondName)
            QCOMPARE(::link(name(path("codes.txt")), name(path("other.txt"))), 0);
        const struct stat before = status(path("codes.txt"));

        QCOMPARE(writeTextFile(path("codes.txt"), text), std::nullopt);
        const QByteArray expected = text == kNew ? kNewBytes : kOld.toUtf8() + kNewBytes;
        QCOMPARE(contents(path("codes.txt")), expected);
        const struct stat after = status(path("codes.txt"));
        QCOMPARE(after.st_uid, owner);
        QCOMPARE(after.st_gid, group);
        QCOMPARE(after.st_mode & 07777, mode_t(mode));
        QCOMPARE(after.st_nlink, before.st_nlink);
        if (secondName) {
            QCOMPARE(after.st_ino, before.st_ino);
            QCOMPARE(contents(path("other.txt")), expected);
        }
        QCOMPARE(names().size(), secondName ? 2 : 1); // nothing left beside them
    }

    void savesAsAnotherUser_data()
    {
        QTest::addColumn<int>("folderMode"); // the folder belongs to root
        QTest::addColumn<bool>("ownFile");   // the file belongs to root otherwise
        QTest::addColumn<int>("fileMode");   // 0: no file yet
        QTest::addColumn<QString>("reason"); // empty: saved
        QTest::newRow("writable file, closed folder") << 0755 << false << 0666 << "";
        QTest::newRow("root's file, open folder") << 0777 << false << 0666 << "";
        QTest::newRow("own file, closed folder") << 0755 << true << 0600 << "";
        QTest::newRow("own file, open folder") << 0777 << true << 0640 << "";
        QTest::newRow("read-only own file") << 0777 << true << 0444 << "没有写入权限";
        QTest::newRow("root's read-only file") << 0777 << false << 0644 << "没有写入权限";
        QTest::newRow("new file, closed folder") << 0755 << false << 0 << "没有写入权限";
    }
    void savesAsAnotherUser()
    {
        QFETCH(int, folderMode);
        QFETCH(bool, ownFile);
        QFETCH(int, fileMode);
        QFETCH(QString, reason);
        const auto user = test::nobody();
        if (!user)
            QSKIP("needs root, to switch to the user \"nobody\"");
        QCOMPARE(::chmod(name(dir->path()).constData(), mode_t(folderMode)), 0);
        const uid_t owner = ownFile ? user->uid : 0;
        if (fileMode != 0)
            create("codes.txt", kOld, owner, ownFile ? user->gid : 0, mode_t(fileMode));

        QCOMPARE(test::saveAs(*user, path("codes.txt"), kNew),
                 reason.isEmpty() ? std::nullopt : std::optional(reason));
        const QByteArray expected = !reason.isEmpty() ? kOld.toUtf8() : kNewBytes;
        QCOMPARE(contents(path("codes.txt")),
                 fileMode != 0 || reason.isEmpty() ? expected : QByteArray("(missing)"));
        if (fileMode != 0) {
            QCOMPARE(status(path("codes.txt")).st_uid, owner);
            QCOMPARE(status(path("codes.txt")).st_mode & 07777, mode_t(fileMode));
        }
        QCOMPARE(names().size(), fileMode != 0 || reason.isEmpty() ? 1 : 0);
    }

    void textThatDoesNotFitKeepsTheOldFile_data()
    {
        QTest::addColumn<QString>("file"); // one name, two names, new, or a dangling link
        QTest::newRow("one name, replaced") << "one name";
        QTest::newRow("two names, written in place") << "two names";
        QTest::newRow("a new name") << "new";
        QTest::newRow("a link that points nowhere") << "link";
    }
    void textThatDoesNotFitKeepsTheOldFile()
    {
        // A file size limit refuses the text as a full disk would. A name the save made is
        // gone again; a link that was there stays.
        QFETCH(QString, file);
        const bool secondName = file == "two names";
        if (file == "one name" || secondName)
            create("codes.txt", kOld, ::geteuid(), ::getegid(), 0644);
        if (secondName)
            QCOMPARE(::link(name(path("codes.txt")), name(path("other.txt"))), 0);
        if (file == "link")
            QCOMPARE(::symlink("codes.txt", name(path("link.txt")).constData()), 0);
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit saved{};
        ::getrlimit(RLIMIT_FSIZE, &saved);
        rlimit small = saved;
        small.rlim_cur = 4096;
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
        const auto failure =
            writeTextFile(path(file == "link" ? "link.txt" : "codes.txt"), kNew.repeated(10'000));
        ::setrlimit(RLIMIT_FSIZE, &saved);

        QCOMPARE(failure, std::optional(QStringLiteral("文件超过了允许的大小")));
        const bool existed = file == "one name" || secondName;
        QCOMPARE(contents(path("codes.txt")), existed ? kOld.toUtf8() : "(missing)");
        if (secondName)
            QCOMPARE(contents(path("other.txt")), kOld.toUtf8());
        QStringList expected;
        if (existed)
            expected << "codes.txt";
        if (secondName)
            expected << "other.txt";
        if (file == "link")
            expected << "link.txt";
        QCOMPARE(names(), expected);
    }

    void everyReasonIsChinese()
    {
        const QRegularExpression latin(QStringLiteral("[A-Za-z]"));
        QStringList known;
        for (int error = 1; error < 200; ++error) {
            const QString reason = errorText(error);
            QVERIFY2(!reason.isEmpty() && !reason.contains(latin), qPrintable(reason));
            if (!reason.contains(QString::number(error)))
                known << reason;
        }
        // The failures a save meets most each have a text of their own.
        const QString unknown = errorText(9999);
        QVERIFY(unknown.contains(QStringLiteral("9999")));
        for (const int error : {EACCES, EPERM, EROFS, ENOSPC, EDQUOT, EFBIG, EIO, ENOENT, EISDIR})
            QVERIFY2(known.contains(errorText(error)), qPrintable(errorText(error)));
        QCOMPARE(QSet<QString>(known.begin(), known.end()).size(), known.size());
    }
};

QTEST_GUILESS_MAIN(TestTextFile)
#include "tst_text_file.moc"
