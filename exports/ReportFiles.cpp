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

struct ReportRenderer::Line {
    enum Kind { GroupHeader, Row, GroupTotals, GrandTotals } kind = Row;
    int depth = 0;
    QString caption;
    QStringList cells;
    int page = 0;
    // A totals line whose caption has no room beside its figures carries it on lines of its own
    // above them.
    bool captionAbove = false;
    // As laid out on the page: the caption's lines and each cell's lines; the line's height in
    // text lines.
    QStringList captionLines;
    std::vector<QStringList> cellLines;
    int height = 1;
};

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
    auto totalsLine = [&](Line::Kind kind, int depth, const QString& caption, const std::vector<Accumulator>& figures) {
        Line line;
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
                totalsLine(Line::GroupTotals, g, QStringLiteral("Total ") + captions[g], groupFigures[g]);
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
            Line header;
            header.kind = Line::GroupHeader;
            header.depth = g;
            header.caption = caption;
            m_lines.push_back(header);
        }
        Line line;
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
        totalsLine(Line::GrandTotals, 0, QStringLiteral("Grand Total"), grand);
}

ReportRenderer::~ReportRenderer() = default;

void ReportRenderer::layOut(double pageHeight, double lineHeight, double headerHeight)
{
    // Every page carries the page header, the title (first page), the column captions and the page
    // footer; the lines fill what is left.
    int page = 0;
    double used = headerHeight;
    for (Line& line : m_lines) {
        const double height = lineHeight * line.height;
        // A line taller than a page starts a page of its own and runs over its foot.
        if (used + height > pageHeight && used > headerHeight) {
            ++page;
            used = headerHeight;
        }
        line.page = page;
        used += height;
    }
    m_pages = page + 1;
}

namespace {

// The text broken into lines no wider than the width: between words, and inside a word only where
// the word alone is wider than the width. A line that fits is kept as it is; nothing is left out.
QStringList wrapText(const QString& text, const QFontMetricsF& metrics, double width)
{
    const auto fits = [&](const QString& part) { return metrics.horizontalAdvance(part) <= width + 0.5; };
    QStringList lines;
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    for (const QString& paragraph : plain.split(QLatin1Char('\n'))) {
        if (fits(paragraph)) {
            lines << paragraph;
            continue;
        }
        QString line;
        for (const QString& word : paragraph.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const QString longer = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
            if (fits(longer)) {
                line = longer;
                continue;
            }
            if (!line.isEmpty())
                lines << line;
            line = word;
            while (!fits(line) && line.size() > 1) {
                qsizetype fit = 1;
                while (fit + 1 < line.size() && fits(line.left(fit + 1)))
                    ++fit;
                lines << line.left(fit);
                line = line.mid(fit);
            }
        }
        lines << line;
    }
    return lines;
}

// The widest line of the text, and its widest word (what no wrapping can make narrower).
struct TextWidths {
    double whole = 0;
    double word = 0;
};
TextWidths measure(const QString& text, const QFontMetricsF& metrics, bool breakable)
{
    TextWidths widths;
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    for (const QString& paragraph : plain.split(QLatin1Char('\n'))) {
        const double whole = metrics.horizontalAdvance(paragraph);
        widths.whole = std::max(widths.whole, whole);
        if (!breakable) {
            widths.word = std::max(widths.word, whole);
            continue;
        }
        for (const QString& word : paragraph.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            widths.word = std::max(widths.word, metrics.horizontalAdvance(word));
    }
    // Measured and laid-out widths may differ by rounding; a value that fits must not wrap.
    widths.whole = std::ceil(widths.whole) + 1;
    widths.word = std::ceil(widths.word) + 1;
    return widths;
}

} // namespace

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

    const double headerBand = lineHeight * 2; // page header and a gap
    const double titleBand = lineHeight * 2.5;
    const double footerBand = lineHeight * 2;

