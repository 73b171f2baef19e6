#include "exports/ReportFiles.h"

#include "core/Actions.h"
#include "core/AppError.h"
#include "core/AppInfo.h"
#include "core/Connection.h"
#include "core/Database.h"
#include "core/ErrorReport.h"
#include "core/Recordset.h"
#include "core/SafeFiles.h"
#include "core/SqlText.h"
#include "core/TextUtilities.h"
#include "exports/PrintFonts.h"
#include "exports/PrintPreview.h"
#include "exports/ReportLayout.h"

#include <QBuffer>
#include <QDateTime>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QVBoxLayout>

#include <cmath>
#include <limits>

namespace {

[[noreturn]] void cannotRead(const QString& path, const QString& reason)
{
    throw AppError(ErrToReport, QStringLiteral("Cannot read report ") + AngleQuote(path) + QStringLiteral(": ") + reason, ApplicationTitle());
}

QStringList threeParts(const QDomElement& element, const QStringList& fallback)
{
    if (element.isNull())
        return fallback;
    return { element.attribute(QStringLiteral("left")), element.attribute(QStringLiteral("center")), element.attribute(QStringLiteral("right")) };
}

QString groupedNumber(double value, int decimals)
{
    QString digits = QString::number(std::fabs(value), 'f', decimals);
    const qsizetype point = digits.indexOf(QLatin1Char('.'));
    qsizetype wholeEnd = point < 0 ? digits.size() : point;
    for (qsizetype at = wholeEnd - 3; at > 0; at -= 3)
        digits.insert(at, QLatin1Char(','));
    return value < 0 ? QLatin1Char('-') + digits : digits;
}

QString cellText(const QVariant& value, ColumnType type)
{
    if (!value.isValid() || value.isNull())
        return {};
    switch (type) {
    case ColumnType::Integer:
        return QString::number(value.toLongLong());
    case ColumnType::Double:
        return QString::number(value.toDouble(), 'g', 15);
    case ColumnType::Currency:
        return QStringLiteral("$") + groupedNumber(value.toDouble(), 2);
    case ColumnType::Date:
        return FormatDateText(value);
    case ColumnType::DateTime:
        return FormatDateTimeText(value);
    case ColumnType::Boolean:
        return FormatYesNoText(value);
    case ColumnType::Text:
        break;
    }
    return value.toString();
}

// The running figures of one total.
struct Accumulator {
    double sum = 0;
    double min = std::numeric_limits<double>::max();
    double max = std::numeric_limits<double>::lowest();
    int count = 0;
    void add(double value)
    {
        sum += value;
        min = std::min(min, value);
        max = std::max(max, value);
        ++count;
    }
    QString text(const QString& kind, ColumnType type) const
    {
        if (kind == QLatin1String("count"))
            return QString::number(count);
        if (count == 0)
            return {};
        double value = sum;
        if (kind == QLatin1String("avg"))
            value = sum / count;
        else if (kind == QLatin1String("min"))
            value = min;
        else if (kind == QLatin1String("max"))
            value = max;
        if (type == ColumnType::Currency)
            return QStringLiteral("$") + groupedNumber(value, 2);
        if (type == ColumnType::Integer && kind != QLatin1String("avg"))
            return QString::number(static_cast<qint64>(std::llround(value)));
        return QString::number(value, 'g', 15);
    }
};

} // namespace

