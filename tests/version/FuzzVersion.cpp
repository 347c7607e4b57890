// libFuzzer entry point over the version reader. The normal test run replays the committed
// corpus through this same function (version_corpus_replay).
#include "VersionReader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace mirthkey::version;
    const MemorySource source(data, size);
    (void)ReadFileVersion(source);
    // The record parser straight on the input too, so mutations of a bare record count.
    (void)ParseVersionRecord(data, size);
    return 0;
}