    // Columns are sized to their content. Each needs the room of its widest value (and caption);
    // when all fit, what the page has left is shared in proportion to the columns' widths. When
    // they do not, each column keeps at least its widest word (a date, a figure or a weight whole)
    // and the widest columns give up room until the page holds them: their longer values wrap
    // within their column. A value is never shortened. Neighbouring columns keep a gap of about
    // two figures, so a right-aligned value never runs into the next column's text.
    const double gap = plainMetrics.horizontalAdvance(QStringLiteral("00"));
    const size_t columns = m_definition.columns.size();
    std::vector<double> natural(columns, 0.0);
    std::vector<double> least(columns, 0.0);
    auto fitIn = [&](size_t c, const QString& text, const QFontMetricsF& metrics, bool breakable) {
        const TextWidths widths = measure(text, metrics, breakable);
        natural[c] = std::max(natural[c], widths.whole);
        least[c] = std::max(least[c], widths.word);
    };
    for (size_t c = 0; c < columns; ++c)
        fitIn(c, m_definition.columns[c].caption, boldMetrics, true);
    for (const Line& line : m_lines) {
        if (line.kind == Line::GroupHeader)
            continue;
        for (qsizetype c = 0; c < line.cells.size(); ++c)
            fitIn(static_cast<size_t>(c), line.cells.at(c), line.kind == Line::Row ? plainMetrics : boldMetrics,
                line.kind == Line::Row && m_breakable[static_cast<size_t>(c)]);
    }
    const double room = std::max(1.0, area.width() - gap * static_cast<double>(columns));
    double naturalSum = 0;
    double leastSum = 0;
    double weightSum = 0;
    for (size_t c = 0; c < columns; ++c) {
        naturalSum += natural[c];
        leastSum += least[c];
        weightSum += m_definition.columns[c].width;
    }
    std::vector<double> widths(columns);
    if (naturalSum <= room) {
        for (size_t c = 0; c < columns; ++c)
            widths[c] = natural[c] + (room - naturalSum) * m_definition.columns[c].width / weightSum;
    } else if (leastSum <= room) {
        // The widest columns give up room first: every column is held to one width, the largest
        // that fits the page, so a value narrower than that is printed whole on one line and only
        // the longest values wrap.
        const auto widthUnder = [&](size_t c, double limit) { return std::max(least[c], std::min(natural[c], limit)); };
        double low = 0;
        double high = room;
        for (int step = 0; step < 60; ++step) {
            const double limit = (low + high) / 2;
            double used = 0;
            for (size_t c = 0; c < columns; ++c)
                used += widthUnder(c, limit);
            (used <= room ? low : high) = limit;
        }
        double used = 0;
        for (size_t c = 0; c < columns; ++c)
            used += widths[c] = widthUnder(c, low);
        // What rounding left over goes to the columns that wrap.
        double wrapping = 0;
        for (size_t c = 0; c < columns; ++c)
            wrapping += widths[c] < natural[c] ? 1 : 0;
        for (size_t c = 0; c < columns && wrapping > 0; ++c) {
            if (widths[c] < natural[c])
                widths[c] += (room - used) / wrapping;
        }
    } else {
        // Not even the widest words fit: words break where they must.
        for (size_t c = 0; c < columns; ++c)
            widths[c] = room * least[c] / std::max(1.0, leastSum);
    }
    std::vector<QRectF> columnRects;
    double x = area.left();
    for (size_t c = 0; c < columns; ++c) {
        columnRects.emplace_back(x + gap / 2, 0, widths[c], lineHeight);
        x += widths[c] + gap;
    }
    // The caption of a totals line stands left of the first column that has a total, when it fits
    // there; otherwise on lines of its own above the figures, which then stay under their columns.
    double captionRoom = area.width();
    for (size_t c = 0; c < columns; ++c) {
        if (!m_definition.columns[c].total.isEmpty()) {
            captionRoom = columnRects[c].left() - gap / 2 - area.left();
            break;
        }
    }