ReportDefinition ParseReportDefinition(const QByteArray& xml, const QString& path)
{
    QDomDocument document;
    QString message;
    int line = 0;
    int errorColumn = 0;
    if (!document.setContent(xml, &message, &line, &errorColumn))
        cannotRead(path, QStringLiteral("line %1: %2").arg(line).arg(message));
    const QDomElement root = document.documentElement();
    if (root.tagName() != QLatin1String("Report"))
        cannotRead(path, QStringLiteral("the root element is not <Report>"));
    ReportDefinition definition;
    definition.title = root.attribute(QStringLiteral("title"));
    definition.landscape = root.attribute(QStringLiteral("orientation")).compare(QLatin1String("landscape"), Qt::CaseInsensitive) == 0;
    definition.grandTotals = root.attribute(QStringLiteral("grandTotals"), QStringLiteral("yes")) != QLatin1String("no");
    definition.pageHeader = threeParts(root.firstChildElement(QStringLiteral("PageHeader")), definition.pageHeader);
    definition.pageFooter = threeParts(root.firstChildElement(QStringLiteral("PageFooter")), definition.pageFooter);
    for (QDomElement group = root.firstChildElement(QStringLiteral("Group")); !group.isNull(); group = group.nextSiblingElement(QStringLiteral("Group"))) {
        ReportGroup entry;
        entry.field = group.attribute(QStringLiteral("field"));
        if (entry.field.isEmpty())
            cannotRead(path, QStringLiteral("a <Group> has no field"));
        entry.caption = group.attribute(QStringLiteral("caption"), QLatin1Char('{') + entry.field + QLatin1Char('}'));
        entry.totals = group.attribute(QStringLiteral("totals")) == QLatin1String("yes");
        definition.groups.push_back(entry);
    }
    static const QStringList totals { QString(), QStringLiteral("sum"), QStringLiteral("count"), QStringLiteral("avg"), QStringLiteral("min"),
                                      QStringLiteral("max") };
    for (QDomElement column = root.firstChildElement(QStringLiteral("Column")); !column.isNull();
         column = column.nextSiblingElement(QStringLiteral("Column"))) {
        ReportColumn entry;
        entry.field = column.attribute(QStringLiteral("field"));
        if (entry.field.isEmpty())
            cannotRead(path, QStringLiteral("a <Column> has no field"));
        entry.caption = column.attribute(QStringLiteral("caption"), entry.field);
        bool ok = true;
        entry.width = column.attribute(QStringLiteral("width"), QStringLiteral("1")).toDouble(&ok);
        if (!ok || entry.width <= 0)
            cannotRead(path, QStringLiteral("the width of column ") + entry.field + QStringLiteral(" is not a positive number"));
        const QString align = column.attribute(QStringLiteral("align"), QStringLiteral("left")).toLower();
        entry.align = align == QLatin1String("right") ? Qt::AlignRight : align == QLatin1String("center") ? Qt::AlignHCenter : Qt::AlignLeft;
        entry.total = column.attribute(QStringLiteral("total")).toLower();
        entry.unitField = column.attribute(QStringLiteral("unitField"));
        if (!totals.contains(entry.total))
            cannotRead(path, QStringLiteral("unknown total ") + entry.total);
        definition.columns.push_back(entry);
    }
    if (definition.columns.empty())
        cannotRead(path, QStringLiteral("the report has no <Column>"));
    return definition;
}

ReportDefinition LoadReportDefinition(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        cannotRead(path, file.errorString());
    return ParseReportDefinition(file.readAll(), path);
}

