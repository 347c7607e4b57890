// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextFile.h"

#include "ErrorText.h"
#include "Gb18030.h"
#include "TextPieces.h"

#include <algorithm>

#ifdef Q_OS_WIN
#include <QFileInfo>
#include <QSaveFile>
#else
#include <QFile>
#include <QRandomGenerator>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace mirthkey {

namespace {

// Code units encoded at a time: the encoded file never has to be in memory whole.
constexpr qsizetype kPiece = qsizetype(1) << 16;

const char16_t kNotAFile[] = u"不是普通文件，不能替换";
const char16_t kNotEncodable[] = u"文字无法转换为 GB18030 编码";

// Calls `sink` with the text in GB18030, piece by piece, then with the final CR LF; stops
// at the first piece the sink refuses. Throws EncodingError.
template <typename Sink> bool encodePieces(const QString &text, Sink &&sink)
{
    return forEachPiece(text, kPiece, [&](QStringView piece) { return sink(toGb18030(piece)); }) &&
           sink(QByteArrayLiteral("\r\n"));
}

#ifdef Q_OS_WIN

QString reasonOf(const QFileDevice &file)
{
    switch (file.error()) {
    case QFileDevice::PermissionsError:
        return QStringLiteral("没有写入权限");
    case QFileDevice::OpenError:
        return QStringLiteral("无法创建或打开该文件");
    case QFileDevice::ResourceError:
        return QStringLiteral("磁盘空间或系统资源不足");
    case QFileDevice::WriteError:
        return QStringLiteral("写入文件时出错");
    case QFileDevice::RenameError:
        return QStringLiteral("无法替换原有的文件");
    default:
        return QStringLiteral("保存文件时出错");
    }
}

// Nothing at `path` changes until the new content is complete; then it replaces the old
// file, whose attributes the system carries over.
std::optional<QString> writeFile(const QString &path, const QString &text)
{
    const QFileInfo target(path); // follows symbolic links
    if (target.exists() && !target.isFile() && !target.isDir())
        return QString::fromUtf16(kNotAFile);

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
    try {
        if (!encodePieces(text, writeAll))
            return reasonOf(file); // the unfinished copy is discarded
    } catch (const EncodingError &) {
        return QString::fromUtf16(kNotEncodable);
    }
    if (!file.commit())
        return reasonOf(file);
    return std::nullopt;
}

#else

// An open file descriptor, closed when it goes out of scope unless close() took it.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;

    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    // False with errno set when the system reports a failure that closing brought out.
    bool close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0 || errno == EINTR;
    }

private:
    int m_fd;
};

template <typename Call> auto retried(Call call)
{
    for (;;) {
        const auto result = call();
        if (result != -1 || errno != EINTR)
            return result;
    }
}

// Writes all of `bytes` at the descriptor's position, or at `*offset` and past it.
bool writeAll(int fd, const QByteArray &bytes, off_t *offset = nullptr)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const char *from = bytes.constData() + done;
        const size_t count = size_t(bytes.size() - done);
        const ssize_t written = retried(
            [&] { return offset ? ::pwrite(fd, from, count, *offset) : ::write(fd, from, count); });
        if (written < 0)
            return false;
        if (written == 0) {
            errno = ENOSPC;
            return false;
        }
        done += qsizetype(written);
        if (offset)
            *offset += written;
    }
    return true;
}

QString lastError()
{
    return errorText(errno);
}

// The file `path` names after every symbolic link on the way has been followed, even
// when the last one points to a name that does not exist yet.
std::optional<QByteArray> resolveLinks(QByteArray path, int *error)
{
    constexpr int kMaxLinks = 40; // as the kernel allows
    for (int links = 0; links <= kMaxLinks; ++links) {
        struct stat entry {};
        if (::lstat(path.constData(), &entry) != 0 || !S_ISLNK(entry.st_mode))
            return path;
        QByteArray target(qsizetype(entry.st_size > 0 ? entry.st_size : 255) + 1, '\0');
        const ssize_t length = ::readlink(path.constData(), target.data(), size_t(target.size()));
        if (length < 0 || length >= target.size()) {
            *error = length < 0 ? errno : ENAMETOOLONG;
            return std::nullopt;
        }
        target.truncate(length);
        if (!target.startsWith('/')) {
            const qsizetype slash = path.lastIndexOf('/');
            target.prepend(slash < 0 ? QByteArray() : path.left(slash + 1));
        }
        path = target;
    }
    *error = ELOOP;
    return std::nullopt;
}

QByteArray folderOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

