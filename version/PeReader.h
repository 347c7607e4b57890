// SPDX-License-Identifier: GPL-3.0-or-later
// Finds the version resource (RT_VERSION) of a PE32 or PE32+ image and returns its bytes.
#pragma once

#include "ByteSource.h"

namespace mirthkey::version {

// The raw VS_VERSIONINFO bytes (at most kMaxVersionRecordSize of them), or nothing when the
// image is malformed or has no version resource.
std::optional<Bytes> readPeVersionResource(const ByteSource &file);

} // namespace mirthkey::version
