// SPDX-License-Identifier: GPL-3.0-or-later
// The text file on Windows. An existing file stays that file: its attributes (hidden,
// system), its security descriptor and its other names (hard links) survive a save, and
// a symbolic link stays a link to the file it reaches, under Wine a Unix one too.
#include "Backup_windows.h"
#include "EncodedPieces.h"
#include "ErrorText.h"
#include "SymbolicLink.h"
#include "SymbolicLink_windows.h"
#include "SystemCalls_windows.h"
#include "TextFile.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>
#include <string>
#include <windows.h>

namespace mirthkey {

using namespace windows;

namespace {

// The reason for a system error, in the words the Linux writer uses for the same failure.
QString reasonFor(DWORD error)
{
    switch (error) {
    case ERROR_ACCESS_DENIED:
        return errorText(EACCES);
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return errorText(ENOENT);
    case ERROR_DIRECTORY:
        return errorText(ENOTDIR);
    case ERROR_INVALID_NAME:
        return errorText(EINVAL);
    case ERROR_FILENAME_EXCED_RANGE:
        return errorText(ENAMETOOLONG);
    case ERROR_CANT_RESOLVE_FILENAME: // a loop of links
        return errorText(ELOOP);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return errorText(ENOSPC);
    case ERROR_WRITE_PROTECT:
        return errorText(EROFS);
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return errorText(EBUSY);
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return errorText(EEXIST);
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return errorText(ENOMEM);
    default:
        return failureText(Failure::SaveFailed);
    }
}

QString lastError()
{
    return reasonFor(GetLastError());
}

// The text in a new temporary file beside `target`, complete and flushed, closed. Returns
// the system's error, ERROR_SUCCESS when the file is there.
DWORD writeTemporary(const QString &target, const QString &text, QString *temporary)
{
    const QString folder = QFileInfo(target).absolutePath();
    Handle file;
    for (int attempt = 0; attempt < 100 && !file.valid(); ++attempt) {
        *temporary = folder + QStringLiteral("/.mirthkey-%1-%2.tmp")
                                  .arg(GetCurrentProcessId())
                                  .arg(QRandomGenerator::global()->generate(), 0, 36);
        file = createNew(*temporary);
        if (!file.valid() && GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    if (!file.valid())
        return GetLastError();
    if (!encodePieces(text, [&](const QByteArray &piece) { return writeAll(file.get(), piece); }) ||
        !FlushFileBuffers(file.get()) || !file.close()) {
        const DWORD error = GetLastError();
        file.close();
        DeleteFileW(native(*temporary).c_str());
        return error;
    }
    return ERROR_SUCCESS;
}

// Whether a failure to make a file in a folder says that the folder takes no new file
// (no permission to add one, no room for one): the file itself can still be written.
bool takesNoNewFile(DWORD error)
{
    return error == ERROR_ACCESS_DENIED || error == ERROR_DISK_FULL ||
           error == ERROR_HANDLE_DISK_FULL;
}

// The text written into the file itself, after its old content is kept in a backup: a
// crash or a failure never leaves the old text only in part. The file is open for
// writing by this save alone while it runs; `target` names it, the backup is named after
// it.
std::optional<QString> writeInPlace(HANDLE file, const QString &target, const QString &text)
{
    QByteArray bytes = encodeWhole(text);
    LARGE_INTEGER oldSize{};
    if (!GetFileSizeEx(file, &oldSize))
        return lastError();
    Backup backup;
    if (oldSize.QuadPart > 0 && !backup.make(file, target))
        return failureText(Failure::NoBackup) + QStringLiteral("（") + lastError() +
               QStringLiteral("）");
    const auto failed = [&] {
        const QString reason = lastError();
        if (oldSize.QuadPart == 0 ? seek(file, 0) && SetEndOfFile(file) : backup.restoreInto(file))
            backup.remove();
        return reason;
    };
    // The space first, past the old end, so that a text that does not fit fails before
    // the first old byte is overwritten.
    if (bytes.size() > oldSize.QuadPart && (!seek(file, bytes.size()) || !SetEndOfFile(file)))
        return failed();
    if (!seek(file, 0) || !writeAll(file, bytes) || !SetEndOfFile(file) || !FlushFileBuffers(file))
        return failed();
    backup.remove();
    return std::nullopt;
}

// The name a backup of the open `file` is named after: where the file really is, past
// any link, as on Linux.
QString backupName(HANDLE file, const QString &chosen)
{
    const QString reached = windows::finalPath(file);
    return reached.isEmpty() ? chosen : reached;
}

// A symbolic link that reaches no file: the file it names is made through it and takes
// the text, as on Linux; when that fails, the file made is gone again and the link
// reaches nothing as before. Wine says "already there" for a file it makes through a
// link, so a file that was empty counts as made by this save.
std::optional<QString> writeThroughLink(const QString &path, const QString &text)
{
    Handle file(CreateFileW(native(path).c_str(), GENERIC_READ | GENERIC_WRITE | DELETE,
                            FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        return lastError();
    if (GetFileType(file.get()) != FILE_TYPE_DISK)
        return failureText(Failure::NotAFile);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size))
        return lastError();
    const std::optional<QString> failure =
        writeInPlace(file.get(), backupName(file.get(), path), text);
    if (failure && size.QuadPart == 0) {
        FILE_DISPOSITION_INFO gone{TRUE};
        SetFileInformationByHandle(file.get(), FileDispositionInfo, &gone, sizeof gone);
    }
    return failure;
}

} // namespace

std::optional<QString> writeTextFile(const QString &path, const QString &text)
{
    const std::wstring target = native(path);
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        if (windows::isHiddenUnixLink(path))
            return writeThroughLink(path, text);
        if (error != ERROR_FILE_NOT_FOUND)
            return reasonFor(error);
        // A new file appears only when complete.
        QString temporary;
        if (const DWORD failure = writeTemporary(path, text, &temporary))
            return reasonFor(failure);
        if (MoveFileExW(native(temporary).c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH))
            return std::nullopt;
        const QString reason = lastError();
        DeleteFileW(native(temporary).c_str());
        return reason;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return errorText(EISDIR);
    if (attributes & FILE_ATTRIBUTE_READONLY)
        return errorText(EACCES);

    // Open for writing by this save alone: a second save into the file waits its turn by
    // failing, instead of mixing its text in.
    Handle file(CreateFileW(target.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        const DWORD error = GetLastError();
        if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) && isDanglingLink(path))
            return writeThroughLink(path, text);
        return reasonFor(error);
    }
    if (GetFileType(file.get()) != FILE_TYPE_DISK)
        return failureText(Failure::NotAFile);
    BY_HANDLE_FILE_INFORMATION information{};
    if (!GetFileInformationByHandle(file.get(), &information))
        return lastError();

    // A replacement keeps attributes and security descriptor, but not the other names of
    // a file, and it would take the place of a link; such a file is written in place, and
    // so is one whose folder takes no new file.
    const bool throughLink = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
                             windows::reachedThroughUnixLink(file.get(), path);
    if (information.nNumberOfLinks <= 1 && !throughLink) {
        QString temporary;
        const DWORD failure = writeTemporary(path, text, &temporary);
        if (failure != ERROR_SUCCESS && !takesNoNewFile(failure))
            return reasonFor(failure);
        if (failure == ERROR_SUCCESS) {
            file.close();
            if (ReplaceFileW(target.c_str(), native(temporary).c_str(), nullptr,
                             REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
                // Not every system carries these over itself.
                constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                        FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
                const DWORD kept = attributes & kKept;
                SetFileAttributesW(target.c_str(), kept ? kept : FILE_ATTRIBUTE_NORMAL);
                return std::nullopt;
            }
            DeleteFileW(native(temporary).c_str());
            file = Handle(CreateFileW(target.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
            if (!file.valid())
                return lastError();
        }
    }
    return writeInPlace(file.get(), backupName(file.get(), path), text);
}

} // namespace mirthkey
