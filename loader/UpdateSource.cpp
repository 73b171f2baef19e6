#include "loader/UpdateSource.h"

#include "core/AppError.h"
#include "core/AppInfo.h"
#include "core/SafeFiles.h"
#include "core/SqlText.h"
#include "core/TextUtilities.h"
#include "loader/RemoteTransfer.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString UpdateListName = QStringLiteral("updates.txt");
const QString FileListName = QStringLiteral("filelist.txt");

QString slashes(QString path) { return path.replace(QLatin1Char('\\'), QLatin1Char('/')); }

// Names from the lists may hold blanks and other characters an address cannot carry as they are.
QString encodedPath(const QString& path) { return QString::fromLatin1(QUrl::toPercentEncoding(slashes(path), "/")); }

QString readLocalText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        RaiseToReport(QStringLiteral("Cannot read file ") + AngleQuote(path) + QStringLiteral(": ") + file.errorString()
            + QLatin1Char('.'));
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        RaiseToReport(QStringLiteral("Cannot read file ") + AngleQuote(path) + QStringLiteral(": ") + file.errorString()
            + QLatin1Char('.'));
    return DecodeListText(data);
}

struct RemoteText {
    std::optional<QString> text;
    bool notFound = false;
    QString description;
};

RemoteText fetchText(const QString& address)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    const TransferResult result = FetchAddress(address, buffer);
    if (!result.succeeded)
        return { std::nullopt, result.notFound, result.description };
    return { DecodeListText(data), false, QString() };
}

[[noreturn]] void raiseCopyFailure(const QString& source, const QString& destination, const QString& description)
{
    RaiseToReport(QStringLiteral("Cannot copy file ") + AngleQuote(source) + QStringLiteral(" to ")
        + AngleQuote(destination)
        + QStringLiteral(".\r\n\r\nThe file might be open with another program/user or you don't have permissions "
                         "to access it.\r\n\r\n")
        + description);
}

[[noreturn]] void raiseWriteFailure(const QString& destination, const QString& description)
{
    RaiseToReport(QStringLiteral("Cannot write file ") + AngleQuote(destination) + QStringLiteral(": ") + description);
}

QString folderOf(const QString& file) { return QFileInfo(file).absolutePath(); }

QString systemError() { return QString::fromLocal8Bit(std::strerror(errno)) + QLatin1Char('.'); }

QString linkRefused(const QString& path)
{
    return QStringLiteral("The file ") + path + QStringLiteral(" is a symbolic link; it is not written through.");
}

// Group and others never get to rewrite an installed file: a program file others could change
// would run their code as every user of the station.
constexpr mode_t kInstalledModeMask = 07755;

// A file of an update on its way in: written under a unique name beside its destination, created
// exclusively (O_EXCL never follows a link) and readable by its owner only, then given its mode
// and renamed over the destination. A symbolic link in the destination's place is refused, and
// rename() would replace a link rather than write through it. Until committed, nothing but the
// temporary file exists, and it is removed on every failure.
class StagedFile {
public:
    explicit StagedFile(const QString& destination)
        : m_destination(destination)
    {
    }
    ~StagedFile() { discard(); }
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    QFile& file() { return m_file; }

    bool open(QString& why)
    {
        if (IsSymbolicLink(m_destination)) {
            why = linkRefused(m_destination);
            return false;
        }
        const QFileInfo info(m_destination);
        m_temporary = QFile::encodeName(
            info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".XXXXXX"));
        const int fd = ::mkostemp(m_temporary.data(), O_CLOEXEC); // mode 0600
        if (fd < 0) {
            why = systemError();
            m_temporary.clear();
            return false;
        }
        if (!m_file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
            ::close(fd);
            why = m_file.errorString() + QLatin1Char('.');
            return false;
        }
        return true;
    }

    // Gives the finished file its mode and puts it in place.
    bool commit(mode_t mode, QString& why)
    {
        if (!m_file.flush() || ::fchmod(m_file.handle(), mode & kInstalledModeMask) != 0
            || ::fsync(m_file.handle()) != 0) {
            why = m_file.error() != QFileDevice::NoError ? m_file.errorString() + QLatin1Char('.') : systemError();
            return false;
        }
        m_file.close();
        if (IsSymbolicLink(m_destination)) {
            why = linkRefused(m_destination);
            return false;
        }
        if (::rename(m_temporary.constData(), QFile::encodeName(m_destination).constData()) != 0) {
            why = systemError();
            return false;
        }
        m_temporary.clear();
        return true;
    }

    void discard()
    {
        if (m_file.isOpen())
            m_file.close();
        if (!m_temporary.isEmpty())
            ::unlink(m_temporary.constData());
        m_temporary.clear();
    }

private:
    QString m_destination;
    QByteArray m_temporary;
    QFile m_file;
};

// The mode of a regular file already at the path (not through a link), if there is one.
std::optional<mode_t> modeOf(const QString& path)
{
    struct stat status { };
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    return status.st_mode & 07777;
}

} // namespace

QString AddSlash(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.endsWith(QLatin1Char('/')) || trimmed.endsWith(QLatin1Char('\\')))
        return trimmed;
    return trimmed + QLatin1Char('/');
}

