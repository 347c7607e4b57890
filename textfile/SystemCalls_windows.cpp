// SPDX-License-Identifier: GPL-3.0-or-later
#include "SystemCalls_windows.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace mirthkey::windows {

std::wstring native(const QString &path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()).toStdWString();
}

Status writeAll(HANDLE file, const QByteArray &bytes)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const DWORD count = DWORD(std::min<qsizetype>(bytes.size() - done, 1 << 30));
        DWORD written = 0;
        if (!WriteFile(file, bytes.constData() + done, count, &written, nullptr))
            return lastError();
        if (written == 0)
            return Status::system(ERROR_DISK_FULL);
        done += written;
    }
    return {};
}

Status seek(HANDLE file, qint64 offset)
{
    LARGE_INTEGER to;
    to.QuadPart = offset;
    return SetFilePointerEx(file, to, nullptr, FILE_BEGIN) != 0 ? Status() : lastError();
}

Status copyContent(HANDLE from, HANDLE to)
{
    for (const HANDLE file : {from, to}) {
        if (const Status start = seek(file, 0); !start.ok())
            return start;
    }
    QByteArray buffer(qsizetype(1) << 20, Qt::Uninitialized);
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(from, buffer.data(), DWORD(buffer.size()), &got, nullptr))
            return lastError();
        if (got == 0)
            break;
        const Status written = writeAll(to, QByteArray::fromRawData(buffer.constData(), got));
        if (!written.ok())
            return written;
    }
    return SetEndOfFile(to) && FlushFileBuffers(to) ? Status() : lastError();
}

Handle createNew(const QString &path)
{
    return Handle(CreateFileW(native(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
}

} // namespace mirthkey::windows
