// SPDX-License-Identifier: GPL-3.0-or-later
#include "ElfReader.h"

#include "VersionResource.h"

#include <algorithm>
#include <cstring>

namespace mirthkey::version {
namespace {

constexpr std::size_t kIdentSize = 16;
constexpr unsigned char kMagic[] = {0x7f, 'E', 'L', 'F'};
constexpr unsigned char kClass32 = 1;
constexpr unsigned char kClass64 = 2;
constexpr unsigned char kLittleEndian = 1;
constexpr std::uint32_t kNoBits = 8;             // SHT_NOBITS: occupies no file space
constexpr std::uint16_t kExtendedIndex = 0xffff; // SHN_XINDEX
constexpr std::uint64_t kMaxSections = 0x10000;  // keeps the table read under 4 MB

struct Layout {
    std::size_t headerSize, shoff, shentsize, shnum, shstrndx; // offsets in the file header
    std::size_t entrySize, type, offset, size, link;           // offsets in a section header
    bool wide;                                                 // 64-bit fields
};

constexpr Layout kElf32{52, 0x20, 0x2e, 0x30, 0x32, 40, 4, 16, 20, 24, false};
constexpr Layout kElf64{64, 0x28, 0x3a, 0x3c, 0x3e, 64, 4, 24, 32, 40, true};

struct Section {
    std::uint32_t name, type, link;
    std::uint64_t offset, size;
};

Section parseSection(const Layout &layout, const unsigned char *p)
{
    const auto word = [&](std::size_t at) {
        return layout.wide ? loadU64(p + at) : loadU32(p + at);
    };
    return {loadU32(p), loadU32(p + layout.type), loadU32(p + layout.link), word(layout.offset),
            word(layout.size)};
}

bool hasFileBytes(const ByteSource &file, const Section &section)
{
    return section.type != kNoBits && file.contains(section.offset, section.size);
}

} // namespace

std::optional<Bytes> readElfVersionSection(const ByteSource &file)
{
    const auto ident = file.read(0, kIdentSize);
    if (!ident || std::memcmp(ident->data(), kMagic, sizeof(kMagic)) != 0)
        return std::nullopt;
    const unsigned char elfClass = (*ident)[4];
    if ((elfClass != kClass32 && elfClass != kClass64) || (*ident)[5] != kLittleEndian)
        return std::nullopt;
    const Layout &layout = elfClass == kClass64 ? kElf64 : kElf32;
    const auto header = file.read(0, layout.headerSize);
    if (!header)
        return std::nullopt;
    const unsigned char *h = header->data();
    const std::uint64_t tableAt =
        layout.wide ? loadU64(h + layout.shoff) : loadU32(h + layout.shoff);
    const std::size_t entrySize = loadU16(h + layout.shentsize);
    std::uint64_t count = loadU16(h + layout.shnum);
    std::uint32_t namesIndex = loadU16(h + layout.shstrndx);
    // A table entry of any other size is malformed, and would let a forged header make us read
    // far more than a section table's worth.
    if (tableAt == 0 || entrySize != layout.entrySize)
        return std::nullopt;

    // With many sections the real count and string-table index live in section 0.
    if (count == 0 || namesIndex == kExtendedIndex) {
        const auto first = file.read(tableAt, layout.entrySize);
        if (!first)
            return std::nullopt;
        const Section zero = parseSection(layout, first->data());
        if (count == 0)
            count = zero.size;
        if (namesIndex == kExtendedIndex)
            namesIndex = zero.link;
    }
    if (count == 0 || count > kMaxSections || namesIndex >= count)
        return std::nullopt;
    const auto table = file.read(tableAt, static_cast<std::size_t>(count) * entrySize);
    if (!table)
        return std::nullopt;
    const Section names = parseSection(layout, table->data() + namesIndex * entrySize);
    if (!hasFileBytes(file, names))
        return std::nullopt;

    constexpr std::size_t kNameSize = sizeof(kVersionSectionName); // with the NUL
    for (std::size_t i = 0; i < count; ++i) {
        const Section section = parseSection(layout, table->data() + i * entrySize);
        if (section.name > names.size || kNameSize > names.size - section.name)
            continue;
        const auto name = file.read(names.offset + section.name, kNameSize);
        if (!name)
            return std::nullopt;
        if (std::memcmp(name->data(), kVersionSectionName, kNameSize) != 0)
            continue;
        if (section.size == 0 || !hasFileBytes(file, section))
            return std::nullopt;
        return file.read(section.offset, static_cast<std::size_t>(std::min<std::uint64_t>(
                                             section.size, kMaxVersionRecordSize)));
    }
    return std::nullopt;
}

} // namespace mirthkey::version
