// What the exports cost against reading their rows: a 100,000-row, 8-column result is read into a
// Recordset (the baseline), then exported to tab-separated text (read + text) and to a workbook
// (read + xlsx), all on the same SQLite data in the same run. Targets: text at most 2x the read,
// xlsx at most 5x. Timings are the best of several repeats. The program reports; it never fails on
// a missed target.

#include "core/AppInfo.h"
#include "core/Connection.h"
#include "exports/Exports.h"
#include "core/Recordset.h"
#include "exports/SpreadsheetExport.h"

#include <QApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <limits>
#include <stdexcept>
#include <vector>

namespace {

constexpr int kRows = 100000;
constexpr int kRowsPerInsert = 100;
constexpr int kRepeats = 3;

volatile qint64 g_sink = 0;

void fill(DatabaseConnection& connection)
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
    for (int first = 0; first < kRows; first += kRowsPerInsert) {
        values.clear();
        for (int i = first; i < first + kRowsPerInsert; ++i) {
            values.insert(values.end(), { QVariant::fromValue<qint64>(i + 1), QVariant::fromValue<qint64>(i % 17),
                                          QVariant::fromValue<qint64>(i % 400), 0.25 * (i % 1000), 12.5 * (i % 321),
                                          QStringLiteral("EV-%1").arg(i, 7, 10, QLatin1Char('0')),
                                          QString::fromLatin1(kinds[i % 5]) + QStringLiteral(" no. %1").arg(i),
                                          QDate(2010, 1, 1).addDays(i % 5000).toString(Qt::ISODate) });
        }
        connection.executeStatement(insert, values);
    }
    connection.commitTransaction();
}

qint64 best(const std::function<void()>& run)
{
    qint64 fastest = std::numeric_limits<qint64>::max();
    for (int i = 0; i < kRepeats; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        fastest = std::min(fastest, timer.nsecsElapsed());
    }
    return fastest;
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    try {
        QTemporaryDir folder;
        if (!folder.isValid())
            throw std::runtime_error("cannot make a temporary folder");
        SetMainPath(folder.path());
        const ConnectionTarget target { Engine::SQLite, QStringLiteral("(local)"), folder.filePath(QStringLiteral("bench.db")) };
        auto connection = DatabaseConnection::open(target, Credentials {});
        fill(*connection);
        const QString select = QStringLiteral("SELECT Export_ID, Item_Count, Shelf_No, Weight, Declared_Value, Tag_Code, Description, "
                                              "Received FROM Export_Item");
        const qint64 read = best([&] { g_sink = g_sink + connection->execute(select).recordCount(); });
        const qint64 text = best([&] {
            Recordset result = connection->execute(select);
            g_sink = g_sink + ClipText(result).size();
        });
        WorkbookRequest request;
        request.title = QStringLiteral("Bench");
        request.statement = select;
        const qint64 xlsx = best([&] {
            Recordset result = connection->execute(select);
            WriteExportWorkbook(folder.filePath(QStringLiteral("bench.xlsx")), result, request);
        });
        std::printf("Exports of 100,000 x 8 (SQLite), best of %d\n", kRepeats);
        std::printf("  read into Recordset      %9.1f ms\n", read / 1e6);
        std::printf("  read + tab text          %9.1f ms   ratio %.2f (target <= 2)\n", text / 1e6, double(text) / double(read));
        std::printf("  read + xlsx workbook     %9.1f ms   ratio %.2f (target <= 5)\n", xlsx / 1e6, double(xlsx) / double(read));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "export_bench: %s\n", error.what());
        return 1;
    }
    return 0;
}
