#include "loader/UpdateInstaller.h"

#include "core/AppError.h"
#include "core/AppInfo.h"
#include "core/RegistrySettings.h"
#include "core/SqlText.h"
#include "core/TextUtilities.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString UpdatesSection = QStringLiteral("Updates");
const QString AppPathMacro = QStringLiteral("$(AppPath)");
const QString Arrow = QStringLiteral("=>");

bool climbsUp(const QString& path) { return path.split(QLatin1Char('/')).contains(QStringLiteral("..")); }

bool isInside(const QString& path, const QString& folder)
{
    return path == folder || path.startsWith(AddBackslash(folder));
}

QString leavesItsFolder(const QString& line)
{
    return QStringLiteral("The line ") + AngleQuote(line)
        + QStringLiteral(" leads outside the program folder or the folder it names; an update file may not go there.");
}

} // namespace

QStringList ListLines(const QString& text, const QString& listName, bool lenient)
{
    QStringList lines;
    int number = 0;
    for (const QString& line : SplitLines(text)) {
        ++number;
        // A UTF-8 character takes at most three bytes per UTF-16 unit: short lines need no count.
        if (line.size() * 3 > kMaxListLineBytes) {
            const qsizetype bytes = line.toUtf8().size();
            if (bytes > kMaxListLineBytes) {
                if (lenient)
                    continue;
                RaiseToReport(QStringLiteral("Line ") + QString::number(number) + QStringLiteral(" of ")
                    + AngleQuote(listName) + QStringLiteral(" is ") + QString::number(bytes)
                    + QStringLiteral(" bytes long; a line of an update list names a file and can be at most ")
                    + QString::number(kMaxListLineBytes) + QStringLiteral(" bytes long."));
            }
        }
        const QString trimmed = line.trimmed();
        if (!trimmed.isEmpty())
            lines.append(trimmed);
    }
    return lines;
}

std::optional<UpdateFileLine> ParseUpdateFileLine(const QString& line, const QString& mainPath, QString& failure)
{
    const qsizetype arrow = line.indexOf(Arrow);
    if (arrow < 0) {
        failure = QStringLiteral("The line ") + AngleQuote(line)
            + QStringLiteral(" has no \"=>\" between a file name and its destination.");
        return std::nullopt;
    }
    UpdateFileLine result;
    result.name = line.left(arrow).trimmed().replace(QLatin1Char('\\'), QLatin1Char('/'));
    QString destination = line.mid(arrow + Arrow.size()).trimmed().replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (result.name.isEmpty()) {
        failure = QStringLiteral("The line ") + AngleQuote(line) + QStringLiteral(" names no file.");
        return std::nullopt;
    }
    // Whatever a ".." would reach, the list's author can name plainly; it is refused outright
    // rather than cleaned away.
    if (climbsUp(result.name) || climbsUp(destination)) {
        failure = leavesItsFolder(line);
        return std::nullopt;
    }
    if (destination.compare(AppPathMacro, Qt::CaseInsensitive) == 0) {
        destination = mainPath;
        result.baseFolder = mainPath;
    } else if (destination.startsWith(AppPathMacro + QLatin1Char('/'), Qt::CaseInsensitive)) {
        destination = mainPath + destination.mid(AppPathMacro.size() + 1);
        result.baseFolder = mainPath;
    } else if (QDir::isAbsolutePath(destination)) {
        result.baseFolder = destination;
    } else {
        // A relative folder would depend on where the loader happened to be started from.
        failure = QStringLiteral("The destination ") + AngleQuote(destination) + QStringLiteral(" of file ")
            + AngleQuote(result.name) + QStringLiteral(" is neither $(AppPath) nor an absolute folder.");
        return std::nullopt;
    }
    result.destinationFolder = destination;
    result.destinationFile = QDir::cleanPath(AddBackslash(destination) + result.name);
    result.baseFolder = QDir::cleanPath(result.baseFolder);
    if (!isInside(result.destinationFile, result.baseFolder) || result.destinationFile == result.baseFolder) {
        failure = leavesItsFolder(line);
        return std::nullopt;
    }
    return result;
}

UpdateInstaller::UpdateInstaller(const UpdateSource& source, StatusSink status)
    : m_source(source)
    , m_status(std::move(status))
{
}

