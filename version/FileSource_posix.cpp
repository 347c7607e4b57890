// SPDX-License-Identifier: GPL-3.0-or-later
// The POSIX side of ByteSource: a read-only descriptor plus positioned reads, so that a reader
// touching three small ranges of a 200 MB file costs three small reads.
#include "ByteSource.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// Says that ReadAt writes `count` bytes at `out` (`this` is argument 1). With _FORTIFY_SOURCE=3
// each pread below is then checked, as it runs, against what is left of the caller's buffer.
#if __has_cpp_attribute(gnu::access)
#define MIRTHKEY_WRITES_COUNT_BYTES_AT_OUT [[gnu::access(write_only, 4, 3)]]
#else
#define MIRTHKEY_WRITES_COUNT_BYTES_AT_OUT
#endif

namespace mirthkey::version {
namespace {

class PosixFileSource final : public ByteSource {
public:
    PosixFileSource(int fd, std::uint64_t size) : m_fd(fd), m_size(size) {}
    ~PosixFileSource() override { ::close(m_fd); }
    PosixFileSource(const PosixFileSource &) = delete;
    PosixFileSource &operator=(const PosixFileSource &) = delete;

    std::uint64_t size() const override { return m_size; }
    MIRTHKEY_WRITES_COUNT_BYTES_AT_OUT
    bool readAt(std::uint64_t offset, std::size_t count, unsigned char *out) const override
    {
        if (!contains(offset, count))
            return false;
        while (count > 0) {
            const ssize_t got = ::pread(m_fd, out, count, static_cast<off_t>(offset));
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                return false;
            out += got;
            offset += static_cast<std::uint64_t>(got);
            count -= static_cast<std::size_t>(got);
        }
        return true;
    }

private:
    int m_fd;
    std::uint64_t m_size;
};

} // namespace

std::unique_ptr<ByteSource> openFileSource(const std::string &path)
{
    // A name with an embedded NUL would silently name a different file.
    if (path.empty() || path.find('\0') != std::string::npos)
        return nullptr;
    // stat() follows symbolic links, so a link to a regular file counts as that file.
    struct stat named {};
    if (::stat(path.c_str(), &named) != 0 || !S_ISREG(named.st_mode))
        return nullptr;
    // O_NONBLOCK keeps a FIFO swapped in after the check from blocking the open.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return nullptr;
    struct stat opened {};
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode) || opened.st_size < 0) {
        ::close(fd);
        return nullptr;
    }
    return std::make_unique<PosixFileSource>(fd, static_cast<std::uint64_t>(opened.st_size));
}

} // namespace mirthkey::version
