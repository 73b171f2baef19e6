#include "exports/MailMerge.h"
#include "exports/PrintFonts.h"
#include "exports/PrintPreview.h"

#include "exports/Code39.h"

#include "core/Actions.h"
#include "core/AppError.h"
#include "core/AppInfo.h"
#include "core/Database.h"
#include "exports/Exports.h"
#include "core/MessageBoxes.h"
#include "exports/OfficePrograms.h"
#include "core/Platform.h"
#include "core/Recordset.h"
#include "core/SqlText.h"
#include "core/TextUtilities.h"

#include <QAbstractTextDocumentLayout>
#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPrinter>
#include <QRegularExpression>
#include <QScreen>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString escaped(const QString& value)
{
    const bool quote = value.contains(QLatin1Char('\t')) || value.contains(QLatin1Char('\r')) || value.contains(QLatin1Char('\n'))
        || value.startsWith(QLatin1Char('"'));
    if (!quote)
        return value;
    QString inner = value;
    inner.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + inner + QLatin1Char('"');
}

[[noreturn]] void malformed(const QString& reason)
{
    throw AppError(ErrToReport, QStringLiteral("The template is not valid: ") + reason, ApplicationTitle());
}

// Barcode sizes. The merged document is printed by QTextDocument::print, which lays it out in
// screen pixels on the printer's page less its margins: 2 cm a side when the printer gives none,
// and 2 cm a side of its own. The narrowest text that leaves is an A4 page's 210 mm less 80 mm.
// Label cells are that width shared by the sheet's columns; a barcode takes its cell's width,
// with modules no narrower than 0.19 mm (7.5 mil, what scanners still read reliably) and no wider
// than 0.53 mm (two screen pixels, the size a lone barcode has always had).
constexpr double kNarrowestTextMm = 130.0;
constexpr int kLabelPadding = 4; // pixels on every side of a label sheet's cell
constexpr double kMinModuleMm = 0.19;
constexpr double kMaxModuleMm = 0.53;
constexpr double kBarHeightMm = 13.0;
// Pixels per module of the barcode picture: fine enough that a printer at 600 dpi or a page
// rendered at 300 dpi keeps every bar edge.
constexpr int kPicturePixelsPerModule = 4;

// The resolution the document's pixel lengths are laid out in when printed (Qt's own: the primary
// screen's logical resolution, 96 where the application asks for it).
double layoutDpi()
{
    if (QCoreApplication::testAttribute(Qt::AA_Use96Dpi))
        return 96.0;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        return std::round(screen->logicalDotsPerInchX());
    return 96.0;
}

double pixelsOf(double millimetres) { return millimetres / 25.4 * layoutDpi(); }

// The width, in layout pixels, a barcode may take in a cell of a sheet of that many columns.
double cellWidthFor(int columns)
{
    const double cell = pixelsOf(kNarrowestTextMm) / std::max(1, columns);
    return columns > 1 ? cell - 2 * kLabelPadding - 2 : cell;
}

// The shortest text a printed page holds: a Letter page's 279.4 mm less the 80 mm of margins, and
// a little less again, as the printer's font metrics differ slightly from the screen's.
constexpr double kShortestTextMm = 195.0;

QString sheetTable(const QStringList& rows, const std::vector<int>& pageStarts)
{
    const QString open = QStringLiteral("<table width=\"100%\" cellspacing=\"0\" cellpadding=\"%1\"%2>");
    QString html = open.arg(kLabelPadding).arg(QString());
    for (int r = 0; r < rows.size(); ++r) {
        if (std::find(pageStarts.begin(), pageStarts.end(), r) != pageStarts.end())
            html += QStringLiteral("</table>")
                + open.arg(kLabelPadding).arg(QStringLiteral(" style=\"page-break-before: always\""));
        html += rows.at(r);
    }
    return html + QStringLiteral("</table>");
}

void collectTables(QTextFrame* frame, std::vector<QTextTable*>& tables)
{
    for (QTextFrame* child : frame->childFrames()) {
        if (auto* table = qobject_cast<QTextTable*>(child))
            tables.push_back(table);
        collectTables(child, tables);
    }
}

