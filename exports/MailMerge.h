#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class QTextDocument;
class Recordset;

// Mail-merge documents: HTML templates in the Reports folder whose merge fields are filled from a
// tab-separated data file in the Temp folder (docs/templates-and-reports.md describes the format).

// The data file's text of the recordset's current result set: the field names separated by TAB,
// CR LF, then one line per row. Values in the fixed formats (a date-time at midnight as its date);
// a value holding a TAB, a line break or starting with a double quote is written between double
// quotes with inner quotes doubled, so it is read back whole.
QString TabDataText(const Recordset& recordset);

struct TabData {
    QStringList names;
    std::vector<QStringList> records;
};
// Reads a data file's text back (the inverse of TabDataText).
TabData ParseTabData(const QString& text);

// Runs the statement and writes its first result set to the data file (SaveTextFile: an existing
// file is replaced only after the overwrite question). An action of its own: nothing is thrown; a
// failing query or a file that cannot be written is reported once and the result is false, as it is
// when the user keeps the existing file.
bool WriteTabData(const QString& statement, const QString& dataFilePath);

// The merged document of a template's HTML and the data: every record's block filled in. Throws
// AppError when the template is malformed. Fields that the data lacks are left empty and their
// names put in missingFields (each once, in the order met).
std::unique_ptr<QTextDocument> MergeTemplate(const QString& templateHtml, const TabData& data, QStringList& missingFields);

// Shows or prints the merged documents. The program's own shows a print preview window or prints
// on the default printer; tests install a recorder.
class MergedDocumentPresenter {
public:
    virtual ~MergedDocumentPresenter() = default;
    virtual void preview(std::unique_ptr<QTextDocument> document, const QString& title) = 0;
    virtual void print(std::unique_ptr<QTextDocument> document, const QString& title) = 0;
};
std::unique_ptr<MergedDocumentPresenter> SetMergedDocumentPresenter(std::unique_ptr<MergedDocumentPresenter> presenter);

// The template's path: Reports/<name>.html in the program folder.
QString TemplatePath(const QString& templateName);
// The data file's path: Temp/<name>.txt in the program folder.
QString MergeDataPath(const QString& dataName);

// "No records found." for an empty result; "Cannot find template <path>" for a missing template;
// otherwise the data file is written afresh, merged into the template and the result shown (show
// result) or printed: every record, not the template alone. An action of its own: nothing is
// thrown, every failure is reported once; true when the merged document was shown or printed.
// The document's title is the template's name and, when given, its record ("Barcode Labels -
// Items - 2024-0015-01"): the preview's caption and the name of its printed pages.
bool WordReport(const QString& templateName, const QString& statement, const QString& dataName, bool showResult,
    const QString& recordName = {});