bool UpdateInstaller::IsInstalled(const QString& update)
{
    return RegistrySettings::value(UpdatesSection, update, QStringLiteral("False"))
               .compare(QStringLiteral("True"), Qt::CaseInsensitive)
        == 0;
}

bool UpdateInstaller::GetUpdateList()
{
    const std::optional<QString> text = m_source.readUpdateList();
    if (!text)
        return false;
    m_updateList = ListLines(*text, m_source.updateListName());
    return true;
}

bool UpdateInstaller::InstallUpdates()
{
    bool installedAny = false;
    for (auto it = m_updateList.crbegin(); it != m_updateList.crend(); ++it) {
        const QString& update = *it;
        m_status(QStringLiteral("Checking update ") + update + QStringLiteral("..."));
        if (IsInstalled(update)) {
            m_status(QStringLiteral("Update ") + update + QStringLiteral(" already installed."));
            NoteInstalledFiles(update);
            continue;
        }
        m_status(QStringLiteral("Preparing to install update ") + update + QStringLiteral("..."));
        InstallUpdate(update);
        RegistrySettings::setValue(UpdatesSection, update, QStringLiteral("True"));
        installedAny = true;
    }
    return installedAny;
}

std::vector<UpdateFileLine> UpdateInstaller::GetFileList(const QString& update, const QString& text, bool lenient) const
{
    std::vector<UpdateFileLine> files;
    for (const QString& line : ListLines(text, m_source.fileListName(update), lenient)) {
        QString failure;
        std::optional<UpdateFileLine> file = ParseUpdateFileLine(line, GetMainPath(), failure);
        if (file)
            files.push_back(*file);
        else if (!lenient)
            RaiseToReport(
                QStringLiteral("Update ") + AngleQuote(update) + QStringLiteral(" cannot be installed. ") + failure);
    }
    return files;
}

void UpdateInstaller::NoteInstalledFiles(const QString& update)
{
    // A newer update installed on an earlier start still owns its files: an older update that is
    // installed only now must not overwrite them.
    const std::optional<QString> text = m_source.tryReadFileList(update);
    if (!text)
        return;
    for (const UpdateFileLine& file : GetFileList(update, *text, true))
        m_copiedFiles.insert(file.destinationFile);
}

void UpdateInstaller::InstallUpdate(const QString& update)
{
    std::vector<UpdateFileLine> pending;
    QSet<QString> planned = m_copiedFiles;
    for (const UpdateFileLine& file : GetFileList(update, m_source.readFileList(update), false)) {
        if (planned.contains(file.destinationFile))
            continue;
        planned.insert(file.destinationFile);
        pending.push_back(file);
    }
    // Whatever can be known wrong is found before the first file of the update is written.
    for (const UpdateFileLine& file : pending) {
        m_source.checkFile(update, file.name, file.destinationFile);
        CheckStaysInside(update, file);
    }
    for (const UpdateFileLine& file : pending) {
        CopyUpdateFile(update, file);
        m_copiedFiles.insert(file.destinationFile);
    }
}

void UpdateInstaller::CheckStaysInside(const QString& update, const UpdateFileLine& file)
{
    // A folder inside the base that is a symbolic link to somewhere else would carry the file
    // out of it, whatever the line's text says.
    const QString base = QFileInfo(file.baseFolder).canonicalFilePath();
    const QString folder = QFileInfo(QFileInfo(file.destinationFile).absolutePath()).canonicalFilePath();
    if (base.isEmpty() || folder.isEmpty())
        return; // a missing folder is the copy's own failure
    if (!isInside(folder, base))
        RaiseToReport(QStringLiteral("Update ") + AngleQuote(update)
            + QStringLiteral(" cannot be installed. The folder ")
            + AngleQuote(QFileInfo(file.destinationFile).absolutePath()) + QStringLiteral(" of file ")
            + AngleQuote(file.name) + QStringLiteral(" leads outside ") + AngleQuote(file.baseFolder)
            + QStringLiteral(" through a symbolic link."));
}

void UpdateInstaller::CopyUpdateFile(const QString& update, const UpdateFileLine& file)
{
    m_status(QStringLiteral("Loading file ") + file.name + QStringLiteral("..."));
    m_source.installFile(update, file.name, file.destinationFile);
}
