// SPDX-License-Identifier: GPL-3.0-or-later
// The one entry point from file bytes to a file version, shared by CFileVersion, the fuzzer and
// the corpus replay.
#pragma once

#include "ByteSource.h"
#include "VersionResource.h"

#include <optional>
#include <string>

namespace mirthkey::version {

// Reads the version record of a PE image (.exe/.dll) or of an ELF file carrying our section.
std::optional<FixedFileVersion> readFileVersion(const ByteSource &source);

// The four numbers of a file version, each an unsigned 16-bit half of the fixed record
// (0..65535: a component of 40000 is not negative).
struct FileVersion {
    int major = 0;
    int minor = 0;
    int revision = 0;
    int build = 0;
};

// The version of the file at `path` (bytes on Linux, UTF-8 on Windows), or nothing when it is
// missing, not a regular file or has no readable version record.
std::optional<FileVersion> readVersion(const std::string &path);

} // namespace mirthkey::version
