// SPDX-License-Identifier: GPL-3.0-or-later
// What a save must never do: follow a link the kernel would refuse to follow, drop a
// file's ACL or extended attributes, mix old and new text when it is killed half way, let
// two saves into one file mix, or leave its temporary files behind.
#include "ErrorText.h"
#include "SaveProcess.h"
#include "SystemCalls_posix.h"
#include "TextFile.h"
#include "TextFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace mirthkey;
using test::contents;
using test::kNew;
using test::kNewBytes;
using test::name;
using test::write;

namespace {

// A kernel setting (a file under /proc/sys) changed for the life of the object.
class KernelSetting {
public:
    KernelSetting(const QString &file, const QByteArray &value) : m_file(file)
    {
        QFile in(file);
        if (::geteuid() != 0 || !in.open(QIODevice::ReadOnly))
            return;
        m_old = in.readAll().trimmed();
        m_set = put(value);
    }
    ~KernelSetting()
    {
        if (m_set)
            put(m_old);
    }
    KernelSetting(const KernelSetting &) = delete;
    KernelSetting &operator=(const KernelSetting &) = delete;
    bool isSet() const { return m_set; }

private:
    bool put(const QByteArray &value) const
    {
        QFile out(m_file);
        return out.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
               out.write(value + '\n') == value.size() + 1;
    }

    QString m_file;
    QByteArray m_old;
    bool m_set = false;
};

// What a command printed, or why it failed.
QByteArray run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished() || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return "(failed) " + process.readAllStandardError();
    return process.readAllStandardOutput();
}

// Whether a process waits for a lock on the file at `path`: the kernel lists a request
// that is blocked as "-> " before the lock's kind in /proc/locks, with the file's device
// (major:minor, in hexadecimal) and inode.
bool lockAwaited(const QString &path)
{
    struct stat file {};
    if (::stat(name(path).constData(), &file) != 0)
        return false;
    const QByteArray id = QByteArray::number(major(file.st_dev), 16).rightJustified(2, '0') + ':' +
                          QByteArray::number(minor(file.st_dev), 16).rightJustified(2, '0') + ':' +
                          QByteArray::number(quint64(file.st_ino));
    QFile locks(QStringLiteral("/proc/locks"));
    if (!locks.open(QIODevice::ReadOnly))
        return false;
    const QList<QByteArray> lines = locks.readAll().split('\n');
    return std::any_of(lines.begin(), lines.end(), [&](const QByteArray &line) {
        return line.contains(" -> ") && line.simplified().split(' ').contains(id);
    });
}

int waitFor(pid_t child)
{
    int status = -1;
    ::waitpid(child, &status, 0);
    return status;
}

} // namespace

class TestSaveSafety : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> dir;
    QHash<QString, std::chrono::nanoseconds> saveTimes;

    QString path(const QString &file) const { return dir->filePath(file); }
    QStringList names(const QString &folder = QString()) const
    {
        return QDir(path(folder))
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }

