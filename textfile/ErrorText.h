// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

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
    Folder,       // a folder where a file was expected (the same words as EISDIR)
    LinkRefused,  // the system refuses to follow a symbolic link there
    NameMoved,    // the name came to point to another file during the save
    NoBackup,     // the old content could not be kept before writing over it
    SaveFailed,
    System, // the system's error code says it all
};
QString failureText(Failure failure);

// How a step of a save ended: done, or what failed with the system's error code that came
// with it (errno on POSIX, GetLastError() on Windows). Each writer passes it up as it is and
// reasonOf() words it once, at the end, so that a restore or a clean-up on the way back
// cannot change the code the user is told about.
class [[nodiscard]] Status {
public:
    using Code = qint64;

    Status() = default; // done
    // The system's error alone, read right after the call that failed.
    static Status system(Code code) { return Status(Failure::System, code, true); }
    // A failure of the save's own, without a system error or with the one that caused it.
    static Status failed(Failure failure) { return Status(failure, 0, false); }
    static Status failed(Failure failure, Code code) { return Status(failure, code, true); }

    bool ok() const { return !m_failed; }
    Failure failure() const { return m_failure; }
    // The system's error code; 0 when the failure came with none.
    Code code() const { return m_code; }
    bool hasCode() const { return m_hasCode; }

private:
    Status(Failure failure, Code code, bool hasCode)
        : m_failed(true), m_failure(failure), m_code(code), m_hasCode(hasCode)
    {}

    bool m_failed = false;
    Failure m_failure = Failure::System;
    Code m_code = 0;
    bool m_hasCode = false;
};

// The reason for the system's error `code`, in the words errorText() has for it (defined
// once per platform: ErrorText_posix.cpp, ErrorText_windows.cpp).
QString systemErrorText(Status::Code code);

// The reason a failed `status` gives the user: the system's words for a system error, the
// save's own words for its own failure, followed by the system's in brackets where one
// caused it. Nothing when it is done.
std::optional<QString> reasonOf(const Status &status);

} // namespace mirthkey
