// SPDX-License-Identifier: GPL-3.0-or-later
#include "PosixFile.h"

#include <QList>
#include <QRandomGenerator>
#include <algorithm>
#include <csignal>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace mirthkey::posix {

Descriptor::~Descriptor()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

Descriptor &Descriptor::operator=(Descriptor &&other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = other.m_fd;
        other.m_fd = -1;
    }
    return *this;
}

bool Descriptor::close()
{
    const int fd = m_fd;
    m_fd = -1;
    return ::close(fd) == 0 || errno == EINTR;
}

bool writeAll(int fd, const QByteArray &bytes, off_t *offset)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const char *from = bytes.constData() + done;
        const size_t count = size_t(bytes.size() - done);
        const ssize_t written = retried(
            [&] { return offset ? ::pwrite(fd, from, count, *offset) : ::write(fd, from, count); });
        if (written < 0)
            return false;
        if (written == 0) {
            errno = ENOSPC;
            return false;
        }
        done += qsizetype(written);
        if (offset)
            *offset += written;
    }
    return true;
}

bool copyContent(int from, int to)
{
    struct stat source {};
    if (::fstat(from, &source) != 0)
        return false;
    off_t in = 0;
    off_t out = 0;
    // The kernel copies without the data passing through the program where it can.
    while (in < source.st_size) {
        const ssize_t copied = retried(
            [&] { return ::copy_file_range(from, &in, to, &out, size_t(source.st_size - in), 0); });
        if (copied > 0)
            continue;
        if (copied == 0) { // the file became shorter on the way
            errno = EIO;
            return false;
        }
        if (errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP &&
            errno != EPERM)
            return false;
        QByteArray buffer(qsizetype(1) << 20, Qt::Uninitialized);
        while (in < source.st_size) {
            const ssize_t got =
                retried([&] { return ::pread(from, buffer.data(), size_t(buffer.size()), in); });
            if (got == 0)
                errno = EIO;
            if (got <= 0)
                return false;
            in += got;
            if (!writeAll(to, QByteArray::fromRawData(buffer.constData(), got), &out))
                return false;
        }
    }
    return retried([&] { return ::ftruncate(to, source.st_size); }) == 0 && ::fsync(to) == 0;
}

namespace {

// The names of the extended attributes of `fd`; none where the file system has none.
bool attributeNames(int fd, QList<QByteArray> *names)
{
    QByteArray list;
    for (;;) {
        const ssize_t size = ::flistxattr(fd, nullptr, 0);
        if (size < 0)
            return errno == ENOTSUP;
        list.resize(size);
        const ssize_t got = ::flistxattr(fd, list.data(), size_t(size));
        if (got >= 0) {
            list.truncate(got);
            break;
        }
        if (errno != ERANGE)
            return false;
    }
    names->clear();
    for (const QByteArray &name : list.split('\0')) {
        if (!name.isEmpty())
            names->append(name);
    }
    return true;
}

bool attributeValue(int fd, const QByteArray &name, QByteArray *value)
{
    for (;;) {
        const ssize_t size = ::fgetxattr(fd, name.constData(), nullptr, 0);
        if (size < 0)
            return false;
        value->resize(size);
        const ssize_t got = ::fgetxattr(fd, name.constData(), value->data(), size_t(size));
        if (got >= 0) {
            value->truncate(got);
            return true;
        }
        if (errno != ERANGE)
            return false;
    }
}

} // namespace

bool copyAttributes(int from, int to)
{
    QList<QByteArray> wanted;
    QList<QByteArray> present;
    if (!attributeNames(from, &wanted) || !attributeNames(to, &present))
        return false;
    // What the new file got by itself (a label, the folder's default ACL) may already be
    // right; it is only written where it differs, so an attribute the user may read but
    // not set does not stop the copy when it needs none.
    for (const QByteArray &name : wanted) {
        QByteArray value;
        QByteArray current;
        if (!attributeValue(from, name, &value))
            return false;
        if (present.contains(name) && attributeValue(to, name, &current) && current == value)
            continue;
        if (::fsetxattr(to, name.constData(), value.constData(), size_t(value.size()), 0) != 0)
            return false;
    }
    for (const QByteArray &name : present) {
        if (!wanted.contains(name) && ::fremovexattr(to, name.constData()) != 0)
            return false;
    }
    return true;
}

bool lockWhole(int fd)
{
    struct flock whole {};
    whole.l_type = F_WRLCK;
    whole.l_whence = SEEK_SET;
    if (retried([&] { return ::fcntl(fd, F_OFD_SETLKW, &whole); }) == 0)
        return true;
    if (errno == EINVAL) // a kernel without locks per open file
        return retried([&] { return ::flock(fd, LOCK_EX); }) == 0 || errno == ENOLCK;
    return errno == ENOLCK || errno == EOPNOTSUPP;
}

bool nameOf(int fd, QByteArray *name)
{
    const QByteArray link = "/proc/self/fd/" + QByteArray::number(fd);
    QByteArray target(4096, Qt::Uninitialized);
    const ssize_t length = ::readlink(link.constData(), target.data(), size_t(target.size()));
    if (length <= 0 || length >= target.size())
        return false;
    target.truncate(length);
    struct stat entry {};
    // A file that lost its last name reads "… (deleted)".
    if (!target.startsWith('/') || ::fstat(fd, &entry) != 0 || entry.st_nlink == 0)
        return false;
    *name = target;
    return true;
}

QByteArray temporaryName()
{
    return kTemporaryPrefix + QByteArray::number(qint64(::getpid())) + '-' +
           QByteArray::number(QRandomGenerator::global()->generate(), 36) + ".tmp";
}

namespace {

// Long enough that a save still writing its temporary file is never taken for a left one.
constexpr time_t kStaleAfter = time_t(10) * 60;
// A name without the process number comes from an older version of the program.
constexpr time_t kStaleWithoutProcess = time_t(24) * 60 * 60;

bool isStale(int dirFd, const char *name)
{
    const QByteArray entry(name);
    if (!entry.startsWith(kTemporaryPrefix) || !entry.endsWith(".tmp"))
        return false;
    struct stat status {};
    if (::fstatat(dirFd, name, &status, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(status.st_mode) ||
        status.st_uid != ::geteuid() || status.st_nlink != 1)
        return false;
    const time_t age = std::time(nullptr) - status.st_mtime;
    const QByteArray middle =
        entry.sliced(qstrlen(kTemporaryPrefix), entry.size() - qstrlen(kTemporaryPrefix) - 4);
    const qsizetype dash = middle.indexOf('-');
    bool numbered = false;
    const qint64 pid = dash > 0 ? middle.left(dash).toLongLong(&numbered) : 0;
    if (!numbered || pid <= 0)
        return age > kStaleWithoutProcess;
    return age > kStaleAfter && ::kill(pid_t(pid), 0) != 0 && errno == ESRCH;
}

} // namespace

void removeStaleTemporaries(int dirFd)
{
    const int listing =
        retried([&] { return ::openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
    if (listing < 0)
        return;
    DIR *folder = ::fdopendir(listing);
    if (!folder) {
        ::close(listing);
        return;
    }
    QList<QByteArray> stale;
    while (const dirent *entry = ::readdir(folder)) {
        if (isStale(dirFd, entry->d_name))
            stale.append(entry->d_name);
    }
    ::closedir(folder);
    for (const QByteArray &name : stale)
        ::unlinkat(dirFd, name.constData(), 0);
}

} // namespace mirthkey::posix
