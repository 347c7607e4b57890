// SPDX-License-Identifier: GPL-3.0-or-later
// The one entry point from file bytes to a file version, shared by CFileVersion, the fuzzer and
// the corpus replay.
#pragma once

#include "ByteSource.h"
#include "VersionResource.h"

namespace mirthkey::version {

// Reads the version record of a PE image (.exe/.dll) or of an ELF file carrying our section.
std::optional<FixedFileVersion> ReadFileVersion(const ByteSource &source);

} // namespace mirthkey::version
