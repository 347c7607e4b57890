// SPDX-License-Identifier: GPL-3.0-or-later
#include "VersionResource.h"

#include "ByteSource.h"

namespace mirthkey::version {
namespace {

// Root block layout: wLength, wValueLength, wType (16 bits each), the key as NUL-terminated
// UTF-16LE, padding to a 32-bit boundary from the block start, then the VS_FIXEDFILEINFO value.
constexpr std::size_t kHeaderSize = 6;
constexpr char16_t kRootKey[] = u"VS_VERSION_INFO";
constexpr std::size_t kKeyUnits = sizeof(kRootKey) / sizeof(kRootKey[0]); // with the NUL
constexpr std::size_t kValueOffset = (kHeaderSize + 2 * kKeyUnits + 3) & ~std::size_t{3};

constexpr std::size_t kFixedInfoSize = 52;
constexpr std::size_t kFileVersionMsOffset = 8;
constexpr std::size_t kFileVersionLsOffset = 12;

} // namespace

std::optional<FixedFileVersion> parseVersionRecord(const unsigned char *data, std::size_t size)
{
    if (data == nullptr || size < kHeaderSize)
        return std::nullopt;
    const std::size_t length = loadU16(data);
    const std::size_t valueLength = loadU16(data + 2);
    const std::uint16_t type = loadU16(data + 4);
    // Everything below is bounded by the block's own length, and that by the bytes we have.
    if (length == 0 || length > size || type > 1)
        return std::nullopt;
    if (length < kValueOffset || valueLength < kFixedInfoSize ||
        valueLength > length - kValueOffset)
        return std::nullopt;
    for (std::size_t i = 0; i < kKeyUnits; ++i) {
        if (loadU16(data + kHeaderSize + 2 * i) != kRootKey[i])
            return std::nullopt;
    }
    // Only the two file-version words are used. The signature, the structure version and the
    // other words are never looked at, so a record that is odd there still gives its version.
    const unsigned char *value = data + kValueOffset;
    return FixedFileVersion{loadU32(value + kFileVersionMsOffset),
                            loadU32(value + kFileVersionLsOffset)};
}

} // namespace mirthkey::version
