// SPDX-License-Identifier: GPL-3.0-or-later
// Windows' error codes in the words the Linux writer uses for the same failure.
#include "ErrorText.h"

#include <cerrno>
#include <windows.h>

namespace mirthkey {

QString systemErrorText(Status::Code code)
{
    switch (DWORD(code)) {
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

} // namespace mirthkey
