#pragma once

#include "exports/ReportLayout.h"

#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class PrintPreview;
class QPagedPaintDevice;
class QPrinter;
class QPrintPreviewWidget;
class Recordset;

// Report files: our own XML report definitions in the Reports folder (docs/templates-and-reports.md
// describes them), rendered by our code from the caller's statement through the current connection.

struct ReportColumn {
    QString field;
    QString caption;
    double width = 1.0; // relative to the other columns
    Qt::Alignment align = Qt::AlignLeft;
    QString total; // "", "sum", "count", "avg", "min" or "max"
    // A field whose text follows the value, as a weight's unit follows the weight ("12.5 g").
    QString unitField;
};

struct ReportGroup {
    QString field;
    QString caption; // "{Field}" placeholders filled from the group's first row
    bool totals = false;
};

struct ReportDefinition {
    QString title;
    bool landscape = false;
    // Left, centre and right texts; "{Title}", "{Page}", "{Pages}" and "{PrintDate}" are filled in.
    QStringList pageHeader { QString(), QStringLiteral("{Title}"), QString() };
    QStringList pageFooter { QStringLiteral("{PrintDate}"), QString(), QStringLiteral("Page {Page} of {Pages}") };
    std::vector<ReportGroup> groups;
    std::vector<ReportColumn> columns;
    bool grandTotals = true;
};

// Reads a definition; throws AppError "Cannot read report <path>: <reason>" when the file is
// missing or malformed.
ReportDefinition LoadReportDefinition(const QString& path);
ReportDefinition ParseReportDefinition(const QByteArray& xml, const QString& path);

// Turns the rows of the recordset's current result set into report lines (group captions, rows,
// totals), has LayOutReport place them on pages and paints what it decided.
class ReportRenderer {
public:
    // Throws AppError when a column or group names a field the data lacks.
    ReportRenderer(ReportDefinition definition, const Recordset& recordset);
    ~ReportRenderer();
    ReportRenderer(const ReportRenderer&) = delete;
    ReportRenderer& operator=(const ReportRenderer&) = delete;

    // Paints every page on the device (a printer, a PDF writer, the preview's printer).
    void render(QPagedPaintDevice* device);
    int pageCount() const { return m_pages; }

private:
    ReportDefinition m_definition;
    std::vector<int> m_columns; // recordset column of each report column
    std::vector<bool> m_breakable; // whether a column's values may wrap inside (texts; not dates or figures)
    std::vector<int> m_groups;
    std::vector<ReportLine> m_lines;
    int m_pages = 0;
};

// Renders the report file with the statement's data into a PDF file (tools and tests). An action
// of its own: a report that cannot be read, a failing query or a file that cannot be written is
// reported once, nothing is thrown and the result is false.
bool RenderReportToPdf(const QString& reportPath, const QString& statement, const QString& pdfPath);

// The report viewer's content: the pages in a print preview with zoom, page turning and printing.
// The report viewer window (frmCrystal) holds one.
class ReportPreview : public QWidget {
    Q_OBJECT
public:
    explicit ReportPreview(QWidget* parent = nullptr);
    ~ReportPreview() override;
    // Reads the report file and runs the statement; false after the failure was reported by the
    // action "Show Report".
    bool Act_ShowReport(const QString& reportFile, const QString& statement);
    // The same for the report viewer window: any failure goes to the central error dialog with the
    // statement, the message "Error printing Crystal Report" and the procedure given; false then.
    bool ShowReport(const QString& reportFile, const QString& statement, const QString& procedure);
    QPrintPreviewWidget* previewWidget() const;
    int pageCount() const;
    // The shown report's title; empty until a report was shown.
    QString title() const { return m_title; }
    // The name printed pages go under, which the print dialog proposes for a PDF file: the report
    // and its record ("Chain of Custody - 2024-0015-01"; PrintPreview::setDocumentName).
    void setDocumentName(const QString& name);
    QString documentName() const;

    // Prints the shown report on the printer the user chooses (the print dialog), the pages the
    // preview shows; false when there is nothing to print or the user cancelled. The toolbar's
    // Print button and the main window's File > Print both come here.
    bool printReport();
    // What asks for the printer: the program's print dialog (PrintPreview::setPrinterChooser);
    // tests print to a PDF file.
    using PrinterChooser = std::function<bool(QPrinter& printer, QWidget* parent)>;
    static void setPrinterChooser(PrinterChooser chooser);

Q_SIGNALS:
    // The toolbar's Close button.
    void closeRequested();

private:
    void paintPages(QPrinter* printer);
    void showDefinition(ReportDefinition definition, const Recordset& recordset);
    PrintPreview* m_view = nullptr;
    std::unique_ptr<ReportRenderer> m_renderer;
    QString m_title;
};
