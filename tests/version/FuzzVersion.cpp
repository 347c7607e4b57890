// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer entry point over the version reader. The normal test run replays the committed
// corpus through this same function (version_corpus_replay).
#include "VersionReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

// Where the fixed record sits in a root block (after the header and the key), and where
// its two file-version words sit in it.
constexpr std::size_t kFixedInfoAt = 40;
constexpr std::size_t kFixedInfoSize = 52;
constexpr std::size_t kFileVersionAt = 8;
constexpr std::size_t kFileVersionEnd = 16;

// The answer for a bare record must not depend on any word of the fixed record but the
// file version: the same bytes with all the others inverted give the same answer.
void checkOnlyFileVersionCounts(const std::uint8_t *data, std::size_t size)
{
    using namespace mirthkey::version;
    if (size < kFixedInfoAt + kFixedInfoSize)
        return;
    std::vector<std::uint8_t> changed(data, data + size);
    for (std::size_t i = 0; i < kFixedInfoSize; ++i) {
        if (i < kFileVersionAt || i >= kFileVersionEnd)
            changed[kFixedInfoAt + i] ^= 0xff;
    }
    const auto original = parseVersionRecord(data, size);
    const auto other = parseVersionRecord(changed.data(), changed.size());
    if (original.has_value() != other.has_value() ||
        (original && (original->mostSignificant != other->mostSignificant ||
                      original->leastSignificant != other->leastSignificant)))
        std::abort();
}

} // namespace

// libFuzzer's entry point, named by libFuzzer.
extern "C" int LLVMFuzzerTestOneInput( // NOLINT(readability-identifier-naming)
    const std::uint8_t *data, std::size_t size)
{
    using namespace mirthkey::version;
    const MemorySource source(data, size);
    (void)readFileVersion(source);
    // The record parser straight on the input too, so mutations of a bare record count.
    (void)parseVersionRecord(data, size);
    checkOnlyFileVersionCounts(data, size);
    return 0;
}
