#include "loader/UpdateSource.h"

#include "core/AppError.h"
#include "core/AppInfo.h"
#include "loader/RemoteTransfer.h"
#include "core/SqlText.h"
#include "core/TextUtilities.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QUrl>

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

} // namespace

bool IsRemoteLocation(const QString& location)
{
    static const QRegularExpression scheme(
        QStringLiteral("^(https?|ftps?)://"), QRegularExpression::CaseInsensitiveOption);
    return scheme.match(location).hasMatch();
}

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
}

void UpdateSource::checkLocalCopy(const QString& source, const QString& destination)
{
    if (!FileExists(source))
        raiseCopyFailure(source, destination, QStringLiteral("File not found."));
    if (!FolderExists(folderOf(destination)))
        raiseCopyFailure(source, destination, QStringLiteral("Path not found."));
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
    QSaveFile output(destination);
    if (!output.open(QIODevice::WriteOnly))
        raiseCopyFailure(source, destination, output.errorString() + QLatin1Char('.'));
    QByteArray block;
    while (!(block = input.read(1 << 16)).isEmpty()) {
        if (output.write(block) != block.size())
            raiseCopyFailure(source, destination, output.errorString() + QLatin1Char('.'));
    }
    if (input.error() != QFileDevice::NoError)
        raiseCopyFailure(source, destination, input.errorString() + QLatin1Char('.'));
    // A copied program must stay runnable: the copy takes the source's permissions.
    output.setPermissions(input.permissions());
    if (!output.commit())
        raiseCopyFailure(source, destination, output.errorString() + QLatin1Char('.'));
}

void UpdateSource::downloadFile(const QString& address, const QString& destination) const
{
    QSaveFile output(destination);
    if (!output.open(QIODevice::WriteOnly))
        raiseWriteFailure(destination, output.errorString() + QLatin1Char('.'));
    const TransferResult result = FetchAddress(address, output);
    if (!result.succeeded) {
        output.cancelWriting();
        RaiseToReport(result.description);
    }
    if (!output.commit())
        raiseWriteFailure(destination, output.errorString() + QLatin1Char('.'));
}
