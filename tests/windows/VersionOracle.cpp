// SPDX-License-Identifier: GPL-3.0-or-later
// Reads the version of every file named on the command line, or found directly in a folder
// named there, twice: with CFileVersion, and with the system's own
// GetFileVersionInfoW/VerQueryValueW. Prints one line per disagreement and a summary;
// exits 1 when any file disagrees. Under Wine the system's answer is Wine's version.dll,
// an implementation written independently of ours.
#include "CFileVersion.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>
#include <windows.h>

namespace {

struct Answer {
    bool found = false;
    unsigned words[4] = {};
};

std::wstring widen(const std::string &utf8)
{
    const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring wide(std::size_t(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), wide.data(), size);
    return wide;
}

Answer systemAnswer(const std::string &path)
{
    Answer answer;
    const std::wstring wide = widen(path);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(wide.c_str(), &ignored);
    if (size == 0)
        return answer;
    std::vector<unsigned char> data(size);
    if (!GetFileVersionInfoW(wide.c_str(), 0, size, data.data()))
        return answer;
    VS_FIXEDFILEINFO *fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void **>(&fixed), &length) ||
        length < sizeof(VS_FIXEDFILEINFO))
        return answer;
    answer.found = true;
    answer.words[0] = HIWORD(fixed->dwFileVersionMS);
    answer.words[1] = LOWORD(fixed->dwFileVersionMS);
    answer.words[2] = HIWORD(fixed->dwFileVersionLS);
    answer.words[3] = LOWORD(fixed->dwFileVersionLS);
    return answer;
}

Answer ourAnswer(const std::string &path)
{
    Answer answer;
    CFileVersion version;
    answer.found = version.FillVersionInfo(path);
    answer.words[0] = unsigned(version.Major());
    answer.words[1] = unsigned(version.Minor());
    answer.words[2] = unsigned(version.Revision());
    answer.words[3] = unsigned(version.Build());
    return answer;
}

std::string text(const Answer &answer)
{
    if (!answer.found)
        return "none";
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%u.%u.%u.%u", answer.words[0], answer.words[1],
                  answer.words[2], answer.words[3]);
    return buffer;
}

} // namespace

int main(int argc, char *argv[])
{
    namespace fs = std::filesystem;
    std::vector<std::string> paths;
    for (int i = 1; i < argc; ++i) {
        std::error_code error;
        if (!fs::is_directory(argv[i], error)) {
            paths.push_back(argv[i]);
            continue;
        }
        std::vector<std::string> found;
        for (const fs::directory_entry &entry : fs::directory_iterator(argv[i], error)) {
            if (entry.is_regular_file(error)) {
                const std::u8string name = entry.path().u8string();
                found.emplace_back(name.begin(), name.end());
            }
        }
        std::sort(found.begin(), found.end());
        paths.insert(paths.end(), found.begin(), found.end());
    }
    int withVersion = 0, without = 0, disagree = 0;
    for (const std::string &path : paths) {
        const std::string ours = text(ourAnswer(path));
        const std::string system = text(systemAnswer(path));
        if (ours != system) {
            ++disagree;
            std::printf("DIFFERENT %s: ours %s, system %s\n", path.c_str(), ours.c_str(),
                        system.c_str());
        } else if (ours == "none") {
            ++without;
        } else {
            ++withVersion;
        }
    }
    std::printf("%zu files: %d agree with a version, %d agree on none, %d disagree\n", paths.size(),
                withVersion, without, disagree);
    return disagree == 0 && !paths.empty() ? 0 : 1;
}
