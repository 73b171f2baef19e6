#include "exports/SpreadsheetExport.h"

#include "core/Actions.h"
#include "core/AppError.h"
#include "core/AppInfo.h"
#include "core/Database.h"
#include "core/DatabaseList.h"
#include "core/MessageBoxes.h"
#include "core/Recordset.h"
#include "core/SafeFiles.h"
#include "exports/ExportWriters.h"
#include "exports/Exports.h"
#include "exports/OfficePrograms.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>

namespace {

QString safeFileName(const QString& title)
{
    static const QRegularExpression forbidden(QStringLiteral("[/\\\\:*?\"<>|\\x00-\\x1f]"));
    QString name = title.trimmed();
    name.replace(forbidden, QStringLiteral("_"));
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        name = QStringLiteral("Export");
    return name;
}

} // namespace

QString ExportWorkbookPath(const QString& title)
{
    return GetMainPath() + QStringLiteral("Temp/") + safeFileName(title) + QStringLiteral(".xlsx");
}

void WriteExportWorkbook(const QString& path, Recordset& recordset, const WorkbookRequest& request)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        throw AppError(ErrToReport, QStringLiteral("Cannot create the folder ") + folder, ApplicationTitle());
    // The library writes to a file name of its own; the finished workbook then replaces the target
    // in one step, so a failure leaves the previous file of that name alone.
    QTemporaryFile scratch(folder + QStringLiteral("/.export-XXXXXX.xlsx"));
    if (!scratch.open())
        throw AppError(ErrToReport, QStringLiteral("Cannot write in the folder ") + folder, ApplicationTitle());
    scratch.close();

    QString why;
    try {
        why = RequireExportWriters().writeWorkbook(scratch.fileName(), path, recordset, request);
    } catch (...) {
        QFile::remove(scratch.fileName());
        throw;
    }
    if (!why.isEmpty()) {
        QFile::remove(scratch.fileName());
        throw AppError(ErrToReport, why, ApplicationTitle());
    }

    // The scratch file was made owner-only and exclusively; the workbook reaches its name owner-only
    // too, and never through a symbolic link planted there.
    QFile written(scratch.fileName());
    const QString failure
        = written.open(QIODevice::ReadOnly) ? WriteFileSafely(path, written.readAll())
                                            : QStringLiteral("Cannot write ") + path + QStringLiteral(": ") + written.errorString();
    written.close();
    QFile::remove(scratch.fileName());
    if (!failure.isEmpty())
        throw AppError(ErrToReport, failure, ApplicationTitle());
}

bool ExportToExcel(const QString& statement, const QString& title, const QStringList& sheetNames,
    bool sheetPerResultSet, const QString& subtitle, bool pageSetup)
{
    bool opened = false;
    ActionScope action(
        QStringLiteral("modReports"), QStringLiteral("ExportToExcel"), QStringLiteral("Export to Excel"));
    const bool ran = action.run([&] {
        BusyPointer busy;
        OfficeApplication spreadsheet;
        if (!GetExcel(spreadsheet)) {
            ShowErrorMessage(QStringLiteral("Cannot open Excel."));
            return;
        }
        WorkbookRequest request;
        request.title = title;
        request.subtitle = subtitle;
        request.statement = statement;
        request.sheetNames = sheetNames;
        request.sheetPerResultSet = sheetPerResultSet;
        request.pageSetup = pageSetup;
        request.signature = ReportSignature();
        const DatabaseEntry* entry = DatabaseAt(CurrentDB());
        request.databaseName = entry ? entry->DisplayName : QString();

        std::unique_ptr<Recordset> recordset;
        if (!Act_OpenRecordset(recordset, statement) || !recordset)
            RaiseSilent();
        // A workbook that cannot be written is this action's failure, reported once with its reason.
        const QString path = ExportWorkbookPath(title);
        WriteExportWorkbook(path, *recordset, request);
        CloseRecordset(recordset);
        QString error;
        if (spreadsheet.open(path, error)) {
            opened = true;
            return;
        }
        ShowErrorMessage(error);
        ShowErrorMessage(QStringLiteral("Cannot open Excel."));
    });
    return ran && opened;
}
