// SPDX-License-Identifier: GPL-3.0-or-later
// Bounded random access to the bytes of a file or of a memory block.
//
// The readers never load a whole file: they ask for the few small ranges they need, and every
// request is checked against the size of the source before anything is read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace mirthkey::version {

using Bytes = std::vector<unsigned char>;

class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t size() const = 0;
    // Fills out with exactly count bytes starting at offset; false if the range does not lie
    // wholly inside the source or the read fails.
    virtual bool readAt(std::uint64_t offset, std::size_t count, unsigned char *out) const = 0;

    // Convenience wrapper returning the bytes, or nothing on any failure.
    std::optional<Bytes> read(std::uint64_t offset, std::size_t count) const;
    bool contains(std::uint64_t offset, std::uint64_t count) const
    {
        return offset <= size() && count <= size() - offset;
    }
};

class MemorySource final : public ByteSource {
public:
    MemorySource(const unsigned char *data, std::size_t size) : m_data(data), m_size(size) {}
    std::uint64_t size() const override { return m_size; }
    bool readAt(std::uint64_t offset, std::size_t count, unsigned char *out) const override;

private:
    const unsigned char *m_data;
    std::size_t m_size;
};

// Opens path (UTF-8) read-only. Only regular files are opened; directories, devices, pipes and
// (on Windows) hidden or system files give nullptr.
std::unique_ptr<ByteSource> openFileSource(const std::string &path);

inline std::uint16_t loadU16(const unsigned char *p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

inline std::uint32_t loadU32(const unsigned char *p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

inline std::uint64_t loadU64(const unsigned char *p)
{
    return static_cast<std::uint64_t>(loadU32(p)) |
           (static_cast<std::uint64_t>(loadU32(p + 4)) << 32);
}

} // namespace mirthkey::version
