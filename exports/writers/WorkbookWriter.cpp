#include "exports/writers/WorkbookWriter.h"

#include "core/Recordset.h"
#include "exports/ExportFormats.h"
#include "exports/SpreadsheetExport.h"

#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include <xlsxwriter.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Why the workbook could not be written; the program reports it as the export's failure.
struct WorkbookFailure {
    QString text;
};

// The widest column the spreadsheet accepts, and the longest text a cell holds.
constexpr double kMaxColumnWidth = 255.0;
constexpr int kMaxCellText = 32767;
// Excel's built-in number format of the "Currency" cell style.
constexpr uint8_t kCurrencyStyleFormat = 44;
const char* const kDateTimeFormat = "mm/dd/yyyy h:mm:ss AM/PM";

QByteArray utf8(const QString& text)
{
    return text.left(kMaxCellText).toUtf8();
}

// A sheet column. A result set has far fewer fields than the 16,384 columns a sheet holds, so
// the narrowing to the library's column type never cuts.
lxw_col_t sheetColumn(int column) { return static_cast<lxw_col_t>(column); }

void check(lxw_error error, const char* what)
{
    if (error != LXW_NO_ERROR)
        throw WorkbookFailure { QStringLiteral("Cannot write the workbook (%1): %2")
                .arg(QLatin1String(what), QString::fromUtf8(lxw_strerror(error))) };
}

// Sheet names: at most 31 characters, none of []:*?/\, not empty, unique without regard to case.
QString sheetName(QString name, QSet<QString>& used)
{
    static const QRegularExpression forbidden(QStringLiteral("[\\[\\]:*?/\\\\]"));
    name.replace(forbidden, QStringLiteral("_"));
    name = name.trimmed();
    if (name.startsWith(QLatin1Char('\'')))
        name[0] = QLatin1Char('_');
    if (name.endsWith(QLatin1Char('\'')))
        name[name.size() - 1] = QLatin1Char('_');
    if (name.isEmpty())
        name = QStringLiteral("Sheet");
    name = name.left(31);
    QString candidate = name;
    for (int n = 2; used.contains(candidate.toLower()); ++n) {
        const QString suffix = QStringLiteral(" (%1)").arg(n);
        candidate = name.left(31 - suffix.size()) + suffix;
    }
    used.insert(candidate.toLower());
    return candidate;
}

// The formats the export uses; the totals row repeats each column format in bold.
struct Formats {
    lxw_format* header = nullptr;
    lxw_format* bold = nullptr;
    lxw_format* data[8] = {};
    lxw_format* totals[8] = {};

    explicit Formats(lxw_workbook* workbook)
    {
        header = workbook_add_format(workbook);
        format_set_bold(header);
        format_set_num_format(header, "@");
        bold = workbook_add_format(workbook);
        format_set_bold(bold);
        for (int bolded = 0; bolded < 2; ++bolded) {
            lxw_format** target = bolded ? totals : data;
            for (int type = 1; type <= 7; ++type) {
                const auto columnType = static_cast<ColumnType>(type);
                lxw_format* format = nullptr;
                auto make = [&] {
                    format = workbook_add_format(workbook);
                    if (bolded)
                        format_set_bold(format);
                    return format;
                };
                switch (columnType) {
                case ColumnType::Text:
                    format_set_num_format(make(), "@");
                    break;
                case ColumnType::Integer:
                    format_set_num_format(make(), "0");
                    break;
                case ColumnType::Currency:
                    format_set_num_format_index(make(), kCurrencyStyleFormat);
                    break;
                case ColumnType::Date:
                case ColumnType::DateTime:
                    format_set_num_format(make(), kDateTimeFormat);
                    break;
                case ColumnType::Double:
                case ColumnType::Boolean:
                    // Left as the spreadsheet sets it.
                    if (bolded)
                        make();
                    break;
                }
                target[type] = format;
            }
        }
    }
    lxw_format* of(ColumnType type, bool total) const { return (total ? totals : data)[static_cast<int>(type)]; }
};

int digitCount(qint64 value)
{
    int digits = value < 0 ? 2 : 1;
    quint64 magnitude = value < 0 ? 0ull - static_cast<quint64>(value) : static_cast<quint64>(value);
    while (magnitude >= 10) {
        magnitude /= 10;
        ++digits;
    }
    return digits;
}

// As long as the text export writes it (15 significant digits).
int doubleLength(double value)
{
    char buffer[kExportFormatSize];
    return static_cast<int>(WriteNumberText(value, buffer) - buffer);
}

// "$1,234.50 " as the currency style shows it: digits, group separators, two decimals and the
// symbol and padding around them.
int currencyLength(double value)
{
    const int whole = digitCount(static_cast<qint64>(std::fabs(value)));
    return whole + (whole - 1) / 3 + 3 + 4;
}

int longestLine(const QString& text)
{
    int longest = 0;
    int current = 0;
    for (const QChar c : text) {
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            current = 0;
            continue;
        }
        longest = std::max(longest, ++current);
    }
    return longest;
}

