#include "TextFile.h"

#include "Gb18030.h"

#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>

namespace mirthkey {

namespace {

// Code units encoded at a time: the encoded file never has to be in memory whole.
constexpr qsizetype kPiece = qsizetype(1) << 16;

// Writes all of `bytes`. A short write is followed by another, which then fails with
// the reason (a full disk, a size limit).
bool writeAll(QSaveFile &file, const QByteArray &bytes)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            return false;
        done += qsizetype(written);
    }
    return true;
}

} // namespace

std::optional<QString> writeTextFile(const QString &path, const QString &text)
{
    // A device, pipe or socket cannot be replaced by a file: the swap into place would
    // take the name away from the node (a privileged user may do so in /dev). A
    // directory is left to QSaveFile, which refuses it with its own reason.
    const QFileInfo target(path); // follows symbolic links
    if (target.exists() && !target.isFile() && !target.isDir())
        return QStringLiteral("不是普通文件，不能替换");

    QSaveFile file(path);
    // Unbuffered: every failure shows in write() itself. A failure while commit()
    // flushes a buffer would go unnoticed, and the short file would take the old
    // one's place.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    try {
        for (qsizetype pos = 0; pos < text.size();) {
            qsizetype end = std::min(pos + kPiece, text.size());
            if (end < text.size() && text[end - 1].isHighSurrogate())
                ++end; // keep a surrogate pair together
            if (!writeAll(file, toGb18030(QStringView(text).sliced(pos, end - pos))))
                return file.errorString(); // the unfinished copy is discarded
            pos = end;
        }
    } catch (const EncodingError &error) {
        return QString::fromLocal8Bit(error.what());
    }
    if (!writeAll(file, QByteArrayLiteral("\r\n")) || !file.commit())
        return file.errorString();
    return std::nullopt;
}

} // namespace mirthkey
