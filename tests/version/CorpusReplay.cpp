// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds every file of the given corpus directories to the fuzzer's entry point, with the normal
// compiler: a crash found once by fuzzing stays covered by the ordinary test run.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

// libFuzzer's entry point, named by libFuzzer.
extern "C" int LLVMFuzzerTestOneInput( // NOLINT(readability-identifier-naming)
    const std::uint8_t *data, std::size_t size);

int main(int argc, char **argv)
{
    std::size_t count = 0;
    for (int i = 1; i < argc; ++i) {
        for (const auto &entry : std::filesystem::directory_iterator(argv[i])) {
            if (!entry.is_regular_file())
                continue;
            std::ifstream in(entry.path(), std::ios::binary);
            const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t *>(bytes.data()),
                                   bytes.size());
            ++count;
        }
    }
    std::cout << "replayed " << count << " corpus files\n";
    return count > 0 ? 0 : 1;
}
