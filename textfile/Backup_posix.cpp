// SPDX-License-Identifier: GPL-3.0-or-later
#include "Backup_posix.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mirthkey::posix {

namespace {

constexpr int kMaxNumber = 100;

QByteArray backupName(const QByteArray &base, int number)
{
    QByteArray name = base + ".mirthkey-backup";
    if (number > 1)
        name += '-' + QByteArray::number(number);
    return name;
}

// $XDG_CACHE_HOME/mirthkey or ~/.cache/mirthkey, made when missing; empty when there is
// none.
QByteArray cacheFolder(const QByteArray &)
{
    QByteArray cache = qgetenv("XDG_CACHE_HOME");
    if (!cache.startsWith('/')) {
        QByteArray home = qgetenv("HOME");
        if (!home.startsWith('/')) {
            const passwd *user = ::getpwuid(::geteuid());
            home = user ? QByteArray(user->pw_dir) : QByteArray();
        }
        if (!home.startsWith('/'))
            return QByteArray();
        cache = home + "/.cache";
    }
    ::mkdir(cache.constData(), 0700);
    QByteArray folder = cache + "/mirthkey";
    if (::mkdir(folder.constData(), 0700) != 0 && errno != EEXIST)
        return QByteArray();
    return folder;
}

// For a user without a home folder.
QByteArray temporaryFolder(const QByteArray &)
{
    const QByteArray folder = qgetenv("TMPDIR");
    return folder.startsWith('/') ? folder : QByteArrayLiteral("/tmp");
}

void syncFolder(const QByteArray &folder)
{
    const Descriptor fd(
        retried([&] { return ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); }));
    if (fd.valid())
        ::fsync(fd.get());
}

} // namespace

bool Backup::make(int file, const QByteArray &name)
{
    const qsizetype slash = name.lastIndexOf('/');
    const QByteArray base = slash < 0 ? QByteArrayLiteral("text") : name.sliced(slash + 1);
    const QByteArray beside = slash < 0 ? QByteArray() : slash == 0 ? "/" : name.left(slash);
    for (const auto &folder :
         {+[](const QByteArray &near) { return near; }, &cacheFolder, &temporaryFolder}) {
        const QByteArray where = folder(beside);
        if (where.isEmpty())
            continue;
        if (makeIn(where, file, base))
            return true;
        // A folder the user may not write, on a read-only or full file system, or missing.
        if (errno != EACCES && errno != EPERM && errno != EROFS && errno != ENOENT &&
            errno != ENOSPC && errno != EDQUOT)
            return false;
    }
    return false;
}

bool Backup::makeIn(const QByteArray &folder, int file, const QByteArray &base)
{
    Descriptor dir(
        retried([&] { return ::open(folder.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC); }));
    if (!dir.valid())
        return false;
    // An unnamed file gets its name only once it holds the whole copy.
    Descriptor copy(
        retried([&] { return ::openat(dir.get(), ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0600); }));
    const bool unnamed = copy.valid();
    if (!unnamed && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
        return false;
    if (unnamed && !copyContent(file, copy.get()))
        return false;
    const QByteArray procName = "/proc/self/fd/" + QByteArray::number(copy.get());
    for (int number = 1; number <= kMaxNumber; ++number) {
        const QByteArray candidate = backupName(base, number);
        if (unnamed) {
            if (::linkat(AT_FDCWD, procName.constData(), dir.get(), candidate.constData(),
                         AT_SYMLINK_FOLLOW) != 0) {
                if (errno == EEXIST)
                    continue;
                return false;
            }
        } else {
            copy = Descriptor(retried([&] {
                return ::openat(dir.get(), candidate.constData(),
                                O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
            }));
            if (!copy.valid()) {
                if (errno == EEXIST)
                    continue;
                return false;
            }
        }
        m_name = candidate;
        m_folder = std::move(dir);
        if (!unnamed && !copyContent(file, copy.get())) {
            const int error = errno;
            remove();
            m_folder = Descriptor();
            errno = error;
            return false;
        }
        m_copy = std::move(copy);
        syncFolder(folder);
        return true;
    }
    errno = EEXIST;
    return false;
}

bool Backup::restoreInto(int file) const
{
    return copyContent(m_copy.get(), file);
}

void Backup::remove()
{
    if (!m_name.isEmpty())
        ::unlinkat(m_folder.get(), m_name.constData(), 0);
    m_name.clear();
}

} // namespace mirthkey::posix
