// SPDX-License-Identifier: GPL-3.0-or-later
#include "SystemCalls_posix.h"

#include <QList>
#include <QRandomGenerator>
#include <algorithm>
#include <csignal>
#include <cstdio>
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

bool attributesOf(int fd, Attributes *attributes)
{
    // Set and read like any other attribute, but left out of the list.
    static const QByteArray kDosAttributes = QByteArrayLiteral("system.ntfs_attrib");
    QList<QByteArray> names;
    if (!attributeNames(fd, &names))
        return false;
    attributes->clear();
    for (const QByteArray &name : names) {
        QByteArray value;
        if (!attributeValue(fd, name, &value))
            return false;
        attributes->insert(name, value);
    }
    QByteArray dos;
    if (!attributes->contains(kDosAttributes) && attributeValue(fd, kDosAttributes, &dos))
        attributes->insert(kDosAttributes, dos);
    return true;
}

void copyAttributes(int from, int to)
{
    Attributes wanted;
    Attributes present;
    if (!attributesOf(from, &wanted) || !attributesOf(to, &present))
        return;
    // What the new file got by itself (a label, the folder's default ACL) may already be
    // right; it is only written where it differs, so an attribute the user may read but
    // not set does not matter when it needs none.
    for (auto it = wanted.cbegin(); it != wanted.cend(); ++it) {
        const auto there = present.constFind(it.key());
        if (there == present.cend() || *there != *it)
            ::fsetxattr(to, it.key().constData(), it->constData(), size_t(it->size()), 0);
    }
    for (auto it = present.cbegin(); it != present.cend(); ++it) {
        if (!wanted.contains(it.key()))
            ::fremovexattr(to, it.key().constData());
    }
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

namespace {

// The largest process number the kernel gives (PID_MAX_LIMIT).
constexpr quint64 kMaxProcess = quint64(1) << 22;

// `digits` as a number in `base` (up to 36, lower-case letters), exactly as
// QByteArray::number() writes it: no sign, no leading zero, at most `max`.
bool canonicalNumber(const QByteArray &digits, int base, quint64 max, quint64 *value)
{
    if (digits.isEmpty() || digits.size() > 7 || (digits.size() > 1 && digits[0] == '0'))
        return false;
    quint64 number = 0;
    for (const char c : digits) {
        const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'z' ? c - 'a' + 10 : 99;
        if (digit >= base)
            return false;
        number = number * quint64(base) + quint64(digit);
    }
    *value = number;
    return number <= max;
}

} // namespace

QByteArray temporaryName()
{
    return kTemporaryPrefix + QByteArray::number(qint64(::getpid())) + '-' +
           QByteArray::number(QRandomGenerator::global()->generate(), 36) + ".tmp";
}

qint64 temporaryProcess(const QByteArray &name)
{
    const qsizetype prefix = qstrlen(kTemporaryPrefix);
    if (!name.startsWith(kTemporaryPrefix) || !name.endsWith(".tmp") || name.size() < prefix + 4)
        return 0;
    const QByteArray middle = name.sliced(prefix, name.size() - prefix - 4);
    const qsizetype dash = middle.indexOf('-');
    quint64 process = 0;
    quint64 random = 0;
    if (dash < 0 || !canonicalNumber(middle.left(dash), 10, kMaxProcess, &process) ||
        process == 0 || !canonicalNumber(middle.sliced(dash + 1), 36, 0xffffffffU, &random))
        return 0;
    return qint64(process);
}

namespace {

// Long enough that a save still writing its temporary file is never taken for a left one.
constexpr time_t kStaleAfter = time_t(10) * 60;

// Only names this program makes are candidates. An early version named its files
// ".mirthkey-<random>.tmp", without the process number; but any short word fits there
// (".mirthkey-notes.tmp"), so such a name cannot be told from the user's own file and is
// left alone.
bool isStale(int dirFd, const char *name)
{
    const qint64 process = temporaryProcess(QByteArray(name));
    if (process == 0)
        return false;
    struct stat status {};
    if (::fstatat(dirFd, name, &status, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(status.st_mode) ||
        status.st_uid != ::geteuid() || status.st_nlink != 1)
        return false;
    const time_t age = std::time(nullptr) - status.st_mtime;
    return age > kStaleAfter && ::kill(pid_t(process), 0) != 0 && errno == ESRCH;
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

bool removeCreated(int dirFd, const QByteArray &name, const struct stat &created)
{
    const auto ours = [&](const QByteArray &entry) {
        struct stat now {};
        return ::fstatat(dirFd, entry.constData(), &now, AT_SYMLINK_NOFOLLOW) == 0 &&
               now.st_dev == created.st_dev && now.st_ino == created.st_ino && now.st_size == 0;
    };
    if (!ours(name))
        return false;
    // Moved aside before the last look, so that the file looked at is the one removed: a
    // file that took the name between a look and a removal by name would go instead.
    QByteArray aside;
    for (int attempt = 0; attempt < 100 && aside.isEmpty(); ++attempt) {
        const QByteArray candidate = temporaryName();
        int moved =
            ::renameat2(dirFd, name.constData(), dirFd, candidate.constData(), RENAME_NOREPLACE);
        if (moved != 0 && errno == EINVAL) // a file system without the flag
            moved = ::renameat(dirFd, name.constData(), dirFd, candidate.constData());
        if (moved == 0)
            aside = candidate;
        else if (errno != EEXIST)
            break;
    }
    if (aside.isEmpty()) // a file system that renames nothing: the look just made decides
        return ::unlinkat(dirFd, name.constData(), 0) == 0;
    if (ours(aside))
        return ::unlinkat(dirFd, aside.constData(), 0) == 0;
    // Another file took the name just before: it goes back, unless yet another one came.
    if (::renameat2(dirFd, aside.constData(), dirFd, name.constData(), RENAME_NOREPLACE) != 0 &&
        errno == EINVAL)
        ::renameat(dirFd, aside.constData(), dirFd, name.constData());
    return false;
}

} // namespace mirthkey::posix
