// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The system calls the text file writer builds on, each with its failure in errno.

#include <QByteArray>
#include <cerrno>
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

// Gives `to` exactly the extended attributes of `from` (ACLs, both kinds, included): an
// attribute only `to` has is removed. False when one cannot be read, written or removed.
bool copyAttributes(int from, int to);

// Waits for the advisory write lock of the whole file; true also where the file system
// has no locks.
bool lockWhole(int fd);

// The final name of the file open as `fd`, as the system reached it.
bool nameOf(int fd, QByteArray *name);

// A name beginning with this and ending in ".tmp" is one of the program's own temporary
// files: a dot-file, so that it stays out of the way while it exists.
inline constexpr char kTemporaryPrefix[] = ".mirthkey-";

// A fresh name for a temporary file of this process, without the folder.
QByteArray temporaryName();

// Removes, in the folder `dirFd`, the temporary files an earlier run of the program left
// when it ended during a save: only this user's regular files with the program's names,
// whose process has gone and which have not changed for some minutes.
void removeStaleTemporaries(int dirFd);

} // namespace mirthkey::posix
