// What the exports cost against reading their rows: a 100,000-row, 8-column result is read into a
// Recordset (the baseline), then exported to tab-separated text (read + text) and to a workbook
// (read + xlsx), all on the same SQLite data in the same run, each export interleaved with its
// read. Target: text at most 1.5x the read (median ratio); the workbook is reported. "--smoke" runs an empty
// and a one-row table once. The program reports; it never fails on a missed target.

#include "BenchTiming.h"
#include "core/AppInfo.h"
#include "core/Connection.h"
#include "exports/Exports.h"
#include "core/Recordset.h"
#include "exports/SpreadsheetExport.h"

#include <QApplication>
#include <QDate>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <vector>

namespace {

constexpr int kRowsPerInsert = 100;

volatile qint64 g_sink = 0;

void fill(DatabaseConnection& connection, int rows)
{
    connection.executeStatement(QStringLiteral("CREATE TABLE Export_Item (\n"
                                               "    Export_ID INTEGER NOT NULL PRIMARY KEY,\n"
                                               "    Item_Count INTEGER NOT NULL,\n"
                                               "    Shelf_No INTEGER NOT NULL,\n"
                                               "    Weight DOUBLE PRECISION NOT NULL,\n"
                                               "    Declared_Value DOUBLE PRECISION NOT NULL,\n"
                                               "    Tag_Code TEXT NOT NULL,\n"
                                               "    Description TEXT NOT NULL,\n"
                                               "    Received DATE NOT NULL\n"
                                               ")"));
    QString insert = QStringLiteral("INSERT INTO Export_Item VALUES ");
    for (int r = 0; r < kRowsPerInsert; ++r)
        insert += (r ? QStringLiteral(", ") : QString()) + QStringLiteral("(?, ?, ?, ?, ?, ?, ?, ?)");
    static const char* const kinds[] = { "Sealed bag", "Mobile telephone", "Kitchen knife", "Wallet with cards", "Bicycle, blue" };
    connection.beginTransaction();
    std::vector<QVariant> values;
    for (int first = 0; first < rows; first += kRowsPerInsert) {
        values.clear();
        const int last = std::min(rows, first + kRowsPerInsert);
        QString statement = insert;
        if (last - first < kRowsPerInsert) {
            statement = QStringLiteral("INSERT INTO Export_Item VALUES ");
            for (int r = first; r < last; ++r)
                statement
                    += (r > first ? QStringLiteral(", ") : QString()) + QStringLiteral("(?, ?, ?, ?, ?, ?, ?, ?)");
        }
        for (int i = first; i < last; ++i) {
            values.insert(values.end(), { QVariant::fromValue<qint64>(i + 1), QVariant::fromValue<qint64>(i % 17),
                                          QVariant::fromValue<qint64>(i % 400), 0.25 * (i % 1000), 12.5 * (i % 321),
                                          QStringLiteral("EV-%1").arg(i, 7, 10, QLatin1Char('0')),
                                          QString::fromLatin1(kinds[i % 5]) + QStringLiteral(" no. %1").arg(i),
                                          QDate(2010, 1, 1).addDays(i % 5000).toString(Qt::ISODate) });
        }
        connection.executeStatement(statement, values);
    }
    connection.commitTransaction();
}

} // namespace

int main(int argc, char* argv[])
{
    const bool smoke = IsSmokeRun(argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    try {
        const int repeats = smoke ? 1 : 7;
        const std::vector<int> sizes = smoke ? std::vector<int> { 0, 1 } : std::vector<int> { 100000 };
        for (const int rows : sizes) {
            QTemporaryDir folder;
            if (!folder.isValid())
                throw std::runtime_error("cannot make a temporary folder");
            SetMainPath(folder.path());
            const ConnectionTarget target { Engine::SQLite, QStringLiteral("(local)"),
                folder.filePath(QStringLiteral("bench.db")) };
            auto connection = DatabaseConnection::open(target, Credentials {});
            fill(*connection, rows);
            const QString select
                = QStringLiteral("SELECT Export_ID, Item_Count, Shelf_No, Weight, Declared_Value, Tag_Code, "
                                 "Description, Received FROM Export_Item");
            auto read = [&] { g_sink = g_sink + connection->execute(select).recordCount(); };
            const PairedTimes text = Interleaved(repeats, read, [&] {
                Recordset result = connection->execute(select);
                g_sink = g_sink + ClipText(result).size();
            });
            WorkbookRequest request;
            request.title = QStringLiteral("Bench");
            request.statement = select;
            const QString workbook = folder.filePath(QStringLiteral("bench.xlsx"));
            const PairedTimes xlsx = Interleaved(repeats, read, [&] {
                Recordset result = connection->execute(select);
                WriteExportWorkbook(workbook, result, request);
            });
            if (!QFileInfo(workbook).size())
                throw std::runtime_error("the workbook was not written");
            std::printf(
                "Exports of %d x 8 (SQLite), %d interleaved pairs; times are microseconds per row\n", rows, repeats);
            PrintRatioHeader("us/row");
            PrintRatioLine("read + tab text / read alone", text, rows, 1.5);
            PrintRatioLine("read + xlsx workbook / read alone", xlsx, rows, 0);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "export_bench: %s\n", error.what());
        return 1;
    }
    return 0;
}