// The first sheet row, from `from` on, whose labels the page foot would cut in two; -1 for none.
// The sheet is laid out on the narrowest and shortest text a printed page gives.
int firstCutRow(const QString& html, size_t tablesBefore, int from, int rowCount)
{
    QTextDocument probe;
    probe.setDocumentMargin(0);
    const double pageHeight = pixelsOf(kShortestTextMm);
    probe.setPageSize(QSizeF(pixelsOf(kNarrowestTextMm), pageHeight));
    probe.setHtml(html);
    std::vector<QTextTable*> tables;
    collectTables(probe.rootFrame(), tables);
    if (tables.size() <= tablesBefore)
        return -1;
    QAbstractTextDocumentLayout* layout = probe.documentLayout();
    QTextFrame* sheetParent = tables[tablesBefore]->parentFrame();
    int row = 0;
    for (size_t t = tablesBefore; t < tables.size() && row < rowCount; ++t) {
        QTextTable* table = tables[t];
        if (table->parentFrame() != sheetParent)
            continue; // a table inside a label
        for (int r = 0; r < table->rows() && row < rowCount; ++r, ++row) {
            if (row < from)
                continue;
            double top = std::numeric_limits<double>::max();
            double bottom = std::numeric_limits<double>::lowest();
            for (int c = 0; c < table->columns(); ++c) {
                const QTextTableCell cell = table->cellAt(r, c);
                for (QTextBlock block = probe.findBlock(cell.firstPosition());
                     block.isValid() && block.position() <= cell.lastPosition(); block = block.next()) {
                    const QRectF rect = layout->blockBoundingRect(block);
                    top = std::min(top, rect.top());
                    bottom = std::max(bottom, rect.bottom());
                }
            }
            if (top < bottom && bottom - top <= pageHeight
                && std::floor(top / pageHeight) != std::floor((bottom - 0.5) / pageHeight))
                return row;
        }
    }
    return -1;
}

// The rows of a label sheet as a table, split into one table per page where a row would
// otherwise cross the foot of a page: the layout breaks a table row line by line, which would
// leave a label's name on one page and its barcode on the next.
QString labelSheet(const QString& before, const QStringList& rows, const QString& after)
{
    size_t tablesBefore = 0;
    {
        QTextDocument lead;
        lead.setHtml(before);
        std::vector<QTextTable*> tables;
        collectTables(lead.rootFrame(), tables);
        tablesBefore = tables.size();
    }
    std::vector<int> pageStarts;
    for (int from = 0;;) {
        const int cut = firstCutRow(
            before + sheetTable(rows, pageStarts) + after, tablesBefore, from, static_cast<int>(rows.size()));
        if (cut < 0)
            break;
        pageStarts.push_back(cut);
        from = cut + 1;
    }
    return sheetTable(rows, pageStarts);
}

const QRegularExpression& beginMarker()
{
    static const QRegularExpression marker(QStringLiteral("<!--\\s*BEGIN\\s+RECORD(?:\\s+columns\\s*=\\s*\"?(\\d+)\"?)?\\s*-->"),
                                           QRegularExpression::CaseInsensitiveOption);
    return marker;
}

const QRegularExpression& endMarker()
{
    static const QRegularExpression marker(QStringLiteral("<!--\\s*END\\s+RECORD\\s*-->"), QRegularExpression::CaseInsensitiveOption);
    return marker;
}

// Fills the merge fields of one piece of the template from one record.
class Filler {
public:
    Filler(const TabData& data, QTextDocument& document, QStringList& missing)
        : m_data(data)
        , m_document(document)
        , m_missing(missing)
    {
    }

    // The width the barcodes of the pieces filled next may take, in layout pixels.
    void setCellWidth(double width) { m_cellWidth = width; }

