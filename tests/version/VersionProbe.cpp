// SPDX-License-Identifier: GPL-3.0-or-later
// Reads its own version record and prints it; the tests compare it with the project version.
#include "CFileVersion.h"

#include <cstdio>

int main()
{
    CFileVersion version;
    if (!version.FillVersionInfo("/proc/self/exe")) {
        std::puts("no version");
        return 0;
    }
    std::puts(version.versionString().c_str());
    return 0;
}
