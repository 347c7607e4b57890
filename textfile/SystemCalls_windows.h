// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The Windows calls the text file writer and its backup build on, each with its failure in
// the thread's last error.

#include <QByteArray>
#include <QString>
#include <string>
#include <windows.h>

namespace mirthkey::windows {

// An open handle, closed when it goes out of scope unless close() took it.
class Handle {
public:
    explicit Handle(HANDLE handle = INVALID_HANDLE_VALUE) : m_handle(handle) {}
    ~Handle() { close(); }
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;
    Handle &operator=(Handle &&other) noexcept
    {
        if (this != &other) {
            close();
            m_handle = other.m_handle;
            other.m_handle = INVALID_HANDLE_VALUE;
        }
        return *this;
    }

    HANDLE get() const { return m_handle; }
    bool valid() const { return m_handle != INVALID_HANDLE_VALUE; }
    bool close()
    {
        const HANDLE handle = m_handle;
        m_handle = INVALID_HANDLE_VALUE;
        return handle == INVALID_HANDLE_VALUE || CloseHandle(handle) != 0;
    }

private:
    HANDLE m_handle;
};

// A Qt path as the wide-character calls take it.
std::wstring native(const QString &path);

// Writes all of `bytes` at the file's position.
bool writeAll(HANDLE file, const QByteArray &bytes);

// Moves the file's position to `offset` from its start.
bool seek(HANDLE file, qint64 offset);

// Replaces the content of `to` with that of `from`, both from their start, and flushes it.
bool copyContent(HANDLE from, HANDLE to);

// A new file that nobody else may open while it is written.
Handle createNew(const QString &path);

} // namespace mirthkey::windows
