// SPDX-License-Identifier: GPL-3.0-or-later
// The text file on Windows.
#include "EncodedPieces.h"
#include "ErrorText.h"
#include "TextFile.h"

#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>

namespace mirthkey {

namespace {

QString reasonOf(const QFileDevice &file)
{
    switch (file.error()) {
    case QFileDevice::PermissionsError:
        return errorText(EACCES);
    case QFileDevice::OpenError:
        return failureText(Failure::OpenFailed);
    case QFileDevice::ResourceError:
        return errorText(ENOSPC);
    case QFileDevice::WriteError:
        return errorText(EIO);
    case QFileDevice::RenameError:
        return failureText(Failure::ReplaceFailed);
    default:
        return failureText(Failure::SaveFailed);
    }
}

} // namespace

// Nothing at `path` changes until the new content is complete; then it replaces the old
// file, whose attributes the system carries over.
std::optional<QString> writeTextFile(const QString &path, const QString &text)
{
    const QFileInfo target(path); // follows symbolic links
    if (target.exists() && !target.isFile() && !target.isDir())
        return failureText(Failure::NotAFile);

    QSaveFile file(path);
    // Unbuffered: every failure shows in write() itself. A failure while commit()
    // flushes a buffer would go unnoticed, and the short file would take the old
    // one's place.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return reasonOf(file);
    const auto writeAll = [&file](const QByteArray &bytes) {
        for (qsizetype done = 0; done < bytes.size();) {
            const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
            if (written <= 0)
                return false;
            done += qsizetype(written);
        }
        return true;
    };
    if (!encodePieces(text, writeAll))
        return reasonOf(file); // the unfinished copy is discarded
    if (!file.commit())
        return reasonOf(file);
    return std::nullopt;
}

} // namespace mirthkey
