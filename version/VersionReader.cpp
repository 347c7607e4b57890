// SPDX-License-Identifier: GPL-3.0-or-later
#include "VersionReader.h"

#include "ElfReader.h"
#include "PeReader.h"

namespace mirthkey::version {

std::optional<FixedFileVersion> ReadFileVersion(const ByteSource &source)
{
    const auto magic = source.Read(0, 2);
    if (!magic)
        return std::nullopt;
    std::optional<Bytes> record;
    if ((*magic)[0] == 'M' && (*magic)[1] == 'Z')
        record = ReadPeVersionResource(source);
    else if ((*magic)[0] == 0x7f && (*magic)[1] == 'E')
        record = ReadElfVersionSection(source);
    if (!record)
        return std::nullopt;
    return ParseVersionRecord(record->data(), record->size());
}

} // namespace mirthkey::version
