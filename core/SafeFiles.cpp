#include "core/SafeFiles.h"

#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString linkRefused(const QString& path)
{
    return QStringLiteral("The file ") + path + QStringLiteral(" is a symbolic link; it is not written through.");
}

// What the system said, naming the file: "Cannot write /x/y.txt: No space left on device."
QString cannotWrite(const QString& path, int error)
{
    return QStringLiteral("Cannot write ") + path + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(error))
        + QLatin1Char('.');
}

mode_t modeBits(QFileDevice::Permissions permissions)
{
    mode_t mode = 0;
    const std::pair<QFileDevice::Permission, mode_t> bits[] = {
        { QFileDevice::ReadOwner, S_IRUSR }, { QFileDevice::WriteOwner, S_IWUSR }, { QFileDevice::ExeOwner, S_IXUSR },
        { QFileDevice::ReadGroup, S_IRGRP }, { QFileDevice::WriteGroup, S_IWGRP }, { QFileDevice::ExeGroup, S_IXGRP },
        { QFileDevice::ReadOther, S_IROTH }, { QFileDevice::WriteOther, S_IWOTH }, { QFileDevice::ExeOther, S_IXOTH },
    };
    for (const auto& [permission, bit] : bits) {
        if (permissions.testFlag(permission))
            mode |= bit;
    }
    return mode;
}

// A new, empty file beside the target under a name nobody else holds: created exclusively and
// without following a link (so nothing planted under that name is ever opened), owner-only.
int createTemporaryBeside(const QString& path, QByteArray& temporary)
{
    const QFileInfo target(path);
    // The hidden name tells whose file a leftover was; it stays within the file system's 255 bytes.
    const QByteArray base = QFile::encodeName(target.absolutePath()) + "/." + QFile::encodeName(target.fileName()).left(200);
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        QByteArray name = base + '.';
        for (int i = 0; i < 10; ++i)
            name += kLetters[QRandomGenerator::system()->bounded(static_cast<int>(sizeof kLetters - 1))];
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0) {
            temporary = name;
            return fd;
        }
        if (errno != EEXIST)
            return -1;
    }
    errno = EEXIST;
    return -1;
}

bool writeAll(int fd, const QByteArray& bytes)
{
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, static_cast<size_t>(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        left -= written;
    }
    return true;
}

} // namespace

bool IsSymbolicLink(const QString& path)
{
    return QFileInfo(path).isSymLink();
}

QString WriteFileSafely(const QString& path, const QByteArray& bytes, QFileDevice::Permissions permissions)
{
    // A link already there is refused so the user hears of it; one that appears later is still
    // never written through: nothing below opens the target's name, the new file is renamed over it.
    if (IsSymbolicLink(path))
        return linkRefused(path);
    QByteArray temporary;
    const int fd = createTemporaryBeside(path, temporary);
    if (fd < 0)
        return cannotWrite(path, errno);
    // Every byte reaches the disk before the name changes hands: a full disk or a crash leaves the
    // old file whole, never a part of the new one under the target's name.
    bool written = writeAll(fd, bytes) && ::fchmod(fd, modeBits(permissions)) == 0 && ::fsync(fd) == 0;
    int error = written ? 0 : errno;
    if (::close(fd) != 0 && written) {
        written = false;
        error = errno;
    }
    if (written && ::rename(temporary.constData(), QFile::encodeName(path).constData()) == 0)
        return {};
    if (written)
        error = errno;
    ::unlink(temporary.constData());
    return cannotWrite(path, error);
}

bool OpenForAppendNoFollow(QFile& file, const QString& path, int mode, QString& why)
{
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC, static_cast<mode_t>(mode));
    if (fd < 0) {
        why = errno == ELOOP ? linkRefused(path) : QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    if (!file.open(fd, QIODevice::WriteOnly | QIODevice::Append, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        why = file.errorString();
        return false;
    }
    return true;
}