// From the date's and time's fields: a local QDateTime asks the C library for the time zone, which
// reads the zone file again for every cell.
lxw_datetime toDateTime(const QVariant& value)
{
    QDate date;
    QTime time(0, 0);
    if (value.metaType().id() == QMetaType::QDate) {
        date = *static_cast<const QDate*>(value.constData());
    } else if (value.metaType().id() == QMetaType::QDateTime) {
        const QDateTime& moment = *static_cast<const QDateTime*>(value.constData());
        date = moment.date();
        time = moment.time();
    } else {
        const QDateTime moment = QDateTime::fromString(value.toString(), Qt::ISODate);
        date = moment.date();
        time = moment.time();
    }
    lxw_datetime result {};
    int year = 0;
    int month = 0;
    int day = 0;
    date.getDate(&year, &month, &day);
    result.year = year;
    result.month = month;
    result.day = day;
    result.hour = time.hour();
    result.min = time.minute();
    result.sec = time.second() + time.msec() / 1000.0;
    return result;
}

// One data sheet as it is filled: its widths grow with what is written into it.
struct DataSheet {
    lxw_worksheet* sheet = nullptr;
    std::vector<int> widths;

    void widen(int column, int characters)
    {
        if (column >= static_cast<int>(widths.size()))
            widths.resize(column + 1, 0);
        widths[column] = std::max(widths[column], characters);
    }
};

// Writes one result set from sheet row `row` (0-based) on; returns the number of data rows.
int writeResultSet(DataSheet& target, const Recordset& recordset, int row, const Formats& formats)
{
    lxw_worksheet* sheet = target.sheet;
    const int fields = recordset.fieldCount();
    check(worksheet_set_row(sheet, row, LXW_DEF_ROW_HEIGHT, formats.header), "header row");
    for (int column = 0; column < fields; ++column) {
        const QString name = recordset.fieldName(column);
        check(worksheet_write_string(sheet, row, sheetColumn(column), utf8(name).constData(), formats.header), "header");
        target.widen(column, longestLine(name));
    }
    const int rows = recordset.recordCount();
    std::vector<double> sums(fields, 0.0);
    for (int r = 0; r < rows; ++r) {
        const int sheetRow = row + 1 + r;
        for (int column = 0; column < fields; ++column) {
            if (recordset.isNullAt(r, column))
                continue;
            const ColumnType type = recordset.fieldType(column);
            lxw_format* format = formats.of(type, false);
            const QVariant value = recordset.valueAt(r, column);
            lxw_error error = LXW_NO_ERROR;
            switch (type) {
            case ColumnType::Integer: {
                const qint64 number = value.toLongLong();
                error = worksheet_write_number(sheet, sheetRow, sheetColumn(column), static_cast<double>(number), format);
                target.widen(column, digitCount(number));
                break;
            }
            case ColumnType::Double: {
                const double number = value.toDouble();
                error = worksheet_write_number(sheet, sheetRow, sheetColumn(column), number, format);
                target.widen(column, doubleLength(number));
                break;
            }
            case ColumnType::Currency: {
                const double number = value.toDouble();
                sums[column] += number;
                error = worksheet_write_number(sheet, sheetRow, sheetColumn(column), number, format);
                target.widen(column, currencyLength(number));
                break;
            }
            case ColumnType::Date:
            case ColumnType::DateTime: {
                lxw_datetime moment = toDateTime(value);
                error = worksheet_write_datetime(sheet, sheetRow, sheetColumn(column), &moment, format);
                target.widen(column, 22);
                break;
            }
            case ColumnType::Boolean:
                error = worksheet_write_boolean(sheet, sheetRow, sheetColumn(column), value.toBool() ? 1 : 0, format);
                target.widen(column, 5);
                break;
            case ColumnType::Text: {
                const QString text = value.toString();
                error = worksheet_write_string(sheet, sheetRow, sheetColumn(column), utf8(text).constData(), format);
                target.widen(column, longestLine(text));
                break;
            }
            }
            check(error, "cell");
        }
    }
    // The totals row is bold; under every currency column the subtotal of the rows above.
    const int totalsRow = row + 1 + rows;
    check(worksheet_set_row(sheet, totalsRow, LXW_DEF_ROW_HEIGHT, formats.bold), "totals row");
    if (rows > 0) {
        for (int column = 0; column < fields; ++column) {
            if (recordset.fieldType(column) != ColumnType::Currency)
                continue;
            char first[16];
            char last[16];
            lxw_rowcol_to_cell(first, row + 1, sheetColumn(column));
            lxw_rowcol_to_cell(last, row + rows, sheetColumn(column));
            const QByteArray formula = QByteArrayLiteral("=SUBTOTAL(9,") + first + ':' + last + ')';
            check(worksheet_write_formula_num(sheet, totalsRow, sheetColumn(column), formula.constData(), formats.of(ColumnType::Currency, true),
                                              sums[column]),
                  "total");
        }
    }
    return rows;
}

