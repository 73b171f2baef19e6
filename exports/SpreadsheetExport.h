#pragma once

#include <QString>
#include <QStringList>

class Recordset;

// The spreadsheet export: a workbook with a "Description" sheet (title, subtitle, signature,
// database, the statement line by line) and the result sets on data sheets, each with a bold text
// header row, typed cells, a bold totals row with a subtotal under every currency column, and (on
// a sheet of one result set) an automatic filter and a frozen header row. The workbook is written
// into the program's Temp folder and opened with the desktop's spreadsheet program.

struct WorkbookRequest {
    QString title;
    QString subtitle;
    QString signature;
    QString databaseName;
    QString statement;
    // Names of the data sheets in order; a sheet without a name here is "Data" + its number (or
    // "Data" when every result set goes onto one sheet).
    QStringList sheetNames;
    bool sheetPerResultSet = true;
    bool pageSetup = false;
};

// Writes the workbook of every result set of the recordset (from its first one) and replaces the
// file at path atomically. Throws AppError when the workbook cannot be written; the file of that
// name is then left as it was.
void WriteExportWorkbook(const QString& path, Recordset& recordset, const WorkbookRequest& request);

// Where the workbook of an export with this title is written: Temp/<title>.xlsx in the program
// folder, with characters that a file name cannot hold replaced by "_".
QString ExportWorkbookPath(const QString& title);

// Runs the statement and opens its workbook in the spreadsheet program. "Cannot open Excel." when
// no program opens it. An action of its own: a failing query or a workbook that cannot be written
// is reported once, nothing is thrown, no program is started and the result is false.
bool ExportToExcel(const QString& statement, const QString& title, const QStringList& sheetNames = {},
    bool sheetPerResultSet = true, const QString& subtitle = {}, bool pageSetup = false);
