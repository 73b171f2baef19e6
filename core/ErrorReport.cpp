#include "core/ErrorReport.h"

#include "core/SafeFiles.h"

#include "core/Actions.h"
#include "core/AppInfo.h"
#include "core/Connection.h"
#include "core/Database.h"
#include "core/DatabaseList.h"
#include "core/MessageBoxes.h"
#include "core/Platform.h"
#include "core/TextUtilities.h"

#include <QDateTime>
#include <QFile>
#include <QRegularExpression>

namespace {
const QString CRLF = QStringLiteral("\r\n");

QString recommendationFor(qint32 number)
{
    switch (number) {
    case ErrProviderFailure:
        return QStringLiteral("Exit application. Restart application. If you have the same error restart computer. "
                              "If you still have the same error contact System Administrator.");
    case ErrQueryTimeout: {
        const int timeout = DBConnection() ? DBConnection()->commandTimeout() : 0;
        return QStringLiteral("Continue application. Your current Timeout for DB = %1 sec. You may change it in menu <Database>.")
            .arg(timeout);
    }
    case ErrComponentNotCreatable:
        return QStringLiteral("Make sure ADO 2.5 installed on your station.");
    default:
        return {};
    }
}
} // namespace

QString StripErrorPrefix(const QString& text)
{
    const qsizetype bracket = text.lastIndexOf(QLatin1Char(']'));
    if (bracket < 0)
        return text;
    QString rest = text.mid(bracket + 1);
    qsizetype blanks = 0;
    while (blanks < rest.size() && rest.at(blanks) == QLatin1Char(' '))
        ++blanks;
    return rest.mid(blanks);
}

QString MaskPasswords(const QString& sql)
{
    static const QRegularExpression pattern(QStringLiteral("(@\\w*password\\w*\\s*=\\s*)('(?:[^']|'')*'?|[^,\\s]+)"),
                                            QRegularExpression::CaseInsensitiveOption);
    QString masked = sql;
    masked.replace(pattern, QStringLiteral("\\1'********'"));
    return masked;
}

QString ErrorLogFile()
{
    return GetMainPath() + QStringLiteral("Errors/") + ApplicationTitle() + QStringLiteral(" error.log");
}

void ShowError(const QString& sql, const QString& message, const QString& procedure)
{
    const AppError failure = PendingError().value_or(AppError(0, QString(), QString()));
    const QString description = StripErrorPrefix(failure.description());
    const QString recommendation = recommendationFor(failure.number());
    DatabaseConnection* connection = DBConnection();
    const std::vector<ProviderError> providerErrors = connection ? connection->providerErrors() : std::vector<ProviderError>();

    QString full = QStringLiteral("VB Error.") + CRLF;
    full += QStringLiteral("Number: ") + QString::number(failure.number()) + CRLF;
    full += QStringLiteral("Description: ") + description + CRLF;
    if (!sql.isEmpty())
        full += QStringLiteral("SQL String: ") + MaskPasswords(sql) + CRLF;
    if (!message.isEmpty())
        full += QStringLiteral("Message: ") + message + CRLF;
    full += QStringLiteral("Source: ") + failure.source() + CRLF;
    if (!procedure.isEmpty())
        full += QStringLiteral("Procedure: ") + ApplicationTitle() + QStringLiteral("::") + procedure + CRLF;
    if (!recommendation.isEmpty())
        full += QStringLiteral("Recommendation: ") + recommendation + CRLF;
    if (!providerErrors.empty()) {
        full += CRLF;
        int i = 0;
        for (const ProviderError& error : providerErrors) {
            ++i;
            full += QStringLiteral("ADO Error ") + QString::number(i) + QStringLiteral(".") + CRLF;
            full += QStringLiteral("Number: ") + error.number + CRLF;
            full += QStringLiteral("Description: ") + error.description + CRLF;
            full += QStringLiteral("Source: ") + error.source + CRLF;
            full += QStringLiteral("SQL State: ") + error.sqlState + CRLF;
            full += CRLF;
        }
    }

    QString dialog = description;
    if (!message.isEmpty())
        dialog += CRLF + QStringLiteral("Message: ") + message;
    if (!recommendation.isEmpty())
        dialog += CRLF + QStringLiteral("Recommendation: ") + recommendation;
    if (providerErrors.size() >= 2) {
        dialog = QStringLiteral("1. ") + dialog;
        for (size_t i = 1; i < providerErrors.size(); ++i)
            dialog += CRLF + QString::number(i + 1) + QStringLiteral(". ") + providerErrors[i].description;
    }
    dialog += CRLF + CRLF + QStringLiteral("Would you like to continue?") + CRLF + QStringLiteral("Yes - Continue") + CRLF
        + QStringLiteral("No - Abort application");

    if (connection)
        connection->providerErrors().clear();
    if (DevelopmentRun())
        ShowMessageBox(full, MsgBox::OKOnly | MsgBox::Information, QStringLiteral("Debug Mode Error Review"));

    const int answer = ShowMessageBox(dialog, MsgBox::YesNo | MsgBox::Exclamation,
                                      QStringLiteral("Error: ") + QString::number(failure.number()));
    WriteErrorLog(answer, full);
    if (answer == MsgBox::No) {
        Platform::terminate(1);
        return;
    }
    ClearPendingError();
}