ReportRenderer::ReportRenderer(ReportDefinition definition, const Recordset& recordset)
    : m_definition(std::move(definition))
{
    auto require = [&](const QString& field) {
        const int index = recordset.isOpen() ? recordset.fieldIndex(field) : -1;
        if (index < 0)
            RaiseToReport(QStringLiteral("The report ") + AngleQuote(m_definition.title) + QStringLiteral(" needs the field ") + AngleQuote(field)
                          + QStringLiteral(", which the data lacks."));
        return index;
    };
    std::vector<int> units;
    for (const ReportColumn& column : m_definition.columns) {
        m_columns.push_back(require(column.field));
        units.push_back(column.unitField.isEmpty() ? -1 : require(column.unitField));
        // Dates, times, figures and weights are read whole; only texts wrap inside.
        m_breakable.push_back(recordset.fieldType(m_columns.back()) == ColumnType::Text);
    }
    for (const ReportGroup& group : m_definition.groups)
        m_groups.push_back(require(group.field));

    const int columns = static_cast<int>(m_columns.size());
    const int groups = static_cast<int>(m_groups.size());
    auto totalsLine = [&](ReportLine::Kind kind, int depth, const QString& caption,
                          const std::vector<Accumulator>& figures) {
        ReportLine line;
        line.kind = kind;
        line.depth = depth;
        line.caption = caption;
        for (int c = 0; c < columns; ++c) {
            const ReportColumn& column = m_definition.columns[c];
            line.cells << (column.total.isEmpty() ? QString() : figures[c].text(column.total, recordset.fieldType(m_columns[c])));
        }
        m_lines.push_back(line);
    };
    bool anyTotals = false;
    for (const ReportColumn& column : m_definition.columns)
        anyTotals = anyTotals || !column.total.isEmpty();

    std::vector<std::vector<Accumulator>> groupFigures(groups, std::vector<Accumulator>(columns));
    std::vector<Accumulator> grand(columns);
    std::vector<QString> current(groups);
    std::vector<QString> captions(groups);
    const int rows = recordset.isOpen() ? recordset.recordCount() : 0;
    auto closeGroups = [&](int from) {
        for (int g = groups - 1; g >= from; --g) {
            if (m_definition.groups[g].totals && anyTotals)
                totalsLine(ReportLine::Kind::GroupTotals, g, QStringLiteral("Total ") + captions[g], groupFigures[g]);
            groupFigures[g].assign(columns, Accumulator());
        }
    };
    for (int row = 0; row < rows; ++row) {
        // The first group whose value changed closes it and every inner group.
        int changed = groups;
        for (int g = 0; g < groups; ++g) {
            const QString key = cellText(recordset.valueAt(row, m_groups[g]), recordset.fieldType(m_groups[g]));
            if (row == 0 || key != current[g]) {
                changed = g;
                break;
            }
        }
        if (row > 0)
            closeGroups(changed);
        for (int g = changed; g < groups; ++g) {
            current[g] = cellText(recordset.valueAt(row, m_groups[g]), recordset.fieldType(m_groups[g]));
            QString caption = m_definition.groups[g].caption;
            for (int c = 0; c < recordset.fieldCount(); ++c)
                caption.replace(QLatin1Char('{') + recordset.fieldName(c) + QLatin1Char('}'),
                                cellText(recordset.valueAt(row, c), recordset.fieldType(c)), Qt::CaseInsensitive);
            captions[g] = caption;
            ReportLine header;
            header.kind = ReportLine::Kind::GroupHeader;
            header.depth = g;
            header.caption = caption;
            m_lines.push_back(header);
        }
        ReportLine line;
        line.depth = groups;
        for (int c = 0; c < columns; ++c) {
            const int source = m_columns[c];
            QString text = cellText(recordset.valueAt(row, source), recordset.fieldType(source));
            const int unit = units[static_cast<size_t>(c)];
            if (unit >= 0 && !text.isEmpty() && !recordset.isNullAt(row, unit))
                text += QLatin1Char(' ') + cellText(recordset.valueAt(row, unit), recordset.fieldType(unit));
            line.cells << text;
            if (!recordset.isNullAt(row, source)) {
                const double value = recordset.fieldType(source) == ColumnType::Text ? 0.0 : recordset.valueAt(row, source).toDouble();
                for (int g = 0; g < groups; ++g)
                    groupFigures[g][c].add(value);
                grand[c].add(value);
            }
        }
        m_lines.push_back(line);
    }
    if (rows > 0)
        closeGroups(0);
    if (m_definition.grandTotals && anyTotals)
        totalsLine(ReportLine::Kind::GrandTotals, 0, QStringLiteral("Grand Total"), grand);
}

ReportRenderer::~ReportRenderer() = default;

