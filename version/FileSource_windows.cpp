// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows side of ByteSource: a read-only handle plus positioned reads, so that a reader
// touching three small ranges of a 200 MB file costs three small reads.
#include "ByteSource.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace mirthkey::version {
namespace {

std::wstring widen(const std::string &utf8)
{
    if (utf8.empty() || utf8.size() > 0x7fffffff)
        return {};
    const int size = static_cast<int>(utf8.size());
    const int wide =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, nullptr, 0);
    if (wide <= 0)
        return {};
    std::wstring result(static_cast<std::size_t>(wide), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, result.data(), wide);
    return result;
}

constexpr DWORD kNotAFile =
    FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

class WindowsFileSource final : public ByteSource {
public:
    WindowsFileSource(HANDLE handle, std::uint64_t size) : m_handle(handle), m_size(size) {}
    ~WindowsFileSource() override { CloseHandle(m_handle); }
    WindowsFileSource(const WindowsFileSource &) = delete;
    WindowsFileSource &operator=(const WindowsFileSource &) = delete;

    std::uint64_t size() const override { return m_size; }
    bool readAt(std::uint64_t offset, std::size_t count, unsigned char *out) const override
    {
        if (!contains(offset, count))
            return false;
        while (count > 0) {
            OVERLAPPED at{};
            at.Offset = static_cast<DWORD>(offset);
            at.OffsetHigh = static_cast<DWORD>(offset >> 32);
            const DWORD chunk = count > 0x40000000 ? 0x40000000 : static_cast<DWORD>(count);
            DWORD got = 0;
            if (!ReadFile(m_handle, out, chunk, &got, &at) || got == 0)
                return false;
            out += got;
            offset += got;
            count -= got;
        }
        return true;
    }

private:
    HANDLE m_handle;
    std::uint64_t m_size;
};

} // namespace

std::unique_ptr<ByteSource> openFileSource(const std::string &path)
{
    // A name with an embedded NUL would silently name a different file.
    if (path.empty() || path.find('\0') != std::string::npos)
        return nullptr;
    const std::wstring wide = widen(path);
    if (wide.empty())
        return nullptr;
    // Hidden and system files count as missing, as does anything that is not a plain disk file.
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & kNotAFile) != 0)
        return nullptr;
    HANDLE handle = CreateFileW(wide.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return nullptr;
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileInformationByHandle(handle, &info) ||
        (info.dwFileAttributes & kNotAFile) != 0) {
        CloseHandle(handle);
        return nullptr;
    }
    const std::uint64_t size =
        (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    return std::make_unique<WindowsFileSource>(handle, size);
}

} // namespace mirthkey::version
