// SPDX-License-Identifier: GPL-3.0-or-later
#include "PeReader.h"

#include "VersionResource.h"

#include <algorithm>
#include <array>

namespace mirthkey::version {
namespace {

constexpr std::size_t kDosHeaderSize = 64;
constexpr std::size_t kNewHeaderPointer = 0x3c;
constexpr std::size_t kCoffHeaderSize = 20; // after the "PE\0\0" signature
constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::uint16_t kPe32Magic = 0x10b;
constexpr std::uint16_t kPe32PlusMagic = 0x20b;
constexpr std::size_t kPe32Directories = 96; // data directories inside the optional header
constexpr std::size_t kPe32PlusDirectories = 112;
constexpr std::size_t kResourceDirectory = 2;

constexpr std::size_t kDirectoryHeaderSize = 16;
constexpr std::size_t kDirectoryEntrySize = 8;
constexpr std::size_t kDataEntrySize = 16;
constexpr std::uint32_t kIsNameOrSubdirectory = 0x80000000;
constexpr std::uint32_t kVersionType = 16; // RT_VERSION

struct Section {
    std::uint32_t virtualAddress;
    std::uint32_t extent; // bytes backed by the file
    std::uint32_t rawOffset;
};

// Maps a range of relative virtual addresses to a file offset; the whole range has to lie in
// the file-backed part of one section.
std::optional<std::uint64_t> mapRange(const std::vector<Section> &sections, std::uint32_t rva,
                                      std::uint32_t size)
{
    for (const Section &s : sections) {
        if (rva >= s.virtualAddress && rva - s.virtualAddress < s.extent &&
            size <= s.extent - (rva - s.virtualAddress))
            return std::uint64_t{s.rawOffset} + (rva - s.virtualAddress);
    }
    return std::nullopt;
}

// The resource tree: every offset inside it is relative to its start and must stay inside it.
class ResourceTree {
public:
    ResourceTree(const ByteSource &file, std::uint64_t start, std::uint32_t size)
        : m_file(file), m_start(start), m_size(size)
    {}

    // The OffsetToData field of the first entry of the directory at offset that matches id (any
    // entry when id is empty).
    std::optional<std::uint32_t> find(std::uint32_t offset, std::optional<std::uint32_t> id) const
    {
        const auto header = read(offset, kDirectoryHeaderSize);
        if (!header)
            return std::nullopt;
        const std::size_t named = loadU16(header->data() + 12);
        const std::size_t total = named + loadU16(header->data() + 14);
        // Numeric ids follow the named entries; a wildcard takes whatever comes first.
        const std::size_t first = id ? named : 0;
        const std::size_t count = id ? total - named : std::min<std::size_t>(total, 1);
        if (count == 0)
            return std::nullopt;
        const std::uint64_t entriesAt =
            std::uint64_t{offset} + kDirectoryHeaderSize + first * kDirectoryEntrySize;
        const auto entries = read(entriesAt, count * kDirectoryEntrySize);
        if (!entries)
            return std::nullopt;
        for (std::size_t i = 0; i < count; ++i) {
            const unsigned char *entry = entries->data() + i * kDirectoryEntrySize;
            if (!id || loadU32(entry) == *id)
                return loadU32(entry + 4);
        }
        return std::nullopt;
    }

    std::optional<Bytes> read(std::uint64_t offset, std::size_t count) const
    {
        if (offset > m_size || count > m_size - offset)
            return std::nullopt;
        return m_file.read(m_start + offset, count);
    }

private:
    const ByteSource &m_file;
    std::uint64_t m_start;
    std::uint32_t m_size;
};

std::optional<std::vector<Section>> readSections(const ByteSource &file, std::uint64_t at,
                                                 std::size_t count)
{
    const auto table = file.read(at, count * kSectionHeaderSize);
    if (!table)
        return std::nullopt;
    std::vector<Section> sections;
    sections.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned char *header = table->data() + i * kSectionHeaderSize;
        const std::uint32_t virtualSize = loadU32(header + 8);
        const std::uint32_t rawSize = loadU32(header + 16);
        const std::uint32_t extent = virtualSize != 0 ? std::min(virtualSize, rawSize) : rawSize;
        sections.push_back({loadU32(header + 12), extent, loadU32(header + 20)});
    }
    return sections;
}

} // namespace