void ReportRenderer::render(QPagedPaintDevice* device)
{
    device->setPageOrientation(m_definition.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    QPainter painter;
    if (!painter.begin(device))
        RaiseToReport(QStringLiteral("Cannot paint the report ") + AngleQuote(m_definition.title));
    const QRectF area = QRectF(QPointF(0, 0), QSizeF(device->width(), device->height()));
    QFont font = PrintFont(QFont(QStringLiteral("DejaVu Sans")));
    font.setPointSizeF(9);
    painter.setFont(font);
    const double lineHeight = painter.fontMetrics().height() * 1.3;
    QFont bold = font;
    bold.setBold(true);
    QFont titleFont = font;
    titleFont.setPointSizeF(14);
    titleFont.setBold(true);
    const QFontMetricsF plainMetrics(font, device);
    const QFontMetricsF boldMetrics(bold, device);

    ReportPage page;
    page.width = area.width();
    page.height = area.height();
    page.lineHeight = lineHeight;
    page.plainWidth = [&plainMetrics](const QString& text) { return plainMetrics.horizontalAdvance(text); };
    page.boldWidth = [&boldMetrics](const QString& text) { return boldMetrics.horizontalAdvance(text); };
    std::vector<ReportLayoutColumn> columns;
    for (size_t c = 0; c < m_definition.columns.size(); ++c) {
        const ReportColumn& column = m_definition.columns[c];
        columns.push_back({ column.caption, column.width, !column.total.isEmpty(), m_breakable[c] });
    }
    const ReportLayout layout = LayOutReport(columns, m_lines, page);
    m_pages = layout.pages;

    const QString printDate = FormatDateTimeText(QDateTime::currentDateTime());
    auto fill = [&](QString text, int onPage) {
        text.replace(QStringLiteral("{Title}"), m_definition.title);
        text.replace(QStringLiteral("{Page}"), QString::number(onPage + 1));
        text.replace(QStringLiteral("{Pages}"), QString::number(m_pages));
        text.replace(QStringLiteral("{PrintDate}"), printDate);
        return text;
    };
    auto band = [&](const QStringList& parts, double top, int onPage) {
        const Qt::Alignment aligns[3] = { Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight };
        for (int i = 0; i < 3 && i < parts.size(); ++i)
            painter.drawText(QRectF(area.left(), top, area.width(), lineHeight), int(aligns[i] | Qt::AlignVCenter),
                fill(parts.at(i), onPage));
    };
    auto drawLines = [&](const QRectF& first, Qt::Alignment align, const QStringList& lines) {
        for (qsizetype k = 0; k < lines.size(); ++k)
            painter.drawText(
                first.translated(0, lineHeight * static_cast<double>(k)), int(align | Qt::AlignVCenter), lines.at(k));
    };
    auto drawCells = [&](const std::vector<QStringList>& cells, double y) {
        for (size_t c = 0; c < cells.size() && c < columns.size(); ++c)
            drawLines(layout.columns[c].translated(area.left(), y), m_definition.columns[c].align, cells[c]);
    };

    size_t next = 0;
    for (int onPage = 0; onPage < m_pages; ++onPage) {
        if (onPage > 0)
            device->newPage();
        painter.setFont(font);
        band(m_definition.pageHeader, area.top(), onPage);
        double y = area.top() + layout.headerBand;
        painter.setFont(titleFont);
        painter.drawText(QRectF(area.left(), y, area.width(), layout.titleBand),
            int(Qt::AlignHCenter | Qt::AlignVCenter), m_definition.title);
        y += layout.titleBand;
        painter.setFont(bold);
        drawCells(layout.captionLines, y);
        const double rule = y + lineHeight * layout.captionHeight;
        painter.drawLine(QPointF(area.left(), rule), QPointF(area.right(), rule));
        y += layout.captionBand;
        for (; next < m_lines.size() && layout.lines[next].page == onPage; ++next) {
            const ReportLine& line = m_lines[next];
            const ReportLineLayout& placed = layout.lines[next];
            const double indent = line.depth * lineHeight;
            switch (line.kind) {
            case ReportLine::Kind::GroupHeader:
                painter.setFont(bold);
                drawLines(QRectF(area.left() + indent, y, placed.captionWidth, lineHeight), Qt::AlignLeft,
                    placed.captionLines);
                break;
            case ReportLine::Kind::Row:
                painter.setFont(font);
                drawCells(placed.cellLines, y);
                break;
            case ReportLine::Kind::GroupTotals:
            case ReportLine::Kind::GrandTotals:
                painter.setFont(bold);
                painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
                drawLines(QRectF(area.left() + indent, y, std::max(0.0, placed.captionWidth), lineHeight),
                    Qt::AlignLeft, placed.captionLines);
                drawCells(placed.cellLines,
                    placed.captionAbove ? y + lineHeight * static_cast<double>(placed.captionLines.size()) : y);
                break;
            }
            y += lineHeight * placed.height;
        }
        painter.setFont(font);
        band(m_definition.pageFooter, area.bottom() - lineHeight, onPage);
    }
    painter.end();
}

bool RenderReportToPdf(const QString& reportPath, const QString& statement, const QString& pdfPath)
{
    ActionScope action(
        QStringLiteral("ReportFiles"), QStringLiteral("RenderReportToPdf"), QStringLiteral("Render Report"));
    return action.run([&] {
        ReportDefinition definition = LoadReportDefinition(reportPath);
        std::unique_ptr<Recordset> recordset;
        if (!Act_OpenRecordset(recordset, statement) || !recordset)
            RaiseSilent();
        ReportRenderer renderer(std::move(definition), *recordset);
        CloseRecordset(recordset);
        // The document is made in memory and then written owner-only, never through a symbolic
        // link planted where the file goes.
        QBuffer document;
        document.open(QIODevice::WriteOnly);
        {
            QPdfWriter writer(&document);
            writer.setTitle(QFileInfo(reportPath).completeBaseName());
            writer.setPageSize(QPageSize(QPageSize::Letter));
            writer.setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
            renderer.render(&writer);
        }
        const QString failure = WriteFileSafely(pdfPath, document.data());
        if (!failure.isEmpty())
            RaiseToReport(failure);
    });
}

ReportPreview::ReportPreview(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("ReportPreview"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_view = new PrintPreview(this);
    layout->addWidget(m_view);
    m_view->setPagePainter([this](QPrinter* printer) { paintPages(printer); });
    connect(m_view, &PrintPreview::closeRequested, this, &ReportPreview::closeRequested);
}

ReportPreview::~ReportPreview() = default;

bool ReportPreview::Act_ShowReport(const QString& reportFile, const QString& statement)
{
    ActionScope action(QStringLiteral("ReportPreview"), QStringLiteral("Act_ShowReport"), QStringLiteral("Show Report"));
    return action.run([&] {
        ReportDefinition definition = LoadReportDefinition(reportFile);
        std::unique_ptr<Recordset> recordset;
        if (!Act_OpenRecordset(recordset, statement) || !recordset)
            RaiseSilent();
        showDefinition(std::move(definition), *recordset);
        CloseRecordset(recordset);
    });
}

void ReportPreview::showDefinition(ReportDefinition definition, const Recordset& recordset)
{
    const QString title = definition.title;
    m_renderer = std::make_unique<ReportRenderer>(std::move(definition), recordset);
    m_title = title;
    m_view->updatePages();
}

bool ReportPreview::ShowReport(const QString& reportFile, const QString& statement, const QString& procedure)
{
    try {
        ReportDefinition definition = LoadReportDefinition(reportFile);
        DatabaseConnection* connection = DBConnection();
        if (!connection)
            throw AppError(ErrToReport, QStringLiteral("No database is open."), ApplicationTitle());
        const Recordset recordset = connection->execute(statement);
        showDefinition(std::move(definition), recordset);
        return true;
    } catch (...) {
        SetPendingError(std::current_exception());
        ShowError(statement, QStringLiteral("Error printing Crystal Report"), procedure);
        ClearPendingError();
        return false;
    }
}

void ReportPreview::setDocumentName(const QString& name) { m_view->setDocumentName(name); }

QString ReportPreview::documentName() const { return m_view->documentName(); }

void ReportPreview::setPrinterChooser(PrinterChooser chooser) { PrintPreview::setPrinterChooser(std::move(chooser)); }

QPrintPreviewWidget* ReportPreview::previewWidget() const
{
    return m_view->previewWidget();
}

bool ReportPreview::printReport()
{
    if (!m_renderer)
        return false;
    return m_view->printPages();
}

int ReportPreview::pageCount() const
{
    return m_view->pageCount();
}

void ReportPreview::paintPages(QPrinter* printer)
{
    // Exceptions never leave a slot: a page that cannot be painted is reported once.
    if (!m_renderer)
        return;
    ActionScope action(QStringLiteral("ReportPreview"), QStringLiteral("paintPages"), QStringLiteral("Show Report"));
    action.run([&] { m_renderer->render(printer); });
}
