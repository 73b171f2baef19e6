#include "core/Startup.h"

#include "core/AppInfo.h"
#include "core/Database.h"
#include "core/MessageBoxes.h"
#include "core/Platform.h"

#include <QDir>
#include <QDomDocument>
#include <QFileInfo>
#include <QRegularExpression>

namespace {
// A number that still fits the original 16-bit reading; longer digit runs name no copy.
constexpr qint64 kHighestCopyNumber = 32767;

QString trailingDigitsRemoved(const QString& name)
{
    qsizetype end = name.size();
    while (end > 0 && name.at(end - 1).isDigit() && name.at(end - 1) < QLatin1Char('\x7f'))
        --end;
    return name.left(end);
}

// The number after the base: -1 when the rest is not all ASCII digits or too large.
qint64 copyNumber(const QString& rest)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,9}$"));
    if (rest.isEmpty())
        return 0;
    if (!digits.match(rest).hasMatch())
        return -1;
    const qint64 number = rest.toLongLong();
    return number > kHighestCopyNumber ? -1 : number;
}
} // namespace

bool CompiledCheck()
{
    return !DevelopmentRun();
}

bool CheckMSXML()
{
    QDomDocument probe;
    if (probe.setContent(QStringLiteral("<Settings><Database/></Settings>"))
        && !probe.elementsByTagName(QStringLiteral("Database")).isEmpty())
        return true;
    ShowErrorMessage(QStringLiteral("MS XML 3.0 is not supported on this station.\r\nPlease contact system administrator for upgrade."));
    Platform::terminate(1);
    return false;
}

bool CreateFSO()
{
    const QString folder = GetMainPath();
    const QFileInfo info(folder);
    if (info.isDir() && info.isReadable() && QDir(folder).exists())
        return true;
    const QString reason = QStringLiteral("The program folder ") + QLatin1Char('<') + folder + QLatin1Char('>')
        + QStringLiteral(" cannot be read.");
    ShowMessageBox(QStringLiteral("Unable to initiate Scripting DLL.\r\n") + reason + QStringLiteral("\r\n\r\nApplication terminated."),
                   MsgBox::Critical, ApplicationTitle());
    Platform::terminate(1);
    return false;
}

QString NewestVersionFile(const QString& folder, const QString& ownFileName)
{
    const QString base = trailingDigitsRemoved(ownFileName);
    if (base.isEmpty())
        return {};
    const qint64 own = copyNumber(ownFileName.mid(base.size()));
    qint64 best = own < 0 ? 0 : own;
    QString chosen;
    // Regular executable files only: no folders, hidden files or links; sorted by name so that
    // among equal numbers the first listed wins on every machine.
    const QFileInfoList files = QDir(folder).entryInfoList({ base + QLatin1Char('*') },
                                                           QDir::Files | QDir::Executable | QDir::NoSymLinks, QDir::Name);
    for (const QFileInfo& file : files) {
        const QString name = file.fileName();
        if (!name.startsWith(base) || !file.isExecutable())
            continue;
        const qint64 number = copyNumber(name.mid(base.size()));
        if (number > best) {
            best = number;
            chosen = name;
        }
    }
    return chosen;
}

bool RunNewestVersion()
{
    const QString folder = GetMainPath();
    const QString newest = NewestVersionFile(folder, ExecutableBaseName());
    if (newest.isEmpty())
        return false;
    // The newer copy goes on by itself; when it cannot be started this one carries on.
    return Platform::processes().startDetached(folder + newest, {}, folder);
}

bool IsTestModeName(const QString& executableName)
{
    return executableName.left(4).compare(QLatin1String("Test"), Qt::CaseInsensitive) == 0;
}

bool UserShouldCompleteRecord()
{
    const std::optional<QVariant> value = GetSQLValue(QStringLiteral("EXEC usp_DB_Check_User_On_Start"));
    if (!value || value->isNull())
        return false;
    bool ok = false;
    const int number = value->toString().trimmed().toInt(&ok);
    return ok && number == 0;
}
