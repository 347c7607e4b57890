// SPDX-License-Identifier: GPL-3.0-or-later
// The text file on Linux and other POSIX systems: the name the user chose is opened
// through the kernel, so that its link protection (fs.protected_symlinks,
// fs.protected_regular) and the file's permissions decide, and everything after works on
// the file that open reached.
#include "Backup_posix.h"
#include "EncodedPieces.h"
#include "ErrorText.h"
#include "SystemCalls_posix.h"
#include "TextFile.h"

#include <QFile>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mirthkey {

using namespace posix;

namespace {

QString lastError()
{
    return errorText(errno);
}

bool sameFile(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The reason the chosen name could not be opened with `error`: a symbolic link that the
// kernel would not follow is named as such.
QString openFailure(const QByteArray &chosen, int error)
{
    struct stat entry {};
    if ((error == EACCES || error == EPERM) && ::lstat(chosen.constData(), &entry) == 0 &&
        S_ISLNK(entry.st_mode)) {
        const Descriptor reached(::open(chosen.constData(), O_PATH | O_CLOEXEC));
        if (!reached.valid() && (errno == EACCES || errno == EPERM))
            return failureText(Failure::LinkRefused);
    }
    return errorText(error);
}

// The text written into the file itself, over the old one. The whole text is encoded and
// the space it needs reserved first, so that a text which does not fit fails before the
// first old byte is overwritten; the old content is kept in a synced backup until the new
// one is on the disk, and put back if writing fails. `name` is the file's final name,
// empty when unknown.
std::optional<QString> writeInPlace(int fd, bool readable, const QByteArray &name,
                                    const QString &text)
{
    QByteArray bytes = encodeWhole(text);
    const off_t size = off_t(bytes.size());

    // Two saves into one file at once would mix their texts.
    if (!lockWhole(fd))
        return lastError();
    struct stat old {};
    if (::fstat(fd, &old) != 0)
        return lastError();

    Backup backup;
    if (old.st_size > 0) {
        if (!readable)
            return failureText(Failure::NoBackup);
        if (!backup.make(fd, name))
            return failureText(Failure::NoBackup) + QStringLiteral("（") + lastError() +
                   QStringLiteral("）");
    }
    bool touched = false;
    const auto failed = [&] {
        QString reason = lastError();
        const bool restored =
            !touched || (old.st_size == 0 ? retried([&] { return ::ftruncate(fd, 0); }) == 0
                                          : backup.restoreInto(fd));
        if (restored) // otherwise the backup stays where it is
            backup.remove();
        return reason;
    };

    // Reserving space the file already has takes none: a shorter text fits on a full disk.
    const int reserved = retried([&] { return ::fallocate(fd, 0, 0, size); });
    if (reserved != 0 && errno != EOPNOTSUPP && errno != ENOSYS)
        return failed();
    touched = true;
    if (reserved != 0 && size > old.st_size) {
        // Without the call, only what lies past the old end needs new space. The portable
        // call emulates it there by writing zeros, which never touches the old content.
        int error = 0;
        do
            error = ::posix_fallocate(fd, old.st_size, size - old.st_size);
        while (error == EINTR);
        if (error != 0) {
            errno = error;
            return failed();
        }
    }

    off_t offset = 0;
    if (!writeAll(fd, bytes, &offset))
        return failed();
    bytes = QByteArray();
    if (old.st_size > size && retried([&] { return ::ftruncate(fd, size); }) != 0)
        return failed();
    if (::fsync(fd) != 0 && errno != EINVAL) // EINVAL: a file that cannot be synced
        return failed();
    backup.remove();
    return std::nullopt;
}

enum class Replaced { Done, Failed, NotPossible };

// A new file made beside the target, which takes the target's name only when it is
// complete: until then the old file stays as it was. The new file gets the old one's
// owner, group, permissions and extended attributes (ACLs among them) first; NotPossible
// when it cannot (or the folder takes no new file or has no room for it), and the text
// has to be written into the file itself.
class Replacement {
public:
    Replacement(int file, const struct stat &old) : m_file(file), m_old(old) {}
    ~Replacement()
    {
        if (!m_temporary.isEmpty())
            ::unlinkat(m_folder.get(), m_temporary.constData(), 0);
    }
    Replacement(const Replacement &) = delete;
    Replacement &operator=(const Replacement &) = delete;

    Replaced write(const QString &text, QString *failure);

private:
    bool findName();
    bool create();
    Replaced takeIdentity();
    bool name();

    int m_file;
    struct stat m_old;
    Descriptor m_folder;
    QByteArray m_base; // the file's name in m_folder
    Descriptor m_new;
    QByteArray m_temporary; // the new file's name while it has one
};

// The folder and name the open file has now, checked against the file itself, so that
// the name replaced is the one that reaches the file the user's name reached.
bool Replacement::findName()
{
    QByteArray path;
    if (!nameOf(m_file, &path))
        return false;
    const qsizetype slash = path.lastIndexOf('/');
    m_base = path.sliced(slash + 1);
    const QByteArray folder = slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
    m_folder = Descriptor(
        retried([&] { return ::open(folder.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC); }));
    struct stat there {};
    struct stat dir {};
    // A file mounted over its name from another file system cannot be replaced.
    return m_folder.valid() && ::fstat(m_folder.get(), &dir) == 0 && dir.st_dev == m_old.st_dev &&
           ::fstatat(m_folder.get(), m_base.constData(), &there, AT_SYMLINK_NOFOLLOW) == 0 &&
           sameFile(there, m_old);
}

// The new file, unnamed where the file system allows it, so that a crash leaves nothing;
// otherwise under a temporary name. Either way the temporary files that saves which
// ended half way left in the folder (by an older version, or in the instant between
// naming the new file and the swap) go first.
bool Replacement::create()
{
    removeStaleTemporaries(m_folder.get());
    m_new = Descriptor(retried(
        [&] { return ::openat(m_folder.get(), ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600); }));
    if (m_new.valid() || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL))
        return m_new.valid();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray candidate = temporaryName();
        m_new = Descriptor(retried([&] {
            return ::openat(m_folder.get(), candidate.constData(),
                            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0600);
        }));
        if (m_new.valid()) {
            m_temporary = candidate;
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    return false;
}

// What the new file looks like in the end decides, not the errors on the way: a file
// system that stores no owner, mode or attributes (FAT, exFAT, NTFS without permissions)
// refuses to set them (EPERM, ENOSYS) but shows the new file just as the old one, and
// then replacing loses nothing; where a difference remains, the old file would lose part
// of what it is.
Replaced Replacement::takeIdentity()
{
    struct stat created {};
    if (::fstat(m_new.get(), &created) != 0)
        return Replaced::Failed;
    // A change of owner drops the set-user-ID and set-group-ID bits, so the mode after it;
    // the ACL after the mode, as it carries the mask that the group bits show.
    if (created.st_uid != m_old.st_uid || created.st_gid != m_old.st_gid) {
        if (::fchown(m_new.get(), m_old.st_uid, m_old.st_gid) != 0) {
            // Refused: what the file shows decides, as for the rest.
        }
        if (::fstat(m_new.get(), &created) != 0)
            return Replaced::Failed;
        if (created.st_uid != m_old.st_uid || created.st_gid != m_old.st_gid)
            return Replaced::NotPossible;
    }
    if ((created.st_mode & 07777) != (m_old.st_mode & 07777))
        ::fchmod(m_new.get(), m_old.st_mode & 07777);
    copyAttributes(m_file, m_new.get());

    // No class of users may gain or lose a right on the way (the system drops the
    // set-group-ID bit for a group the user is not in).
    Attributes wanted;
    Attributes got;
    if (::fstat(m_new.get(), &created) != 0)
        return Replaced::Failed;
    const bool same = created.st_uid == m_old.st_uid && created.st_gid == m_old.st_gid &&
                      (created.st_mode & 07777) == (m_old.st_mode & 07777) &&
                      attributesOf(m_file, &wanted) && attributesOf(m_new.get(), &got) &&
                      wanted == got;
    return same ? Replaced::Done : Replaced::NotPossible;
}

// A name for the complete unnamed file, beside the target.
bool Replacement::name()
{
    if (!m_temporary.isEmpty())
        return true;
    const QByteArray proc = "/proc/self/fd/" + QByteArray::number(m_new.get());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray candidate = temporaryName();
        if (::linkat(AT_FDCWD, proc.constData(), m_folder.get(), candidate.constData(),
                     AT_SYMLINK_FOLLOW) == 0) {
            m_temporary = candidate;
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    return false;
}

Replaced Replacement::write(const QString &text, QString *failure)
{
    if (!findName() || !create())
        return Replaced::NotPossible;
    const auto fail = [&] {
        *failure = lastError();
        return Replaced::Failed;
    };
    switch (takeIdentity()) {
    case Replaced::Done:
        break;
    case Replaced::Failed:
        return fail();
    case Replaced::NotPossible:
        return Replaced::NotPossible;
    }

    // A disk without room for a second copy may still take the text in the file itself.
    const auto full = [] { return errno == ENOSPC || errno == EDQUOT; };
    if (!encodePieces(text, [&](const QByteArray &piece) { return writeAll(m_new.get(), piece); }))
        return full() ? Replaced::NotPossible : fail();
    // On the disk before the name moves, or a crash could leave the name on an empty file.
    if (::fsync(m_new.get()) != 0 || !name())
        return full() ? Replaced::NotPossible : fail();
    // The name must still reach the file the user's name reached when it takes the new one.
    struct stat there {};
    if (::fstatat(m_folder.get(), m_base.constData(), &there, AT_SYMLINK_NOFOLLOW) != 0 ||
        !sameFile(there, m_old)) {
        *failure = failureText(Failure::NameMoved);
        return Replaced::Failed;
    }
    if (::renameat(m_folder.get(), m_temporary.constData(), m_folder.get(), m_base.constData()) !=
        0) {
        // A file mounted over its name cannot be replaced, only written; nor can one on a
        // file system that renames nothing over an existing name.
        if (errno == EBUSY || errno == EXDEV || errno == EPERM || errno == ENOSYS ||
            errno == EOPNOTSUPP || full())
            return Replaced::NotPossible;
        return fail();
    }
    m_temporary.clear();
    return Replaced::Done;
}

// The text into the open file `file`: replaced where that keeps everything the file is,
// written in place otherwise. `name` is its final name, empty when unknown.
std::optional<QString> save(Descriptor &file, const struct stat &old, bool readable,
                            const QByteArray &name, const QString &text)
{
    // Replacing a file with other names would leave them on the old text.
    if (old.st_nlink <= 1) {
        QString failure;
        switch (Replacement(file.get(), old).write(text, &failure)) {
        case Replaced::Done:
            return std::nullopt;
        case Replaced::Failed:
            return failure;
        case Replaced::NotPossible:
            break;
        }
    }
    std::optional<QString> failure = writeInPlace(file.get(), readable, name, text);
    if (!failure && !file.close())
        return lastError();
    return failure;
}

} // namespace

std::optional<QString> writeTextFile(const QString &path, const QString &text)
{
    const QByteArray chosen = QFile::encodeName(path);
    bool missing = false; // no file at the name, or a link that points nowhere
    {
        // A device, pipe or socket is not even opened for writing: opening some has effects.
        const Descriptor reached(
            retried([&] { return ::open(chosen.constData(), O_PATH | O_CLOEXEC); }));
        struct stat entry {};
        if (!reached.valid() && errno != ENOENT)
            return openFailure(chosen, errno);
        if (reached.valid() && ::fstat(reached.get(), &entry) != 0)
            return lastError();
        if (reached.valid() && S_ISDIR(entry.st_mode))
            return errorText(EISDIR);
        // A file could not take the place of such a node either: the swap into place would
        // take the name away from it (a privileged user may do so in /dev).
        if (reached.valid() && !S_ISREG(entry.st_mode))
            return failureText(Failure::NotAFile);
        missing = !reached.valid();
    }

    // A missing name, or a link to one, is created as the kernel allows; an existing file
    // is only opened, and its content stays as it is until the new one is complete.
    const int flags = O_CREAT | O_NOCTTY | O_NONBLOCK | O_CLOEXEC;
    bool readable = true;
    Descriptor file;
    // Made by this save, and removed again when it fails: certainly so when the name was
    // free, and a file that is still empty where a link that pointed nowhere now reaches.
    bool created = false;
    if (missing) {
        file = Descriptor(
            retried([&] { return ::open(chosen.constData(), O_RDWR | O_EXCL | flags, 0666); }));
        created = file.valid();
    }
    if (!file.valid()) {
        struct stat entry {};
        const bool link =
            missing && ::lstat(chosen.constData(), &entry) == 0 && S_ISLNK(entry.st_mode);
        file =
            Descriptor(retried([&] { return ::open(chosen.constData(), O_RDWR | flags, 0666); }));
        if (!file.valid() && errno == EACCES) {
            // A file its user may write but not read.
            file = Descriptor(
                retried([&] { return ::open(chosen.constData(), O_WRONLY | flags, 0666); }));
            readable = false;
        }
        created = link;
    }
    if (!file.valid())
        return openFailure(chosen, errno);
    struct stat old {};
    if (::fstat(file.get(), &old) != 0)
        return lastError();
    if (!S_ISREG(old.st_mode)) // it changed since the look above
        return failureText(Failure::NotAFile);
    created = created && old.st_size == 0;
    ::fcntl(file.get(), F_SETFL, ::fcntl(file.get(), F_GETFL) & ~O_NONBLOCK);

    QByteArray name;
    if (!nameOf(file.get(), &name))
        name.clear();
    std::optional<QString> failure = save(file, old, readable, name, text);
    if (failure && created && !name.isEmpty()) {
        const qsizetype slash = name.lastIndexOf('/');
        const QByteArray folder = slash == 0 ? QByteArrayLiteral("/") : name.left(slash);
        const Descriptor dir(
            retried([&] { return ::open(folder.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC); }));
        if (dir.valid())
            removeCreated(dir.get(), name.sliced(slash + 1), old);
    }
    return failure;
}

} // namespace mirthkey