std::optional<Bytes> readPeVersionResource(const ByteSource &file)
{
    const auto dos = file.read(0, kDosHeaderSize);
    if (!dos || (*dos)[0] != 'M' || (*dos)[1] != 'Z')
        return std::nullopt;
    const std::uint64_t peAt = loadU32(dos->data() + kNewHeaderPointer);
    const auto pe = file.read(peAt, 4 + kCoffHeaderSize);
    if (!pe || loadU32(pe->data()) != 0x00004550) // "PE\0\0"
        return std::nullopt;
    const std::size_t sectionCount = loadU16(pe->data() + 4 + 2);
    const std::size_t optionalSize = loadU16(pe->data() + 4 + 16);

    // Only the optional header's prefix up to the resource directory entry is needed.
    const std::uint64_t optionalAt = peAt + 4 + kCoffHeaderSize;
    const auto magicBytes = file.read(optionalAt, 2);
    if (!magicBytes)
        return std::nullopt;
    const std::uint16_t magic = loadU16(magicBytes->data());
    if (magic != kPe32Magic && magic != kPe32PlusMagic)
        return std::nullopt;
    const std::size_t directories = magic == kPe32Magic ? kPe32Directories : kPe32PlusDirectories;
    const std::size_t needed = directories + 8 * (kResourceDirectory + 1);
    if (optionalSize < needed)
        return std::nullopt;
    const auto optional = file.read(optionalAt, needed);
    if (!optional || loadU32(optional->data() + directories - 4) <= kResourceDirectory)
        return std::nullopt;
    const std::uint32_t resourceRva =
        loadU32(optional->data() + directories + 8 * kResourceDirectory);
    const std::uint32_t resourceSize =
        loadU32(optional->data() + directories + 8 * kResourceDirectory + 4);

    const auto sections = readSections(file, optionalAt + optionalSize, sectionCount);
    if (!sections || resourceSize == 0)
        return std::nullopt;
    const auto treeAt = mapRange(*sections, resourceRva, resourceSize);
    if (!treeAt)
        return std::nullopt;

    // Type, then name, then language: exactly three levels of directories, then a data entry.
    // Each step must lead to a directory not seen before, so a cyclic tree ends here too.
    const ResourceTree tree(file, *treeAt, resourceSize);
    std::array<std::uint32_t, 3> visited{0, 0, 0};
    std::optional<std::uint32_t> next = tree.find(0, kVersionType);
    for (std::size_t level = 1; next && level < visited.size(); ++level) {
        if ((*next & kIsNameOrSubdirectory) == 0)
            return std::nullopt;
        visited[level] = *next & ~kIsNameOrSubdirectory;
        if (std::find(visited.begin(), visited.begin() + level, visited[level]) !=
            visited.begin() + level)
            return std::nullopt;
        next = tree.find(visited[level], std::nullopt);
    }
    if (!next || (*next & kIsNameOrSubdirectory) != 0)
        return std::nullopt;

    const auto dataEntry = tree.read(*next, kDataEntrySize);
    if (!dataEntry)
        return std::nullopt;
    const std::uint32_t dataRva = loadU32(dataEntry->data());
    const std::uint32_t dataSize = loadU32(dataEntry->data() + 4);
    const auto dataAt = mapRange(*sections, dataRva, dataSize);
    if (dataSize == 0 || !dataAt)
        return std::nullopt;
    return file.read(*dataAt, std::min<std::size_t>(dataSize, kMaxVersionRecordSize));
}

} // namespace mirthkey::version
