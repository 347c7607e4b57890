// SPDX-License-Identifier: GPL-3.0-or-later
// Reads the fixed part of a version record (a VS_VERSIONINFO block as stored in a Windows
// resource, or in our own ELF section).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace mirthkey::version {

// The file version from VS_FIXEDFILEINFO: dwFileVersionMS holds major/minor, dwFileVersionLS
// revision/build, each as a 16-bit half.
struct FixedFileVersion {
    std::uint32_t mostSignificant = 0;
    std::uint32_t leastSignificant = 0;
};

// A record's length field is 16 bits, so no reader ever needs more bytes than this.
inline constexpr std::size_t kMaxVersionRecordSize = 0xffff;

std::optional<FixedFileVersion> parseVersionRecord(const unsigned char *data, std::size_t size);

} // namespace mirthkey::version
