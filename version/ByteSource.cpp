// SPDX-License-Identifier: GPL-3.0-or-later
#include "ByteSource.h"

#include <cstring>

namespace mirthkey::version {

std::optional<Bytes> ByteSource::read(std::uint64_t offset, std::size_t count) const
{
    if (!contains(offset, count))
        return std::nullopt;
    Bytes bytes(count);
    if (count != 0 && !readAt(offset, count, bytes.data()))
        return std::nullopt;
    return bytes;
}

bool MemorySource::readAt(std::uint64_t offset, std::size_t count, unsigned char *out) const
{
    if (!contains(offset, count))
        return false;
    if (count != 0)
        std::memcpy(out, m_data + offset, count);
    return true;
}

} // namespace mirthkey::version
