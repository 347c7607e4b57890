// SPDX-License-Identifier: GPL-3.0-or-later
#include "Links.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <string>
#include <windows.h>

namespace mirthkey::test {

namespace {

// One argument of a command line, as Windows programs (and Wine, for Unix ones) split it.
std::wstring quoted(const QString &argument)
{
    std::wstring result = L"\"";
    int backslashes = 0;
    for (const QChar c : argument) {
        if (c == u'\\') {
            ++backslashes;
            continue;
        }
        result.append(size_t(c == u'"' ? 2 * backslashes + 1 : backslashes), L'\\');
        backslashes = 0;
        result += wchar_t(c.unicode());
    }
    result.append(size_t(2 * backslashes), L'\\');
    return result + L'"';
}

struct FileId {
    DWORD volume = 0;
    quint64 index = 0;
    bool valid = false;
};

FileId fileId(const QString &path)
{
    FileId id;
    const HANDLE file =
        CreateFileW(QDir::toNativeSeparators(path).toStdWString().c_str(), FILE_READ_ATTRIBUTES,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return id;
    BY_HANDLE_FILE_INFORMATION information{};
    id.valid = GetFileInformationByHandle(file, &information) != 0;
    id.volume = information.dwVolumeSerialNumber;
    id.index = quint64(information.nFileIndexHigh) << 32 | information.nFileIndexLow;
    CloseHandle(file);
    return id;
}

} // namespace

bool makeSymbolicLink(const QString &target, const QString &name)
{
    if (!GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version"))
        return false;
    // CreateSymbolicLinkW does nothing under Wine; a Unix program started from a Windows
    // one runs in the Unix folder of the given working folder. It cannot be waited for,
    // the mark it leaves when done can.
    const QFileInfo link(name);
    const QString mark = link.fileName() + QStringLiteral(".made");
    std::wstring command = quoted(QStringLiteral("Z:\\bin\\sh")) + L" -c " +
                           quoted(QStringLiteral("ln -s -- \"$0\" \"$1\" && : >\"$2\"")) + L' ' +
                           quoted(target) + L' ' + quoted(link.fileName()) + L' ' + quoted(mark);
    const std::wstring folder = QDir::toNativeSeparators(link.absolutePath()).toStdWString();
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        folder.c_str(), &startup, &process))
        return false;
    const QString markPath = link.absoluteDir().filePath(mark);
    QDeadlineTimer deadline(10'000);
    while (!QFile::exists(markPath) && !deadline.hasExpired())
        QThread::msleep(10);
    return QFile::remove(markPath);
}

bool sameFile(const QString &a, const QString &b)
{
    const FileId first = fileId(a);
    const FileId second = fileId(b);
    return first.valid && second.valid && first.volume == second.volume &&
           first.index == second.index;
}

} // namespace mirthkey::test