    QString fill(const QString& piece, const QStringList* record)
    {
        QString out;
        qsizetype at = 0;
        while (true) {
            const qsizetype open = piece.indexOf(QStringLiteral("{{"), at);
            if (open < 0) {
                out += piece.mid(at);
                break;
            }
            const qsizetype close = piece.indexOf(QStringLiteral("}}"), open + 2);
            if (close < 0)
                malformed(QStringLiteral("a merge field opened with {{ is not closed"));
            out += piece.mid(at, open - at);
            out += field(piece.mid(open + 2, close - open - 2).trimmed(), record);
            at = close + 2;
        }
        return out;
    }

private:
    QString field(const QString& spec, const QStringList* record)
    {
        bool barcode = false;
        QString name = spec;
        if (spec.startsWith(QStringLiteral("Barcode:"), Qt::CaseInsensitive)) {
            barcode = true;
            name = spec.mid(8).trimmed();
        }
        if (name.isEmpty())
            malformed(QStringLiteral("a merge field has no name"));
        int column = -1;
        for (int i = 0; i < m_data.names.size(); ++i) {
            if (m_data.names.at(i).compare(name, Qt::CaseInsensitive) == 0) {
                column = i;
                break;
            }
        }
        if (column < 0) {
            if (!m_missing.contains(name, Qt::CaseInsensitive))
                m_missing << name;
            return {};
        }
        const QString value = record && column < record->size() ? record->at(column) : QString();
        if (!barcode) {
            QString html = value.toHtmlEscaped();
            html.replace(kCrLf, QStringLiteral("<br/>"));
            html.replace(QLatin1Char('\n'), QStringLiteral("<br/>"));
            return html;
        }
        const QImage image = Code39Image(value, kPicturePixelsPerModule, 60);
        if (image.isNull())
            return value.toHtmlEscaped();
        // The module width follows from the cell, within what scanners read.
        const int modules = image.width() / kPicturePixelsPerModule;
        const double module = std::clamp(m_cellWidth / modules, pixelsOf(kMinModuleMm), pixelsOf(kMaxModuleMm));
        const QUrl url(QStringLiteral("barcode:%1").arg(++m_images));
        m_document.addResource(QTextDocument::ImageResource, url, image);
        return QStringLiteral("<img src=\"%1\" width=\"%2\" height=\"%3\"/>")
            .arg(url.toString())
            .arg(module * modules, 0, 'f', 2)
            .arg(pixelsOf(kBarHeightMm), 0, 'f', 2);
    }

    const TabData& m_data;
    QTextDocument& m_document;
    QStringList& m_missing;
    int m_images = 0;
    double m_cellWidth = cellWidthFor(1);
};

class DesktopPresenter final : public MergedDocumentPresenter {
public:
    void preview(std::unique_ptr<QTextDocument> document, const QString& title) override
    {
        // A window of its own, like the report viewer's: opened at the page width, printed
        // through the program's print dialog.
        auto* window = new PrintPreview();
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->setWindowTitle(title);
        window->setDocumentName(title);
        window->resize(900, 700);
        QTextDocument* merged = document.release();
        merged->setParent(window);
        window->setPagePainter([merged](QPrinter* printer) { merged->print(printer); });
        QObject::connect(window, &PrintPreview::closeRequested, window, &QWidget::close);
        window->show();
    }
    void print(std::unique_ptr<QTextDocument> document, const QString& title) override
    {
        QPrinter printer;
        printer.setDocName(PrintedDocumentName(title));
        document->print(&printer);
    }
};

std::unique_ptr<MergedDocumentPresenter>& presenterSlot()
{
    static std::unique_ptr<MergedDocumentPresenter> slot = std::make_unique<DesktopPresenter>();
    return slot;
}

} // namespace

namespace {
// A date-time without a time of day is a date (a notification's printed date, say): the letter
// prints "06/10/2024", not "06/10/2024 12:00:00 AM".
QString mergeValueText(const QVariant& value, ColumnType type)
{
    if (type == ColumnType::DateTime && value.isValid() && !value.isNull()) {
        const QDateTime at = value.toDateTime();
        if (at.isValid() && at.time() == QTime(0, 0))
            return ValueText(QVariant(at.date()), ColumnType::Date);
    }
    return ValueText(value, type);
}
} // namespace

QString TabDataText(const Recordset& recordset)
{
    QString text;
    if (!recordset.isOpen())
        return text;
    const int fields = recordset.fieldCount();
    QStringList names;
    for (int column = 0; column < fields; ++column)
        names << escaped(recordset.fieldName(column));
    text += names.join(QLatin1Char('\t')) + kCrLf;
    for (int row = 0; row < recordset.recordCount(); ++row) {
        for (int column = 0; column < fields; ++column) {
            if (column > 0)
                text += QLatin1Char('\t');
            text += escaped(mergeValueText(recordset.valueAt(row, column), recordset.fieldType(column)));
        }
        text += kCrLf;
    }
    return text;
}