QString DecodeListText(const QByteArray& data)
{
    QString text = QString::fromUtf8(data);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

UpdateSource::UpdateSource(const QString& location)
    : m_location(location.trimmed())
    , m_remote(IsRemoteLocation(m_location))
{
    if (m_remote || m_location.isEmpty())
        return;
    m_location = slashes(m_location);
    if (QDir::isRelativePath(m_location))
        m_location = GetMainPath() + m_location;
}

bool UpdateSource::reachable() const
{
    if (m_remote || isEmpty())
        return true;
    const QFileInfo folder(m_location);
    return folder.isDir() && folder.isExecutable();
}

QString UpdateSource::address(const QString& update, const QString& name) const
{
    return AddSlash(m_location) + encodedPath(update) + QLatin1Char('/') + encodedPath(name);
}

QString UpdateSource::localPath(const QString& update, const QString& name) const
{
    return AddBackslash(m_location) + slashes(update) + QLatin1Char('/') + slashes(name);
}

QString UpdateSource::updateListName() const
{
    return m_remote ? AddSlash(m_location) + UpdateListName : AddBackslash(m_location) + UpdateListName;
}

QString UpdateSource::fileListName(const QString& update) const
{
    return m_remote ? address(update, FileListName) : localPath(update, FileListName);
}

std::optional<QString> UpdateSource::readUpdateList() const
{
    if (isEmpty())
        return std::nullopt;
    if (!m_remote) {
        const QString path = updateListName();
        if (!FileExists(path))
            return std::nullopt;
        return readLocalText(path);
    }
    const RemoteText answer = fetchText(updateListName());
    if (answer.notFound)
        return std::nullopt;
    if (!answer.text)
        RaiseToReport(answer.description);
    // A server that answers with a page instead of the list has no updates for us.
    if (answer.text->startsWith(QLatin1Char('<')))
        return std::nullopt;
    return answer.text;
}

QString UpdateSource::readFileList(const QString& update) const
{
    if (!m_remote)
        return readLocalText(fileListName(update));
    const RemoteText answer = fetchText(fileListName(update));
    if (!answer.text)
        RaiseToReport(answer.description);
    return *answer.text;
}

std::optional<QString> UpdateSource::tryReadFileList(const QString& update) const
{
    try {
        return readFileList(update);
    } catch (const AppError&) {
        return std::nullopt;
    }
}

void UpdateSource::checkFile(const QString& update, const QString& name, const QString& destinationFile) const
{
    if (!m_remote) {
        checkLocalCopy(localPath(update, name), destinationFile);
        return;
    }
    if (!FolderExists(folderOf(destinationFile)))
        raiseWriteFailure(destinationFile, QStringLiteral("Path not found."));
    if (IsSymbolicLink(destinationFile))
        raiseWriteFailure(destinationFile, linkRefused(destinationFile));
}

void UpdateSource::checkLocalCopy(const QString& source, const QString& destination)
{
    if (!FileExists(source))
        raiseCopyFailure(source, destination, QStringLiteral("File not found."));
    if (!FolderExists(folderOf(destination)))
        raiseCopyFailure(source, destination, QStringLiteral("Path not found."));
    if (IsSymbolicLink(destination))
        raiseCopyFailure(source, destination, linkRefused(destination));
}

void UpdateSource::installFile(const QString& update, const QString& name, const QString& destinationFile) const
{
    if (m_remote)
        downloadFile(address(update, name), destinationFile);
    else
        copyLocalFile(localPath(update, name), destinationFile);
}

void UpdateSource::copyLocalFile(const QString& source, const QString& destination) const
{
    checkLocalCopy(source, destination); // again: time passes between the check and the copy
    QFile input(source);
    if (!input.open(QIODevice::ReadOnly))
        raiseCopyFailure(source, destination, input.errorString() + QLatin1Char('.'));
    StagedFile output(destination);
    QString why;
    if (!output.open(why))
        raiseCopyFailure(source, destination, why);
    QByteArray block;
    while (!(block = input.read(1 << 16)).isEmpty()) {
        if (output.file().write(block) != block.size())
            raiseCopyFailure(source, destination, output.file().errorString() + QLatin1Char('.'));
    }
    if (input.error() != QFileDevice::NoError)
        raiseCopyFailure(source, destination, input.errorString() + QLatin1Char('.'));
    // A copied program must stay runnable: the copy takes the source's mode.
    struct stat status { };
    const mode_t mode = ::fstat(input.handle(), &status) == 0 ? status.st_mode & 07777 : 0600;
    if (!output.commit(mode, why))
        raiseCopyFailure(source, destination, why);
}

void UpdateSource::downloadFile(const QString& address, const QString& destination) const
{
    // A download carries no mode: a replaced file keeps its own, a new one is its owner's only.
    const mode_t mode = modeOf(destination).value_or(0600);
    StagedFile output(destination);
    QString why;
    if (!output.open(why))
        raiseWriteFailure(destination, why);
    const TransferResult result = FetchAddress(address, output.file());
    if (!result.succeeded)
        RaiseToReport(result.description);
    if (!output.commit(mode, why))
        raiseWriteFailure(destination, why);
}