    // Every line broken to its columns' widths; its height is its tallest cell.
    std::vector<QStringList> captionLines(columns);
    int captionHeight = 1;
    for (size_t c = 0; c < columns; ++c) {
        captionLines[c] = wrapText(m_definition.columns[c].caption, boldMetrics, widths[c]);
        captionHeight = std::max(captionHeight, static_cast<int>(captionLines[c].size()));
    }
    for (Line& line : m_lines) {
        const double indent = line.depth * lineHeight;
        line.cellLines.assign(static_cast<size_t>(line.cells.size()), QStringList());
        line.height = 1;
        for (qsizetype c = 0; c < line.cells.size(); ++c) {
            const size_t column = static_cast<size_t>(c);
            line.cellLines[column] = wrapText(line.cells.at(c), line.kind == Line::Row ? plainMetrics : boldMetrics, widths[column]);
            line.height = std::max(line.height, static_cast<int>(line.cellLines[column].size()));
        }
        switch (line.kind) {
        case Line::GroupHeader:
            line.captionLines = wrapText(line.caption, boldMetrics, area.width() - indent);
            line.height = std::max(1, static_cast<int>(line.captionLines.size()));
            break;
        case Line::GroupTotals:
        case Line::GrandTotals:
            line.captionAbove = indent + boldMetrics.horizontalAdvance(line.caption) > captionRoom - gap / 2;
            line.captionLines = wrapText(line.caption, boldMetrics, (line.captionAbove ? area.width() : captionRoom - gap / 2) - indent);
            if (line.captionAbove)
                line.height += static_cast<int>(line.captionLines.size());
            else
                line.height = std::max(line.height, static_cast<int>(line.captionLines.size()));
            break;
        case Line::Row:
            break;
        }
    }
    const double captionBand = lineHeight * (captionHeight + 0.5);
    layOut(area.height() - footerBand, lineHeight, headerBand + titleBand + captionBand);

    const QString printDate = FormatDateTimeText(QDateTime::currentDateTime());
    auto fill = [&](QString text, int page) {
        text.replace(QStringLiteral("{Title}"), m_definition.title);
        text.replace(QStringLiteral("{Page}"), QString::number(page + 1));
        text.replace(QStringLiteral("{Pages}"), QString::number(m_pages));
        text.replace(QStringLiteral("{PrintDate}"), printDate);
        return text;
    };
    auto band = [&](const QStringList& parts, double top, int page) {
        const Qt::Alignment aligns[3] = { Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight };
        for (int i = 0; i < 3 && i < parts.size(); ++i)
            painter.drawText(QRectF(area.left(), top, area.width(), lineHeight), int(aligns[i] | Qt::AlignVCenter), fill(parts.at(i), page));
    };
    auto drawLines = [&](const QRectF& first, Qt::Alignment align, const QStringList& lines) {
        for (qsizetype k = 0; k < lines.size(); ++k)
            painter.drawText(first.translated(0, lineHeight * static_cast<double>(k)), int(align | Qt::AlignVCenter), lines.at(k));
    };
    auto drawCells = [&](const std::vector<QStringList>& cells, double y) {
        for (size_t c = 0; c < cells.size() && c < columns; ++c)
            drawLines(columnRects[c].translated(0, y), m_definition.columns[c].align, cells[c]);
    };

    size_t next = 0;
    for (int page = 0; page < m_pages; ++page) {
        if (page > 0)
            device->newPage();
        painter.setFont(font);
        band(m_definition.pageHeader, area.top(), page);
        double y = area.top() + headerBand;
        painter.setFont(titleFont);
        painter.drawText(QRectF(area.left(), y, area.width(), titleBand), int(Qt::AlignHCenter | Qt::AlignVCenter), m_definition.title);
        y += titleBand;
        painter.setFont(bold);
        drawCells(captionLines, y);
        painter.drawLine(QPointF(area.left(), y + lineHeight * captionHeight), QPointF(area.right(), y + lineHeight * captionHeight));
        y += captionBand;
        for (; next < m_lines.size() && m_lines[next].page == page; ++next) {
            const Line& line = m_lines[next];
            const double indent = line.depth * lineHeight;
            switch (line.kind) {
            case Line::GroupHeader:
                painter.setFont(bold);
                drawLines(QRectF(area.left() + indent, y, area.width() - indent, lineHeight), Qt::AlignLeft, line.captionLines);
                break;
            case Line::Row:
                painter.setFont(font);
                drawCells(line.cellLines, y);
                break;
            case Line::GroupTotals:
            case Line::GrandTotals: {
                painter.setFont(bold);
                painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
                const double captionWidth = (line.captionAbove ? area.width() : captionRoom - gap / 2) - indent;
                drawLines(QRectF(area.left() + indent, y, std::max(0.0, captionWidth), lineHeight), Qt::AlignLeft, line.captionLines);
                drawCells(line.cellLines, line.captionAbove ? y + lineHeight * static_cast<double>(line.captionLines.size()) : y);
                break;
            }
            }
            y += lineHeight * line.height;
        }
        painter.setFont(font);
        band(m_definition.pageFooter, area.bottom() - lineHeight, page);
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
