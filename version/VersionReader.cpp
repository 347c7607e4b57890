// SPDX-License-Identifier: GPL-3.0-or-later
#include "VersionReader.h"

#include "ElfReader.h"
#include "PeReader.h"

namespace mirthkey::version {

std::optional<FixedFileVersion> readFileVersion(const ByteSource &source)
{
    const auto magic = source.read(0, 2);
    if (!magic)
        return std::nullopt;
    std::optional<Bytes> record;
    if ((*magic)[0] == 'M' && (*magic)[1] == 'Z')
        record = readPeVersionResource(source);
    else if ((*magic)[0] == 0x7f && (*magic)[1] == 'E')
        record = readElfVersionSection(source);
    if (!record)
        return std::nullopt;
    return parseVersionRecord(record->data(), record->size());
}

std::optional<FileVersion> readVersion(const std::string &path)
{
    const auto file = openFileSource(path);
    if (!file)
        return std::nullopt;
    const auto fixed = readFileVersion(*file);
    if (!fixed)
        return std::nullopt;
    const auto high = [](std::uint32_t value) { return static_cast<int>(value >> 16); };
    const auto low = [](std::uint32_t value) { return static_cast<int>(value & 0xffff); };
    return FileVersion{high(fixed->mostSignificant), low(fixed->mostSignificant),
                       high(fixed->leastSignificant), low(fixed->leastSignificant)};
}

} // namespace mirthkey::version