TabData ParseTabData(const QString& text)
{
    std::vector<QStringList> lines;
    QStringList line;
    QString field;
    bool fieldStarted = false;
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto endField = [&] {
        line << field;
        field.clear();
        fieldStarted = false;
    };
    while (i < n) {
        const QChar c = text.at(i);
        if (!fieldStarted && field.isEmpty() && c == QLatin1Char('"')) {
            // A quoted value: up to the quote that is not doubled.
            ++i;
            while (i < n) {
                if (text.at(i) == QLatin1Char('"')) {
                    if (i + 1 < n && text.at(i + 1) == QLatin1Char('"')) {
                        field += QLatin1Char('"');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += text.at(i++);
            }
            fieldStarted = true;
            continue;
        }
        if (c == QLatin1Char('\t')) {
            endField();
            ++i;
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            endField();
            lines.push_back(line);
            line.clear();
            i += (c == QLatin1Char('\r') && i + 1 < n && text.at(i + 1) == QLatin1Char('\n')) ? 2 : 1;
        } else {
            field += c;
            fieldStarted = true;
            ++i;
        }
    }
    if (fieldStarted || !field.isEmpty() || !line.isEmpty()) {
        endField();
        lines.push_back(line);
    }
    TabData data;
    if (!lines.empty()) {
        data.names = lines.front();
        data.records.assign(lines.begin() + 1, lines.end());
    }
    return data;
}

bool WriteTabData(const QString& statement, const QString& dataFilePath)
{
    bool written = false;
    ActionScope action(
        QStringLiteral("modWordReports"), QStringLiteral("WriteTabData"), QStringLiteral("Write Data File"));
    const bool ran = action.run([&] {
        BusyPointer busy;
        std::unique_ptr<Recordset> recordset;
        if (!Act_OpenRecordset(recordset, statement) || !recordset)
            RaiseSilent();
        const QString text = TabDataText(*recordset);
        CloseRecordset(recordset);
        // SaveTextFile has shown why the file could not be written (or the user kept the old one).
        written = SaveTextFile(dataFilePath, text);
    });
    return ran && written;
}

std::unique_ptr<QTextDocument> MergeTemplate(const QString& templateHtml, const TabData& data, QStringList& missingFields)
{
    auto document = std::make_unique<QTextDocument>();
    Filler filler(data, *document, missingFields);
    const QStringList* first = data.records.empty() ? nullptr : &data.records.front();

    QString html;
    const QRegularExpressionMatch begin = beginMarker().match(templateHtml);
    if (begin.hasMatch()) {
        const QRegularExpressionMatch end = endMarker().match(templateHtml, begin.capturedEnd());
        if (!end.hasMatch())
            malformed(QStringLiteral("BEGIN RECORD has no END RECORD"));
        if (beginMarker().match(templateHtml, begin.capturedEnd()).hasMatch())
            malformed(QStringLiteral("only one BEGIN RECORD block is allowed"));
        const QString block = templateHtml.mid(begin.capturedEnd(), end.capturedStart() - begin.capturedEnd());
        const int columns = begin.captured(1).isEmpty() ? 1 : std::max(1, begin.captured(1).toInt());
        // Fields outside the block take the first record's values.
        const QString before = filler.fill(templateHtml.left(begin.capturedStart()), first);
        const QString after = filler.fill(templateHtml.mid(end.capturedEnd()), first);
        filler.setCellWidth(cellWidthFor(columns));
        QString blocks;
        if (columns == 1) {
            for (const QStringList& record : data.records)
                blocks += filler.fill(block, &record);
        } else {
            QStringList rows;
            for (size_t r = 0; r < data.records.size(); ++r) {
                if (r % columns == 0)
                    rows << QStringLiteral("<tr>");
                rows.last() += QStringLiteral("<td width=\"%1%\" valign=\"top\">").arg(100 / columns)
                    + filler.fill(block, &data.records[r]) + QStringLiteral("</td>");
                if (r % columns == static_cast<size_t>(columns - 1) || r + 1 == data.records.size())
                    rows.last() += QStringLiteral("</tr>");
            }
            blocks = labelSheet(before, rows, after);
        }
        html = before + blocks + after;
    } else {
        if (endMarker().match(templateHtml).hasMatch())
            malformed(QStringLiteral("END RECORD has no BEGIN RECORD"));
        // A letter per record: the whole body again, each on a page of its own.
        static const QRegularExpression body(QStringLiteral("<body[^>]*>(.*)</body>"),
                                             QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
        const QRegularExpressionMatch bodyMatch = body.match(templateHtml);
        const QString inner = bodyMatch.hasMatch() ? bodyMatch.captured(1) : templateHtml;
        QString pages;
        for (size_t r = 0; r < data.records.size(); ++r) {
            const QString filled = filler.fill(inner, &data.records[r]);
            pages += r == 0 ? QStringLiteral("<div>") : QStringLiteral("<div style=\"page-break-before: always\">");
            pages += filled + QStringLiteral("</div>");
        }
        html = bodyMatch.hasMatch() ? templateHtml.left(bodyMatch.capturedStart(1)) + pages + templateHtml.mid(bodyMatch.capturedEnd(1)) : pages;
    }
    document->setHtml(html);
    UsePrintFonts(*document);
    return document;
}

std::unique_ptr<MergedDocumentPresenter> SetMergedDocumentPresenter(std::unique_ptr<MergedDocumentPresenter> presenter)
{
    std::unique_ptr<MergedDocumentPresenter> previous = std::move(presenterSlot());
    presenterSlot() = std::move(presenter);
    return previous;
}

QString TemplatePath(const QString& templateName)
{
    return GetMainPath() + QStringLiteral("Reports/") + templateName + QStringLiteral(".html");
}

QString MergeDataPath(const QString& dataName)
{
    return GetMainPath() + QStringLiteral("Temp/") + dataName + QStringLiteral(".txt");
}

bool WordReport(const QString& templateName, const QString& statement, const QString& dataName, bool showResult,
    const QString& recordName)
{
    bool done = false;
    ActionScope action(
        QStringLiteral("modWordReports"), QStringLiteral("WordReport"), QStringLiteral("Print ") + templateName);
    const bool ran = action.run([&] {
        BusyPointer busy;
        {
            std::unique_ptr<Recordset> recordset;
            if (!Act_OpenRecordset(recordset, statement) || !recordset)
                RaiseSilent();
            const bool empty = !recordset->isOpen() || recordset->recordCount() == 0;
            CloseRecordset(recordset);
            if (empty) {
                ShowInfoMessage(QStringLiteral("No records found."));
                return;
            }
        }
        const QString templatePath = TemplatePath(templateName);
        OfficeApplication wordProcessor;
        if (!GetWord(wordProcessor)) {
            ShowErrorMessage(QStringLiteral("Cannot open MS Word."));
            return;
        }
        QFile templateFile(templatePath);
        if (!FileExists(templatePath) || !templateFile.open(QIODevice::ReadOnly)) {
            ShowErrorMessage(QStringLiteral("Cannot find template ") + AngleQuote(templatePath));
            return;
        }
        const QString templateHtml = QString::fromUtf8(templateFile.readAll());

        // A previous data file of that name is replaced without a question.
        const QString dataPath = MergeDataPath(dataName);
        DeleteFiles({ dataPath });
        // A data file that could not be written has been reported already (by the nested action or
        // the file's own message): nothing to merge, and nothing more to say.
        if (!WriteTabData(statement, dataPath))
            return;
        QFile dataFile(dataPath);
        if (!dataFile.open(QIODevice::ReadOnly))
            RaiseToReport(QStringLiteral("Cannot read the data file ") + AngleQuote(dataPath));
        const TabData data = ParseTabData(QString::fromUtf8(dataFile.readAll()));

        QStringList missing;
        std::unique_ptr<QTextDocument> merged;
        try {
            merged = MergeTemplate(templateHtml, data, missing);
        } catch (const AppError& error) {
            RaiseToReport(error.description() + QStringLiteral(" (") + AngleQuote(templatePath) + QStringLiteral(")"));
        }
        if (!missing.isEmpty()) {
            QStringList quoted;
            for (const QString& name : missing)
                quoted << AngleQuote(name);
            ShowMessageBox(QStringLiteral("The template ") + AngleQuote(templateName)
                    + QStringLiteral(" uses fields that the data lacks; they are left empty: ")
                    + quoted.join(QStringLiteral(", ")),
                MsgBox::Exclamation, QStringLiteral("Mail Merge"));
        }
        const QString title = recordName.trimmed().isEmpty()
            ? templateName
            : templateName + QStringLiteral(" - ") + recordName.trimmed();
        if (showResult)
            presenterSlot()->preview(std::move(merged), title);
        else
            presenterSlot()->print(std::move(merged), title);
        done = true;
    });
    return ran && done;
}