void WriteErrorLog(int answer, const QString& text)
{
    QString block;
    block += QStringLiteral("User: ") + UserName() + CRLF;
    block += QStringLiteral("Host: ") + HostName() + CRLF;
    if (DevelopmentRun())
        block += QStringLiteral("Debug Mode!!!") + CRLF;
    if (const DatabaseEntry* entry = DatabaseAt(CurrentDB()))
        block += QStringLiteral("Database: ") + entry->DisplayName + CRLF;
    block += QStringLiteral("Date/Time: ") + FormatDateTimeText(QDateTime::currentDateTime()) + CRLF;
    block += QStringLiteral("Bramblecot Version: ") + GetVersionText() + CRLF;
    block += QStringLiteral("Bramblecot File Name: ") + ExecutableBaseName() + CRLF;
    block += text;
    block += QStringLiteral("Respond: ") + (answer == MsgBox::Yes ? QStringLiteral("Continue") : QStringLiteral("Abort")) + CRLF;

    const QString path = ErrorLogFile();
    QFile file;
    bool opened = false;
    bool link = false;
    for (int attempt = 1; attempt <= 5; ++attempt) {
        // Owner and group may read the log; a link planted in its place is never written through.
        QString why;
        if (OpenForAppendNoFollow(file, path, 0640, why)) {
            opened = true;
            break;
        }
        // A link stays a link: waiting changes nothing, and the box says why.
        link = IsSymbolicLink(path);
        if (link)
            break;
        if (attempt < 5)
            Platform::sleep(500);
    }
    if (!opened) {
        ShowMessageBox(QStringLiteral("Cannot save to Error Log. Cannot open file ") + path
                + (link ? QStringLiteral(": it is a symbolic link.") : QString()),
            MsgBox::OKOnly | MsgBox::Critical, QStringLiteral("Cannot save to Error Log"));
        return;
    }
    const QByteArray bytes = (block + CRLF).toUtf8();
    bool written = false;
    for (int attempt = 1; attempt <= 5; ++attempt) {
        if (file.write(bytes) == bytes.size() && file.flush()) {
            written = true;
            break;
        }
        if (attempt < 5)
            Platform::sleep(500);
    }
    file.close();
    if (!written)
        ShowMessageBox(QStringLiteral("Cannot save to Error Log. Cannot print to file ") + path, MsgBox::OKOnly | MsgBox::Critical,
                       QStringLiteral("Cannot save to Error Log"));
}
