// SPDX-License-Identifier: GPL-3.0-or-later
// Finds our version section in an ELF file and returns its bytes.
#pragma once

#include "ByteSource.h"

namespace mirthkey::version {

// The section that mirthkey_add_version_resource() puts into ELF executables; it holds the same
// VS_VERSIONINFO block a Windows build carries as its version resource.
inline constexpr char kVersionSectionName[] = ".mirthkey_version";

// The section's bytes (at most kMaxVersionRecordSize of them), or nothing when the file is not
// a little-endian ELF file, is malformed or has no such section.
std::optional<Bytes> readElfVersionSection(const ByteSource &file);

} // namespace mirthkey::version
