// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The system calls the text file writer builds on, each with its failure in errno.

#include <QByteArray>
#include <QMap>
#include <cerrno>
#include <sys/stat.h>
#include <sys/types.h>

namespace mirthkey::posix {

// An open file descriptor, closed when it goes out of scope unless close() took it.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : m_fd(fd) {}
    ~Descriptor();
    Descriptor(Descriptor &&other) noexcept : m_fd(other.m_fd) { other.m_fd = -1; }
    Descriptor &operator=(Descriptor &&other) noexcept;
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;

    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    // False with errno set when the system reports a failure that closing brought out.
    bool close();

private:
    int m_fd;
};

template <typename Call> auto retried(Call call)
{
    for (;;) {
        const auto result = call();
        if (result != -1 || errno != EINTR)
            return result;
    }
}

// Writes all of `bytes` at the descriptor's position, or at `*offset` and past it.
bool writeAll(int fd, const QByteArray &bytes, off_t *offset = nullptr);

// Replaces the content of `to` with that of `from`, both from their start, and syncs it.
bool copyContent(int from, int to);

// The extended attributes of a file by name (ACLs, both kinds, included), with the DOS
// attributes (hidden, system, archive) that NTFS drivers show as "system.ntfs_attrib"
// without listing them; empty where the file system has none. False when one cannot be
// read.
using Attributes = QMap<QByteArray, QByteArray>;
bool attributesOf(int fd, Attributes *attributes);

// Gives `to` the extended attributes of `from` as far as the file system lets it: an
// attribute only `to` has is removed. Whether `to` has them all is for attributesOf() to
// tell, not for the calls' errors (a file system may refuse to set what it would show
// alike anyway).
void copyAttributes(int from, int to);

// Waits for the advisory write lock of the whole file; true also where the file system
// has no locks.
bool lockWhole(int fd);

// The final name of the file open as `fd`, as the system reached it.
bool nameOf(int fd, QByteArray *name);

// The program's own temporary files are named ".mirthkey-<process>-<random>.tmp": a
// dot-file, so that it stays out of the way while it exists.
inline constexpr char kTemporaryPrefix[] = ".mirthkey-";

// A fresh name for a temporary file of this process, without the folder.
QByteArray temporaryName();

// The process number in `name` when it is exactly a name temporaryName() makes; 0 otherwise.
qint64 temporaryProcess(const QByteArray &name);

// Removes, in the folder `dirFd`, the temporary files an earlier run of the program left
// when it ended during a save: only this user's regular files with the program's names,
// whose process has gone and which have not changed for some minutes.
void removeStaleTemporaries(int dirFd);

// Removes `name` in the folder `dirFd` when it still reaches the file `created`, a file a
// failed save made, and that file is still empty; a file that took the name in the
// meantime stays. True when the name is gone.
bool removeCreated(int dirFd, const QByteArray &name, const struct stat &created);

} // namespace mirthkey::posix