void finishDataSheet(DataSheet& data, const WorkbookRequest& request)
{
    lxw_worksheet* sheet = data.sheet;
    // The library cannot fit columns to their contents: the widths come from the texts written.
    for (int column = 0; column < static_cast<int>(data.widths.size()); ++column) {
        const double width = std::min(kMaxColumnWidth, std::max(4.0, data.widths[column] + 2.0));
        check(worksheet_set_column(sheet, sheetColumn(column), sheetColumn(column), width, nullptr), "column width");
    }
    if (request.pageSetup) {
        worksheet_repeat_rows(sheet, 0, 0);
        QString title = request.title;
        title.replace(QLatin1Char('&'), QStringLiteral("&&"));
        lxw_header_footer_options margins {};
        margins.margin = 0.25;
        const QByteArray header = utf8(QStringLiteral("&C") + title);
        // A header the library refuses (too long) is left out, as the print titles may fail.
        worksheet_set_header_opt(sheet, header.constData(), &margins);
        worksheet_set_footer_opt(sheet, "&RPage &P of &N", &margins);
        worksheet_set_margins(sheet, 0.5, 0.5, 0.5, 0.5);
        worksheet_set_landscape(sheet);
        worksheet_print_across(sheet);
    }
}

void writeWorkbook(const QString& file, const QString& path, Recordset& recordset, const WorkbookRequest& request)
{
    const QByteArray scratchName = QFile::encodeName(file);
    lxw_workbook_options options {};
    options.constant_memory = LXW_TRUE;
    lxw_workbook* workbook = workbook_new_opt(scratchName.constData(), &options);
    if (!workbook)
        throw WorkbookFailure { QStringLiteral("Cannot create the workbook ") + path };
    bool closed = false;
    try {
        const Formats formats(workbook);
        QSet<QString> used;

        // The description sheet.
        lxw_worksheet* description = workbook_add_worksheet(workbook, sheetName(QStringLiteral("Description"), used).toUtf8().constData());
        auto put = [&](int row, lxw_col_t column, const QString& text) {
            if (!text.isEmpty())
                check(worksheet_write_string(description, row, column, utf8(text).constData(), nullptr), "description");
        };
        put(0, 0, request.title);
        put(2, 0, request.subtitle);
        put(4, 0, request.signature);
        put(5, 0, QStringLiteral("Database: ") + request.databaseName);
        put(7, 0, QStringLiteral("Query:"));
        const QStringList lines = request.statement.split(QStringLiteral("\r\n"));
        for (int i = 0; i < lines.size(); ++i)
            put(7 + i, 1, lines.at(i));

        std::vector<DataSheet> sheets;
        auto addSheet = [&](const QString& name) {
            DataSheet data;
            data.sheet = workbook_add_worksheet(workbook, sheetName(name, used).toUtf8().constData());
            if (!data.sheet)
                throw WorkbookFailure { QStringLiteral("Cannot add the sheet ") + name };
            sheets.push_back(std::move(data));
        };
        if (!request.sheetPerResultSet)
            addSheet(request.sheetNames.isEmpty() ? QStringLiteral("Data") : request.sheetNames.first());

        int row = 0;
        int n = 0;
        if (recordset.isOpen()) {
            do {
                ++n;
                if (request.sheetPerResultSet) {
                    addSheet(n - 1 < request.sheetNames.size() ? request.sheetNames.at(n - 1) : QStringLiteral("Data%1").arg(n));
                    row = 0;
                }
                DataSheet& target = sheets.back();
                // A sheet of a single result set gets the automatic filter over its header and rows
                // and the frozen header row. The rows are streamed, so both are set before them.
                const bool single = request.sheetPerResultSet || recordset.resultSetCount() == 1;
                if (single && recordset.fieldCount() > 0) {
                    check(worksheet_autofilter(target.sheet, 0, 0, recordset.recordCount(), sheetColumn(recordset.fieldCount() - 1)), "filter");
                    worksheet_freeze_panes(target.sheet, 1, 0);
                }
                const int rows = writeResultSet(target, recordset, row, formats);
                if (!request.sheetPerResultSet)
                    row += rows + 3;
            } while (recordset.nextRecordset());
        }
        for (DataSheet& data : sheets)
            finishDataSheet(data, request);
        if (!sheets.empty())
            worksheet_activate(sheets.back().sheet);
        closed = true;
        check(workbook_close(workbook), "close");
    } catch (...) {
        if (!closed)
            workbook_close(workbook);
        throw;
    }

}
} // namespace

QString WriteWorkbookFile(const QString& file, const QString& path, Recordset& recordset, const WorkbookRequest& request)
{
    try {
        writeWorkbook(file, path, recordset, request);
    } catch (const WorkbookFailure& failure) {
        return failure.text;
    }
    return {};
}
