// SPDX-License-Identifier: GPL-3.0-or-later
#include "SymbolicLink_windows.h"

#include "SymbolicLink.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <winternl.h>

namespace mirthkey {

namespace windows {

namespace {

std::wstring native(const QString &path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()).toStdWString();
}

// A function Wine exports beside Windows' own, or null.
template <typename Function> Function exported(const wchar_t *module, const char *name)
{
    return reinterpret_cast<Function>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(module), name)));
}

// Wine's major version, 0 outside Wine.
int wineVersion()
{
    static const int version = [] {
        const auto get = exported<const char *(CDECL *)()>(L"ntdll.dll", "wine_get_version");
        const char *text = get ? get() : nullptr;
        return text ? std::max(std::atoi(text), 1) : 0;
    }();
    return version;
}

// The Unix name Wine gives a Windows name: links are not followed, the last part is
// spelt as its folder lists it. Empty when Wine does not say.
QByteArray unixName(const std::wstring &name)
{
    static const auto toUnix =
        exported<char *(CDECL *)(LPCWSTR)>(L"kernel32.dll", "wine_get_unix_file_name");
    char *unix = toUnix ? toUnix(name.c_str()) : nullptr;
    if (!unix)
        return {};
    QByteArray result(unix);
    HeapFree(GetProcessHeap(), 0, unix);
    return result;
}

// The open file's full name as the system gives it ("\\?\C:\…").
std::wstring finalName(HANDLE file)
{
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD size = GetFinalPathNameByHandleW(file, name.data(), DWORD(name.size()),
                                                     FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (size == 0)
            return {};
        if (size < name.size()) {
            name.resize(size);
            return name;
        }
        name.resize(size); // too small: the size asked for counts the final null
    }
}

} // namespace

bool underWine()
{
    return wineVersion() > 0;
}

QString finalPath(HANDLE file)
{
    QString name = QString::fromStdWString(finalName(file));
    if (name.startsWith(QStringLiteral("\\\\?\\UNC\\")))
        name = QStringLiteral("\\\\") + name.mid(8);
    else if (name.startsWith(QStringLiteral("\\\\?\\")))
        name = name.mid(4);
    return QDir::fromNativeSeparators(name);
}

bool reachedThroughUnixLink(HANDLE file, const QString &path)
{
    if (!underWine())
        return false;
    // Wine opens a file by its Unix name and learns where it is with every link followed:
    // a name whose last part is a link reaches a file elsewhere than its folder and
    // name, both as Wine resolves them, say.
    const HANDLE folder =
        CreateFileW(native(QFileInfo(path).absolutePath()).c_str(), FILE_READ_ATTRIBUTES,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (folder == INVALID_HANDLE_VALUE)
        return true;
    const std::wstring folderReached = finalName(folder);
    CloseHandle(folder);
    const QByteArray entry = unixName(native(path));
    const QByteArray reached = unixName(finalName(file));
    QByteArray expected = unixName(folderReached);
    if (entry.isEmpty() || reached.isEmpty() || expected.isEmpty())
        return true;
    if (!expected.endsWith('/'))
        expected += '/';
    return reached != expected + entry.mid(entry.lastIndexOf('/') + 1);
}

bool isHiddenUnixLink(const QString &path)
{
    // wine_nt_to_unix_file_name has taken these arguments since before Wine 7.
    if (wineVersion() < 7)
        return false;
    using ToNtName = BOOLEAN(WINAPI *)(PCWSTR, PUNICODE_STRING, PWSTR *, void *);
    using ToUnixName = NTSTATUS(WINAPI *)(const OBJECT_ATTRIBUTES *, char *, ULONG *, UINT);
    using FreeName = void(WINAPI *)(PUNICODE_STRING);
    static const auto toNt = exported<ToNtName>(L"ntdll.dll", "RtlDosPathNameToNtPathName_U");
    static const auto toUnix = exported<ToUnixName>(L"ntdll.dll", "wine_nt_to_unix_file_name");
    static const auto freeName = exported<FreeName>(L"ntdll.dll", "RtlFreeUnicodeString");
    const std::wstring name = native(path);
    if (!toNt || !toUnix || !freeName ||
        GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES)
        return false;
    UNICODE_STRING ntName{};
    if (!toNt(name.c_str(), &ntName, nullptr, nullptr))
        return false;
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &ntName, OBJ_CASE_INSENSITIVE, nullptr, nullptr);
    // Asked for an existing name only, Wine looks the last part up in its folder's list,
    // where a link that reaches nothing is found too; a missing name is not.
    constexpr UINT kExisting = 1; // FILE_OPEN
    constexpr NTSTATUS kTooSmall = NTSTATUS(0xC0000023L);
    QByteArray unix(1024, '\0');
    ULONG size = ULONG(unix.size());
    const NTSTATUS status = toUnix(&attributes, unix.data(), &size, kExisting);
    freeName(&ntName);
    return status == 0 || status == kTooSmall;
}

} // namespace windows

bool isDanglingLink(const QString &path)
{
    const QFileInfo name(path);
    if (name.isSymbolicLink())
        return !name.exists();
    return windows::isHiddenUnixLink(path);
}

} // namespace mirthkey
