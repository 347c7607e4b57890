// SPDX-License-Identifier: GPL-3.0-or-later
#include "SystemCalls_windows.h"

#include <QDir>
#include <algorithm>

namespace mirthkey::windows {

std::wstring native(const QString &path)
{
    return QDir::toNativeSeparators(path).toStdWString();
}

bool writeAll(HANDLE file, const QByteArray &bytes)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const DWORD count = DWORD(std::min<qsizetype>(bytes.size() - done, 1 << 30));
        DWORD written = 0;
        if (!WriteFile(file, bytes.constData() + done, count, &written, nullptr))
            return false;
        if (written == 0) {
            SetLastError(ERROR_DISK_FULL);
            return false;
        }
        done += written;
    }
    return true;
}

bool seek(HANDLE file, qint64 offset)
{
    LARGE_INTEGER to;
    to.QuadPart = offset;
    return SetFilePointerEx(file, to, nullptr, FILE_BEGIN) != 0;
}

bool copyContent(HANDLE from, HANDLE to)
{
    if (!seek(from, 0) || !seek(to, 0))
        return false;
    QByteArray buffer(qsizetype(1) << 20, Qt::Uninitialized);
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(from, buffer.data(), DWORD(buffer.size()), &got, nullptr))
            return false;
        if (got == 0)
            break;
        if (!writeAll(to, QByteArray::fromRawData(buffer.constData(), got)))
            return false;
    }
    return SetEndOfFile(to) && FlushFileBuffers(to);
}

Handle createNew(const QString &path)
{
    return Handle(CreateFileW(native(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
}

} // namespace mirthkey::windows
