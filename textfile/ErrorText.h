// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace mirthkey {

// The reason for a failed file operation, in Simplified Chinese, for the error number
// `error` (an errno value). Our own texts, so the message reads the same whatever the
// system's language or the translations installed; an error without a text of its own is
// named by its number.
QString errorText(int error);

// Failures of a save that no error number names, shared by every platform's writer.
enum class Failure {
    NotAFile,     // a device, pipe or socket where a file was expected
    ReadOnlyFile, // the file itself refuses writing (the same words as EACCES)
    LinkRefused,  // the system refuses to follow a symbolic link there
    NameMoved,    // the name came to point to another file during the save
    NoBackup,     // the old content could not be kept before writing over it
    OpenFailed,   // the system gave no reason it could name
    ReplaceFailed,
    SaveFailed,
};
QString failureText(Failure failure);

} // namespace mirthkey