private slots:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
    }

    void kernelDecidesInSharedFolders_data()
    {
        QTest::addColumn<QString>("kind"); // at shared/notes.txt: link, dangling link or file
        QTest::addColumn<bool>("others");  // it belongs to another user
        QTest::addColumn<QString>("reason");
        const QString refused = failureText(Failure::LinkRefused);
        QTest::newRow("another user's link to a private file") << "link" << true << refused;
        QTest::newRow("another user's dangling link") << "dangling" << true << refused;
        QTest::newRow("another user's file") << "file" << true << errorText(EACCES);
        QTest::newRow("own link to a private file") << "link" << false << "";
        QTest::newRow("own dangling link") << "dangling" << false << "";
        QTest::newRow("own file") << "file" << false << "";
    }
    void kernelDecidesInSharedFolders()
    {
        QFETCH(QString, kind);
        QFETCH(bool, others);
        QFETCH(QString, reason);
        const auto user = test::nobody();
        if (!user)
            QSKIP("needs root, and a user \"nobody\" to own the link");
        const KernelSetting links(QStringLiteral("/proc/sys/fs/protected_symlinks"), "1");
        const KernelSetting files(QStringLiteral("/proc/sys/fs/protected_regular"), "1");
        if (!links.isSet() || !files.isSet())
            QSKIP("the kernel's link protection cannot be switched on here");
        // A sticky folder everyone may write, as /tmp, and a private one.
        QVERIFY(QDir(dir->path()).mkdir("shared") && QDir(dir->path()).mkdir("private"));
        QCOMPARE(::chmod(name(dir->path()), 0755), 0);
        QCOMPARE(::chmod(name(path("shared")), 01777), 0);
        QCOMPARE(::chmod(name(path("private")), 0700), 0);
        const QString secret = path("private/secret.txt");
        const QString chosen = path("shared/notes.txt");
        if (kind != "dangling")
            QVERIFY(write(kind == "file" ? chosen : secret, "secret\n"));
        if (kind != "file")
            QCOMPARE(::symlink(name(secret), name(chosen)), 0);
        if (others)
            QCOMPARE(::lchown(name(chosen), user->uid, user->gid), 0);

        const std::optional<QString> failure = writeTextFile(chosen, kNew);
        QCOMPARE(failure, reason.isEmpty() ? std::nullopt : std::optional(reason));
        const QByteArray expected = reason.isEmpty() ? kNewBytes : QByteArray("secret\n");
        if (kind == "file") {
            QCOMPARE(contents(chosen), expected);
        } else {
            QVERIFY(QFileInfo(chosen).isSymLink());
            QCOMPARE(contents(secret), others && kind == "dangling" ? "(missing)" : expected);
        }
        QCOMPARE(names("shared"), QStringList{"notes.txt"});
    }

    void replacedFileKeepsAclAndAttributes_data()
    {
        QTest::addColumn<QString>("fileAcl");    // setfacl -m entries; empty: none
        QTest::addColumn<bool>("folderDefault"); // the folder has a default ACL, the file not
        QTest::addColumn<bool>("secondName");
        QTest::newRow("a user's rights") << "u:4244:rw" << false << false;
        QTest::newRow("a group's rights, narrow mask") << "g:4245:rw,m::r" << false << false;
        QTest::newRow("none, in a folder with a default") << "" << true << false;
        QTest::newRow("a user's rights, two names") << "u:4244:rw" << false << true;
    }
    void replacedFileKeepsAclAndAttributes()
    {
        QFETCH(QString, fileAcl);
        QFETCH(bool, folderDefault);
        QFETCH(bool, secondName);
        if (QStandardPaths::findExecutable("setfacl").isEmpty() ||
            QStandardPaths::findExecutable("setfattr").isEmpty())
            QSKIP("needs setfacl and setfattr (packages acl and attr)");
        const QString file = path("codes.txt");
        QVERIFY(write(file, "the old text\r\n"));
        QCOMPARE(::chmod(name(file), 0640), 0);
        if (secondName)
            QCOMPARE(::link(name(file), name(path("other.txt"))), 0);
        if (!fileAcl.isEmpty() && run("setfacl", {"-m", fileAcl, file}).startsWith("(failed)"))
            QSKIP("no ACLs on this file system");
        if (folderDefault)
            QCOMPARE(run("setfacl", {"-d", "-m", "u:4244:rwx", dir->path()}), QByteArray());
        if (run("setfattr", {"-n", "user.note", "-v", "kept", file}).startsWith("(failed)"))
            QSKIP("no user attributes on this file system");
        const QStringList show{"-p", file};
        const QStringList dump{"-d", "-m", "-", file};
        const QByteArray acl = run("getfacl", show);
        const QByteArray attributes = run("getfattr", dump);
        QVERIFY(attributes.contains("user.note"));
        struct stat before {};
        QCOMPARE(::stat(name(file), &before), 0);

        QCOMPARE(writeTextFile(file, kNew), std::nullopt);
        QCOMPARE(contents(file), kNewBytes);
        QCOMPARE(run("getfacl", show), acl);
        QCOMPARE(run("getfattr", dump), attributes);
        struct stat after {};
        QCOMPARE(::stat(name(file), &after), 0);
        QCOMPARE(after.st_mode, before.st_mode);
        QCOMPARE(after.st_ino == before.st_ino, secondName); // only a single name is replaced
        QCOMPARE(names().size(), secondName ? 2 : 1);
    }

    void killedSaveLeavesOldOrNewText_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<double>("share"); // of the save's whole time, when it is killed
        for (const char *how : {"replaced", "hard link", "closed folder"}) {
            for (const double share : {0.02, 0.2, 0.4, 0.6, 0.8, 0.98})
                QTest::addRow("%s, at %.0f%%", how, share * 100) << how << share;
        }
    }
    void killedSaveLeavesOldOrNewText()
    {
        QFETCH(QString, how);
        QFETCH(double, share);
        const auto user = test::nobody();
        if (how == "closed folder" && !user)
            QSKIP("needs root, to save as the user \"nobody\" in root's folder");
        const QByteArray oldBytes = QByteArray("the old text\r\n").repeated(1'200'000);
        const QString text = QStringLiteral("/wx/se new\r\n").repeated(1'000'000);
        const QByteArray newBytes = text.toLatin1() + "\r\n";
        QString file;
        QString cache;
        const auto prepare = [&] {
            file = path("codes.txt");
            cache = path("cache");
            QVERIFY(write(file, oldBytes));
            if (how == "hard link")
                QCOMPARE(::link(name(file), name(path("other.txt"))), 0);
            if (how == "closed folder") {
                QVERIFY(QDir().mkpath(cache));
                QCOMPARE(::chown(name(cache), user->uid, user->gid), 0);
                QCOMPARE(::chown(name(file), user->uid, user->gid), 0);
                QCOMPARE(::chmod(name(dir->path()), 0755), 0);
            }
        };
        const auto start = [&] {
            qputenv("XDG_CACHE_HOME", name(cache));
            const pid_t child =
                test::startSave(file, text, how == "closed folder" ? user : std::nullopt);
            qunsetenv("XDG_CACHE_HOME");
            return child;
        };
        if (!saveTimes.contains(how)) {
            prepare();
            QElapsedTimer timer;
            timer.start();
            const int status = waitFor(start());
            QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
            saveTimes.insert(how, std::chrono::nanoseconds(timer.nsecsElapsed()));
            QCOMPARE(contents(file), newBytes);
            init();
        }
        prepare();

        const pid_t child = start();
        std::this_thread::sleep_for(saveTimes.value(how) * share);
        ::kill(child, SIGKILL);
        waitFor(child);

        const QString backup = (how == "closed folder" ? cache + "/mirthkey" : dir->path()) +
                               QStringLiteral("/codes.txt.mirthkey-backup");
        const QByteArray now = contents(file);
        const QByteArray kept = contents(backup);
        const bool whole = now == oldBytes || now == newBytes;
        QVERIFY2(
            whole || kept == oldBytes,
            qPrintable(
                QStringLiteral("file %1 bytes, backup %2 bytes").arg(now.size()).arg(kept.size())));
        // A backup, once it has its name, is whole; nothing else is left.
        QVERIFY(kept == "(missing)" || kept == oldBytes);
        QStringList expected{"codes.txt"};
        if (how == "hard link")
            expected << "other.txt";
        if (how == "closed folder")
            expected << "cache";
        else if (kept == oldBytes)
            expected << "codes.txt.mirthkey-backup";
        // A kill in the instant between naming the complete new file and moving it over
        // the old name leaves that name, the new text whole under it; the next save
        // removes it once it is old enough.
        const QString named = QStringLiteral(".mirthkey-%1-").arg(child);
        for (const QString &left : names())
            if (left.startsWith(named) && left.endsWith(".tmp") && now == oldBytes &&
                contents(path(left)) == newBytes)
                expected << left;
        expected.sort();
        QCOMPARE(names().join(' '), expected.join(' '));
        qDebug("%s", now == newBytes ? "new text" : now == oldBytes ? "old text" : "from backup");
    }

    void inPlaceSaveWaitsForTheOther()
    {
        const QString file = path("codes.txt");
        QVERIFY(write(file, "the old text\r\n"));
        QCOMPARE(::link(name(file), name(path("other.txt"))), 0);
        // Another save into the same file, in a process of its own, holds the lock until
        // it is told to end.
        int locked[2];
        int release[2];
        QCOMPARE(::pipe(locked), 0);
        QCOMPARE(::pipe(release), 0);
        const pid_t holder = ::fork();
        if (holder == 0) {
            const posix::Descriptor other(::open(name(file).constData(), O_RDWR));
            char byte = posix::lockWhole(other.get()) ? 'y' : 'n';
            if (::write(locked[1], &byte, 1) != 1 || ::read(release[0], &byte, 1) < 0)
                ::_exit(1);
            ::_exit(0);
        }
        char answer = 0;
        QCOMPARE(::read(locked[0], &answer, 1), 1);
        QCOMPARE(answer, 'y');

        // The save has reached the lock and waits there, the file as it was.
        const pid_t child = test::startSave(file, kNew);
        QTRY_VERIFY_WITH_TIMEOUT(lockAwaited(file), 30000);
        QCOMPARE(contents(file), QByteArray("the old text\r\n"));
        QCOMPARE(::write(release[1], "x", 1), 1); // the other save ends
        waitFor(holder);
        for (const int fd : {locked[0], locked[1], release[0], release[1]})
            ::close(fd);
        const int status = waitFor(child);
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        QCOMPARE(contents(file), kNewBytes);
    }

    void staleTemporariesAreRemoved_data()
    {
        QTest::addColumn<QString>("entry"); // %1: a process that has ended, %2: this one
        QTest::addColumn<int>("age");       // minutes since it last changed
        QTest::addColumn<QString>("kind");  // file, link, two names or others' file
        QTest::addColumn<bool>("removed");
        QTest::newRow("an ended save's") << ".mirthkey-%1-k3x.tmp" << 60 << "file" << true;
        QTest::newRow("just written") << ".mirthkey-%1-k3x.tmp" << 1 << "file" << false;
        // An early version's names had no process number; any short word fits them.
        QTest::newRow("an older version's") << ".mirthkey-k3x.tmp" << 3000 << "file" << false;
        QTest::newRow("an older version's, recent") << ".mirthkey-k3x.tmp" << 60 << "file" << false;
        QTest::newRow("a running save's") << ".mirthkey-%2-k3x.tmp" << 60 << "file" << false;
        QTest::newRow("a link") << ".mirthkey-%1-k3x.tmp" << 60 << "link" << false;
        QTest::newRow("two names") << ".mirthkey-%1-k3x.tmp" << 60 << "two names" << false;
        QTest::newRow("another user's") << ".mirthkey-%1-k3x.tmp" << 60 << "others" << false;
        QTest::newRow("another name") << "notes-%1.tmp" << 60 << "file" << false;
        QTest::newRow("another ending") << ".mirthkey-%1-k3x.txt" << 60 << "file" << false;
        // The random part is a 32-bit number in base 36, lower case, as the program writes
        // it: one to seven digits, no leading zero, at most 1z141z3.
        QTest::newRow("the smallest random part") << ".mirthkey-%1-0.tmp" << 60 << "file" << true;
        QTest::newRow("the largest random part")
            << ".mirthkey-%1-1z141z3.tmp" << 60 << "file" << true;
        // Names only like the program's: the user's own files, however old.
        const int days = 2 * 24 * 60;
        for (const char *lookalike :
             {".mirthkey-notes.tmp", ".mirthkey-xyz.tmp", ".mirthkey-.tmp", ".mirthkey--5-neg.tmp",
              ".mirthkey-%1-.tmp", ".mirthkey-%1-K3X.tmp", ".mirthkey-%1-k3x-2.tmp",
              ".mirthkey-%1-k_3.tmp", ".mirthkey-%1-00.tmp", ".mirthkey-%1-1z141z4.tmp",
              ".mirthkey-%1-10000000.tmp", ".mirthkey-0%1-k3x.tmp", ".mirthkey-+%1-k3x.tmp",
              ".mirthkey- %1-k3x.tmp", ".mirthkey-0-k3x.tmp", ".mirthkey-4194305-k3x.tmp",
              ".mirthkey-%1-k3x.tmp.tmp", ".mirthkey-%1-k3x .tmp", ".Mirthkey-%1-k3x.tmp"})
            QTest::addRow("lookalike %s", lookalike) << lookalike << days << "file" << false;
    }
    void staleTemporariesAreRemoved()
    {
        QFETCH(QString, entry);
        QFETCH(int, age);
        QFETCH(QString, kind);
        QFETCH(bool, removed);
        const auto user = test::nobody();
        if (kind == "others" && !user)
            QSKIP("needs root, to give the file to the user \"nobody\"");
        const pid_t ended = ::fork();
        if (ended == 0)
            ::_exit(0);
        waitFor(ended);
        entry.replace("%1", QString::number(ended)).replace("%2", QString::number(::getpid()));
        const QString file = path(entry);
        if (kind == "link")
            QCOMPARE(::symlink("elsewhere", name(file)), 0);
        else
            QVERIFY(write(file, "part of a text"));
        if (kind == "two names")
            QCOMPARE(::link(name(file), name(path("other"))), 0);
        if (kind == "others")
            QCOMPARE(::chown(name(file), user->uid, user->gid), 0);
        const timespec then{::time(nullptr) - time_t(age) * 60, 0};
        const timespec times[2] = {then, then};
        QCOMPARE(::utimensat(AT_FDCWD, name(file), times, AT_SYMLINK_NOFOLLOW), 0);

        const posix::Descriptor folder(::open(name(dir->path()), O_PATH | O_DIRECTORY));
        posix::removeStaleTemporaries(folder.get());
        QCOMPARE(names().contains(entry), !removed);
        // A save into the folder clears them too.
        QVERIFY(write(file, "part of a text"));
        QCOMPARE(::utimensat(AT_FDCWD, name(file), times, AT_SYMLINK_NOFOLLOW), 0);
        QCOMPARE(writeTextFile(path("codes.txt"), kNew), std::nullopt);
        QCOMPARE(names().contains(entry), !removed);
    }

    void ownNamesAreTheProgramsPattern()
    {
        // Whatever number the random part gets, the clean-up knows the name for its own.
        for (int i = 0; i < 10'000; ++i) {
            const QByteArray made = posix::temporaryName();
            QVERIFY2(posix::temporaryProcess(made) == ::getpid(), made.constData());
        }
    }

    void createdNameIsRemovedOnlyWhileItIsOurs_data()
    {
        QTest::addColumn<QString>("since"); // what happened to the name since it was made
        QTest::addColumn<bool>("removed");
        QTest::newRow("nothing") << "" << true;
        QTest::newRow("another file took the name") << "replaced" << false;
        QTest::newRow("the file got content") << "written" << false;
        QTest::newRow("the name is gone") << "removed" << false;
    }
    void createdNameIsRemovedOnlyWhileItIsOurs()
    {
        QFETCH(QString, since);
        QFETCH(bool, removed);
        const QString file = path("new.txt");
        QVERIFY(write(file, ""));
        struct stat created {};
        QCOMPARE(::stat(name(file), &created), 0);
        if (since == "replaced") {
            QVERIFY(write(path("other.txt"), ""));
            QCOMPARE(::rename(name(path("other.txt")), name(file)), 0);
        } else if (since == "written") {
            QVERIFY(write(file, "the user's text"));
        } else if (since == "removed") {
            QCOMPARE(::unlink(name(file)), 0);
        }
        const QStringList before = names();

        const posix::Descriptor folder(::open(name(dir->path()), O_PATH | O_DIRECTORY));
        QCOMPARE(posix::removeCreated(folder.get(), "new.txt", created), removed);
        QCOMPARE(names(), removed ? QStringList() : before);
    }
};

QTEST_GUILESS_MAIN(TestSaveSafety)
#include "tst_save_safety.moc"
