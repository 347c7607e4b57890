// SPDX-License-Identifier: GPL-3.0-or-later
// Times CFileVersion::FillVersionInfo on one file and prints one line of figures:
//
//   bench_version <file> <label> [runs]
//   version read <label>: median 0.05 ms (min 0.04, max 0.07), n=9
#include "CFileVersion.h"
#include "Spread.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <file> <label> [runs]\n", argv[0]);
        return 2;
    }
    const std::string path = argv[1];
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 9;

    CFileVersion warmUp; // the first read also pays for the directory lookup
    if (!warmUp.FillVersionInfo(path)) {
        std::fprintf(stderr, "bench_version: no version read from %s\n", path.c_str());
        return 1;
    }
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        CFileVersion version;
        const auto start = std::chrono::steady_clock::now();
        const bool ok = version.FillVersionInfo(path);
        const auto stop = std::chrono::steady_clock::now();
        if (!ok)
            return 1;
        ms.push_back(std::chrono::duration<double, std::milli>(stop - start).count());
    }
    const auto s = mirthkey::bench::spreadOf(ms);
    std::printf("version read %s: median %.3f ms (min %.3f, max %.3f), n=%zu [%s]\n", argv[2],
                s.median, s.min, s.max, s.n, warmUp.versionString().c_str());
    return 0;
}