// Writing the new text into the file itself, over the old one. The whole text is encoded
// and the space it needs reserved first, so that a text which does not fit fails before
// the first old byte is overwritten.
std::optional<QString> writeInPlace(const QByteArray &target, const QString &text)
{
    QByteArray bytes;
    try {
        bytes = toGb18030(text);
    } catch (const EncodingError &) {
        return QString::fromUtf16(kNotEncodable);
    }
    const QByteArray lineBreak = QByteArrayLiteral("\r\n");
    const off_t size = off_t(bytes.size() + lineBreak.size());

    Descriptor fd(
        retried([&] { return ::open(target.constData(), O_WRONLY | O_NOCTTY | O_CLOEXEC); }));
    if (!fd.valid())
        return lastError();
    struct stat old {};
    if (::fstat(fd.get(), &old) != 0)
        return lastError();
    if (!S_ISREG(old.st_mode))
        return QString::fromUtf16(kNotAFile);

    int reserved = -1;
#ifdef __linux__
    reserved = retried([&] { return ::fallocate(fd.get(), 0, 0, size); });
    if (reserved != 0 && errno != EOPNOTSUPP && errno != ENOSYS)
        return lastError();
#endif
    if (reserved != 0 && size > old.st_size) {
        // Without the call, only what lies past the old end needs new space. The portable
        // call emulates it there by writing zeros, which never touches the old content.
        int error = 0;
        do
            error = ::posix_fallocate(fd.get(), old.st_size, size - old.st_size);
        while (error == EINTR);
        if (error != 0)
            return errorText(error);
    }

    off_t offset = 0;
    if (!writeAll(fd.get(), bytes, &offset) || !writeAll(fd.get(), lineBreak, &offset))
        return lastError();
    bytes = QByteArray();
    if (old.st_size > size && retried([&] { return ::ftruncate(fd.get(), size); }) != 0)
        return lastError();
    if (::fsync(fd.get()) != 0 && errno != EINVAL) // EINVAL: a file that cannot be synced
        return lastError();
    if (!fd.close())
        return lastError();
    return std::nullopt;
}

enum class Replaced { Done, Failed, NotPossible };

// Writing a new file beside the target and renaming it into its place: until the rename the
// old file stays as it was. An existing file's owner, group and permissions go to the new
// one first; NotPossible when they cannot (or the folder takes no new file), and the text
// has to be written into the file itself.
Replaced writeReplacing(const QByteArray &target, const struct stat *old, const QString &text,
                        QString *failure)
{
    const QByteArray folder = folderOf(target);
    QByteArray temporary;
    int descriptor = -1;
    for (int attempt = 0; attempt < 100 && descriptor < 0; ++attempt) {
        temporary = folder + "/.mirthkey-" +
                    QByteArray::number(QRandomGenerator::global()->generate(), 36) + ".tmp";
        // A new file gets the permissions a file created by name gets (umask, default ACL).
        descriptor = retried([&] {
            return ::open(temporary.constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC,
                          old ? 0600 : 0666);
        });
        if (descriptor < 0 && errno != EEXIST)
            break;
    }
    if (descriptor < 0) {
        if (old)
            return Replaced::NotPossible;
        *failure = lastError();
        return Replaced::Failed;
    }
    Descriptor fd(descriptor);
    struct Remover {
        const QByteArray *name;
        ~Remover()
        {
            if (name)
                ::unlink(name->constData());
        }
    } remover{&temporary};
    const auto fail = [&] {
        *failure = lastError();
        return Replaced::Failed;
    };

    if (old) {
        struct stat created {};
        if (::fstat(fd.get(), &created) != 0)
            return fail();
        // A change of owner drops the set-user-ID and set-group-ID bits, so the mode last.
        if ((created.st_uid != old->st_uid || created.st_gid != old->st_gid) &&
            ::fchown(fd.get(), old->st_uid, old->st_gid) != 0)
            return Replaced::NotPossible;
        if (::fchmod(fd.get(), old->st_mode & 07777) != 0)
            return fail();
    }

    try {
        if (!encodePieces(text, [&](const QByteArray &piece) { return writeAll(fd.get(), piece); }))
            return fail();
    } catch (const EncodingError &) {
        *failure = QString::fromUtf16(kNotEncodable);
        return Replaced::Failed;
    }
    // On the disk before the name moves, or a crash could leave the name on an empty file.
    if (::fsync(fd.get()) != 0 || !fd.close())
        return fail();
    if (::rename(temporary.constData(), target.constData()) != 0) {
        // A file mounted over its name cannot be replaced, only written.
        if (old && (errno == EBUSY || errno == EXDEV))
            return Replaced::NotPossible;
        return fail();
    }
    remover.name = nullptr;
    return Replaced::Done;
}

std::optional<QString> writeFile(const QString &path, const QString &text)
{
    int error = 0;
    const std::optional<QByteArray> target = resolveLinks(QFile::encodeName(path), &error);
    if (!target)
        return errorText(error);

    struct stat old {};
    const bool exists = ::stat(target->constData(), &old) == 0;
    if (!exists && errno != ENOENT)
        return lastError();
    if (exists) {
        if (S_ISDIR(old.st_mode))
            return errorText(EISDIR);
        // A device, pipe or socket cannot be replaced by a file: the swap into place would
        // take the name away from the node (a privileged user may do so in /dev).
        if (!S_ISREG(old.st_mode))
            return QString::fromUtf16(kNotAFile);
        // Replacing a file goes by the folder's permissions; writing into it by the
        // file's own, which are the ones that count.
        if (::access(target->constData(), W_OK) != 0)
            return lastError();
    }

    // Replacing a file with other names would leave them on the old text.
    if (!exists || old.st_nlink <= 1) {
        QString failure;
        switch (writeReplacing(*target, exists ? &old : nullptr, text, &failure)) {
        case Replaced::Done:
            return std::nullopt;
        case Replaced::Failed:
            return failure;
        case Replaced::NotPossible:
            break;
        }
    }
    return writeInPlace(*target, text);
}

#endif

} // namespace

std::optional<QString> writeTextFile(const QString &path, const QString &text)
{
    return writeFile(path, text);
}

} // namespace mirthkey
