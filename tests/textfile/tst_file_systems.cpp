// SPDX-License-Identifier: GPL-3.0-or-later
// Saves where the file system is not one of Linux's own: FAT, exFAT and NTFS images served
// by their FUSE drivers, a full disk, and calls that fail as on a file system that cannot
// hold a mode or an attribute. The images and the full disk are mounted as root in a
// mount namespace of this test's own, so nothing of them outlives it.
#include "ErrorText.h"
#include "FileStatus_posix.h"
#include "RefusedCalls.h"
#include "TextFile.h"
#include "TextFiles.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <linux/loop.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <thread>
#include <unistd.h>

using namespace mirthkey;
using test::contents;
using test::kNew;
using test::kNewBytes;
using test::kOld;
using test::name;
using test::status;
using test::write;

namespace {

// A program from the system's folders, or empty.
QString tool(const QString &program)
{
    const QString found = QStandardPaths::findExecutable(program);
    return !found.isEmpty() ? found
                            : QStandardPaths::findExecutable(
                                  program, {"/usr/sbin", "/sbin", "/usr/bin", "/bin"});
}

// Runs a program to its end; its error output when it failed.
std::optional<QByteArray> run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (process.waitForFinished(60'000) && process.exitStatus() == QProcess::NormalExit &&
        process.exitCode() == 0)
        return std::nullopt;
    return program.toUtf8() + ": " + process.readAllStandardError();
}

// Waits up to `seconds` for `done`.
template <typename Condition> bool waitFor(Condition done, int seconds = 30)
{
    const QDeadlineTimer deadline(std::chrono::seconds{seconds});
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

bool mountedAt(const QString &point)
{
    struct stat inner {};
    struct stat outer {};
    return ::stat(name(point).constData(), &inner) == 0 &&
           ::stat(name(point + "/..").constData(), &outer) == 0 && inner.st_dev != outer.st_dev;
}

// Unmounts `point`, waiting while it is busy; lazily in the end.
void unmount(const QString &point)
{
    if (!waitFor([&] { return ::umount2(name(point).constData(), 0) == 0 || errno != EBUSY; }))
        ::umount2(name(point).constData(), MNT_DETACH);
}

// An image file as a block device, which the kernel detaches once the last user has
// closed it.
class LoopDevice {
public:
    explicit LoopDevice(const QString &image)
    {
        const int control = ::open("/dev/loop-control", O_RDWR | O_CLOEXEC);
        const int backing = ::open(name(image).constData(), O_RDWR | O_CLOEXEC);
        for (int attempt = 0; attempt < 10 && control >= 0 && backing >= 0 && m_fd < 0; ++attempt) {
            const int number = ::ioctl(control, LOOP_CTL_GET_FREE);
            if (number < 0)
                break;
            m_path = QStringLiteral("/dev/loop%1").arg(number);
            m_fd = ::open(name(m_path).constData(), O_RDWR | O_CLOEXEC);
            if (m_fd < 0)
                break; // no device node for it here
            loop_config config{};
            config.fd = __u32(backing);
            config.info.lo_flags = LO_FLAGS_AUTOCLEAR;
            if (::ioctl(m_fd, LOOP_CONFIGURE, &config) != 0) {
                ::close(m_fd); // taken by someone else meanwhile
                m_fd = -1;
            }
        }
        if (backing >= 0)
            ::close(backing);
        if (control >= 0)
            ::close(control);
    }
    ~LoopDevice()
    {
        if (m_fd >= 0) {
            ::ioctl(m_fd, LOOP_CLR_FD); // when nothing holds it any more; autoclear otherwise
            ::close(m_fd);
        }
    }
    LoopDevice(const LoopDevice &) = delete;
    LoopDevice &operator=(const LoopDevice &) = delete;

    bool valid() const { return m_fd >= 0; }
    QString path() const { return m_path; }

private:
    int m_fd = -1;
    QString m_path;
};

// A FUSE file system whose driver runs in the foreground as a child of this process: the
// system stops it when the test ends, however it ends, and the driver then unmounts. The
// object unmounts and waits for the driver itself.
class FuseMount {
public:
    FuseMount(const QString &program, const QStringList &arguments, const QString &point)
        : m_point(point)
    {
        QList<QByteArray> words{name(program)};
        for (const QString &argument : arguments)
            words.append(name(argument));
        std::vector<char *> argv;
        for (QByteArray &word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        const pid_t parent = ::getpid();
        m_driver = ::fork();
        if (m_driver == 0) {
            ::prctl(PR_SET_PDEATHSIG, SIGTERM);
            if (::getppid() != parent)
                ::_exit(1);
            const int quiet = ::open("/dev/null", O_WRONLY);
            ::dup2(quiet, STDOUT_FILENO);
            ::dup2(quiet, STDERR_FILENO);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        m_mounted =
            m_driver > 0 && waitFor([&] {
                return mountedAt(point) || ::waitpid(m_driver, nullptr, WNOHANG) == m_driver;
            }) &&
            mountedAt(point);
    }
    ~FuseMount()
    {
        if (m_driver <= 0)
            return;
        if (mountedAt(m_point))
            unmount(m_point);
        if (!waitFor([&] { return ::waitpid(m_driver, nullptr, WNOHANG) != 0; }, 10)) {
            ::kill(m_driver, SIGKILL);
            ::waitpid(m_driver, nullptr, 0);
        }
    }
    FuseMount(const FuseMount &) = delete;
    FuseMount &operator=(const FuseMount &) = delete;

    bool mounted() const { return m_mounted; }

private:
    QString m_point;
    pid_t m_driver = -1;
    bool m_mounted = false;
};

// A small tmpfs, unmounted with the object.
class Tmpfs {
public:
    Tmpfs(const QString &point, const char *options) : m_point(point)
    {
        m_mounted =
            ::mount("tmpfs", name(point).constData(), "tmpfs", MS_NOSUID | MS_NODEV, options) == 0;
    }
    ~Tmpfs()
    {
        if (m_mounted)
            unmount(m_point);
    }
    Tmpfs(const Tmpfs &) = delete;
    Tmpfs &operator=(const Tmpfs &) = delete;
    bool mounted() const { return m_mounted; }

private:
    QString m_point;
    bool m_mounted = false;
};

// Fills the file system of `folder` to the last block.
bool fill(const QString &folder)
{
    QFile filler(folder + "/filler");
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size()) {
    }
    return true;
}

QString dosAttributes(const QString &path)
{
    char value[4];
    const ssize_t size = ::getxattr(name(path).constData(), "system.ntfs_attrib_be", value, 4);
    return size == 4 ? QByteArray(value, 4).toHex() : QStringLiteral("(none)");
}

} // namespace

class TestFileSystems : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> dir;
    bool ownMounts = false; // root, in a mount namespace of its own

    QString path(const QString &file) const { return dir->filePath(file); }
    static QStringList names(const QString &folder)
    {
        return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                      QDir::NoDotAndDotDot);
    }

private slots:
    void initTestCase()
    {
        // Mounts made from here on are this process's (and its children's) alone.
        ownMounts = ::geteuid() == 0 && ::unshare(CLONE_NEWNS) == 0 &&
                    ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    }
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
    }

    void foreignFileSystems_data()
    {
        QTest::addColumn<QString>("system"); // fat, exfat, ntfs, ntfs permissions
        QTest::addColumn<QString>("file");   // new, existing, hidden
        for (const char *system : {"fat", "exfat", "ntfs", "ntfs permissions"}) {
            for (const char *file : {"new", "existing"})
                QTest::addRow("%s, %s file", system, file) << system << file;
        }
        QTest::newRow("ntfs, hidden file") << "ntfs"
                                           << "hidden";
    }
    void foreignFileSystems()
    {
        QFETCH(QString, system);
        QFETCH(QString, file);
        if (!ownMounts)
            QSKIP("needs root and a mount namespace of its own");
        const QString image = path("image");
        const QString point = path("mounted");
        QVERIFY(QDir().mkpath(point));
        QFile blank(image);
        QVERIFY(blank.open(QIODevice::WriteOnly) && blank.resize(8 << 20));
        blank.close();
        QString driver;
        QStringList arguments;
        std::unique_ptr<LoopDevice> loop;
        if (system == "fat") {
            driver = tool("fusefat");
            const QString format = tool("mkfs.fat");
            if (driver.isEmpty() || format.isEmpty())
                QSKIP("needs fusefat and mkfs.fat (packages fusefat, dosfstools)");
            QCOMPARE(run(format, {image}), std::nullopt);
            arguments = QStringList{"-f", image, point, "-o", "rw+"};
        } else if (system == "exfat") {
            driver = tool("mount.exfat-fuse");
            const QString format = tool("mkfs.exfat");
            if (driver.isEmpty() || format.isEmpty())
                QSKIP("needs mount.exfat-fuse and mkfs.exfat (packages exfat-fuse, exfatprogs)");
            QCOMPARE(run(format, {image}), std::nullopt);
            loop = std::make_unique<LoopDevice>(image);
            if (!loop->valid())
                QSKIP("no loop device to be had");
            arguments = QStringList{"-d", loop->path(), point}; // -d: in the foreground
        } else {
            driver = tool("ntfs-3g");
            const QString format = tool("mkntfs");
            if (driver.isEmpty() || format.isEmpty())
                QSKIP("needs ntfs-3g and mkntfs (package ntfs-3g)");
            QCOMPARE(run(format, {"-F", "-f", "-q", image}), std::nullopt);
            const QString options =
                system.contains("permissions") ? "no_detach,permissions" : "no_detach";
            arguments = QStringList{"-o", options, image, point};
        }
        if (::access("/dev/fuse", R_OK | W_OK) != 0)
            QSKIP("no /dev/fuse");
        const FuseMount mount(driver, arguments, point);
        QVERIFY2(mount.mounted(), qPrintable(driver + " did not mount the image"));

        const QString target = point + "/codes.txt";
        if (file != "new") {
            QVERIFY(write(target, kOld.toUtf8()));
            if (system.contains("permissions"))
                QCOMPARE(::chmod(name(target).constData(), 0640), 0);
            if (file == "hidden")
                QCOMPARE(::setxattr(name(target).constData(), "system.ntfs_attrib_be",
                                    "\x00\x00\x00\x22", 4, 0),
                         0);
        }
        const struct stat before = status(target);
        const QString attributes = dosAttributes(target);

        QCOMPARE(writeTextFile(target, kNew), std::nullopt);
        QCOMPARE(contents(target), kNewBytes);
        // A replaced file the save still held open is renamed by FUSE to .fuse_hidden*
        // and removed once the driver gets the release, which the kernel sends after
        // close() has returned.
        QTRY_COMPARE(names(point), QStringList{"codes.txt"});
        if (file != "new") {
            QCOMPARE(status(target).st_mode, before.st_mode);
            QCOMPARE(status(target).st_uid, before.st_uid);
            QCOMPARE(dosAttributes(target), attributes);
        }
    }

    void refusedModeOrAttribute_data()
    {
        QTest::addColumn<QString>("call");
        QTest::addColumn<int>("error");
        QTest::addColumn<int>("mode");       // of the old file; 0: a new name
        QTest::addColumn<bool>("attribute"); // the old file has an extended attribute
        QTest::addColumn<bool>("inPlace");   // written into the old file, not replaced
        QTest::newRow("mode refused (EPERM)") << "fchmod" << EPERM << 0640 << false << true;
        QTest::newRow("mode refused (ENOSYS)") << "fchmod" << ENOSYS << 0640 << false << true;
        QTest::newRow("mode refused, a new name (EPERM)")
            << "fchmod" << EPERM << 0 << false << true;
        QTest::newRow("mode refused, a new name (ENOSYS)")
            << "fchmod" << ENOSYS << 0 << false << true;
        QTest::newRow("mode refused, not needed") << "fchmod" << EPERM << 0600 << false << false;
        QTest::newRow("attribute refused (EOPNOTSUPP)")
            << "fsetxattr" << EOPNOTSUPP << 0644 << true << true;
        QTest::newRow("attribute refused (EPERM)") << "fsetxattr" << EPERM << 0644 << true << true;
    }
    void refusedModeOrAttribute()
    {
        QFETCH(QString, call);
        QFETCH(int, error);
        QFETCH(int, mode);
        QFETCH(bool, attribute);
        QFETCH(bool, inPlace);
        const mode_t mask = ::umask(022);
        const QString file = path("codes.txt");
        if (mode != 0) {
            QVERIFY(write(file, kOld.toUtf8()));
            QCOMPARE(::chmod(name(file).constData(), mode_t(mode)), 0);
        }
        if (attribute && ::setxattr(name(file).constData(), "user.note", "kept", 4, 0) != 0) {
            ::umask(mask);
            QSKIP("no user attributes on this file system");
        }
        const struct stat before = status(file);

        std::optional<QString> failure;
        int refused = 0;
        {
            const test::RefusedCall refusal(call.toLatin1().constData(), error);
            failure = writeTextFile(file, kNew);
            refused = test::refusals(call.toLatin1().constData());
        }
        ::umask(mask);
        QCOMPARE(failure, std::nullopt);
        QCOMPARE(refused > 0, inPlace); // only what differs is set at all
        QCOMPARE(contents(file), kNewBytes);
        QCOMPARE(status(file).st_mode & 07777, mode_t(mode != 0 ? mode : 0644));
        if (mode != 0)
            QCOMPARE(status(file).st_ino == before.st_ino, inPlace);
        if (attribute) {
            char value[8] = {};
            QCOMPARE(::getxattr(name(file).constData(), "user.note", value, sizeof value), 4);
            QCOMPARE(QByteArray(value), QByteArray("kept"));
        }
        QCOMPARE(names(dir->path()), QStringList{"codes.txt"}); // no copy, no new file left
    }

    void fullDisk_data()
    {
        QTest::addColumn<QString>("file"); // new, link, one name, two names
        QTest::addColumn<int>("size");     // of the old file
        QTest::addColumn<int>("repeat");   // of the new text
        QTest::addColumn<QString>("reason");
        const QString full = errorText(ENOSPC);
        QTest::newRow("a new name") << "new" << 0 << 1 << full;
        QTest::newRow("a link that points nowhere") << "link" << 0 << 1 << full;
        QTest::newRow("two names, a shorter text") << "two names" << 96 << 1 << "";
        QTest::newRow("one name, a shorter text") << "one name" << 96 << 1 << "";
        QTest::newRow("two names, a longer text") << "two names" << 96 << 20'000 << full;
        QTest::newRow("one name, a longer text") << "one name" << 96 << 20'000 << full;
    }
    void fullDisk()
    {
        QFETCH(QString, file);
        QFETCH(int, size);
        QFETCH(int, repeat);
        QFETCH(QString, reason);
        if (!ownMounts)
            QSKIP("needs root and a mount namespace of its own");
        const QString disk = path("disk");
        const QString cache = path("cache"); // on another file system
        QVERIFY(QDir().mkpath(disk) && QDir().mkpath(cache));
        const Tmpfs mount(disk, "size=512k,mode=0755");
        QVERIFY(mount.mounted());
        const QString target = disk + "/codes.txt";
        QByteArray old;
        for (int i = 0; old.size() < qsizetype(size) * 1024; ++i)
            old += "/wx/se/ka " + QByteArray::number(i) + "\r\n";
        if (file == "one name" || file == "two names")
            QVERIFY(write(target, old));
        if (file == "two names")
            QCOMPARE(::link(name(target).constData(), name(disk + "/other.txt").constData()), 0);
        if (file == "link")
            QCOMPARE(::symlink("codes.txt", name(disk + "/link.txt").constData()), 0);
        QVERIFY(fill(disk));
        const QStringList before = names(disk);

        qputenv("XDG_CACHE_HOME", name(cache));
        const std::optional<QString> failure =
            writeTextFile(file == "link" ? disk + "/link.txt" : target, kNew.repeated(repeat));
        qunsetenv("XDG_CACHE_HOME");

        QCOMPARE(failure, reason.isEmpty() ? std::nullopt : std::optional(reason));
        const QByteArray now = reason.isEmpty() ? kNewBytes : old;
        QCOMPARE(contents(target), file == "new" || file == "link" ? "(missing)" : now);
        if (file == "two names")
            QCOMPARE(contents(disk + "/other.txt"), now);
        QCOMPARE(names(disk), before); // nothing made, nothing left
        QCOMPARE(names(cache + "/mirthkey"), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestFileSystems)
#include "tst_file_systems.moc"
