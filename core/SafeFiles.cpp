#include "core/SafeFiles.h"

#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

bool IsSymbolicLink(const QString& path)
{
    return QFileInfo(path).isSymLink();
}

QString WriteFileSafely(const QString& path, const QByteArray& bytes, QFileDevice::Permissions permissions)
{
    if (IsSymbolicLink(path))
        return QStringLiteral("The file ") + path + QStringLiteral(" is a symbolic link; it is not written through.");
    // QSaveFile writes a new file beside the target and renames it over the target, so even a link
    // planted after the check above is replaced, never followed.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (!file.setPermissions(permissions) || file.write(bytes) != bytes.size() || !file.commit())
        return file.errorString();
    return {};
}

bool OpenForAppendNoFollow(QFile& file, const QString& path, int mode, QString& why)
{
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC, static_cast<mode_t>(mode));
    if (fd < 0) {
        why = errno == ELOOP ? QStringLiteral("The file ") + path + QStringLiteral(" is a symbolic link; it is not written through.")
                             : QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    if (!file.open(fd, QIODevice::WriteOnly | QIODevice::Append, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        why = file.errorString();
        return false;
    }
    return true;
}
