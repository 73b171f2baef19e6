// What the result grid costs over reading its rows, on SQLite and (when PGHOST names a running
// cluster) on PostgreSQL, for a 100,000-row, 8-column search result:
//   (a) filling the grid from the search call, against reading the same call into a Recordset;
//   (b) a header-click sort of those rows (a money column, then a text column), against the fill;
//   (c) a data-changed update of one row, against the fill.
// Timings are the best of several repeats; the program reports and never fails.

#include "core/AppError.h"
#include "core/Connection.h"
#include "core/Database.h"
#include "list_controls/ListProcedures.h"
#include "core/ProcedureCatalogue.h"
#include "list_controls/ResultTableModel.h"
#include "core/Schema.h"
#include "list_controls/zListView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <limits>

namespace {

constexpr int kRows = 100000;
constexpr int kRepeats = 5;

double bestOf(int repeats, const std::function<void()>& run)
{
    double best = std::numeric_limits<double>::max();
    for (int i = 0; i < repeats; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

void prepare(DatabaseConnection& connection)
{
    const bool postgres = connection.engine() == Engine::PostgreSQL;
    connection.executeStatement(QStringLiteral("DROP TABLE IF EXISTS Bench_Items"));
    connection.executeStatement(QStringLiteral("CREATE TABLE Bench_Items (Item_ID INTEGER PRIMARY KEY, Tag TEXT, Description TEXT, "
                                               "Item_Count INTEGER, Shelf INTEGER, Weight REAL, Declared %1, Received %2, Sealed %3)")
                                    .arg(postgres ? QStringLiteral("NUMERIC(19,4)") : QStringLiteral("MONEY"),
                                         postgres ? QStringLiteral("DATE") : QStringLiteral("DATE"),
                                         postgres ? QStringLiteral("SMALLINT") : QStringLiteral("BIT")));
    const QString series = postgres ? QStringLiteral("SELECT g AS n FROM generate_series(1, %1) g").arg(kRows)
                                    : QStringLiteral("WITH RECURSIVE s(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM s WHERE n < %1) SELECT n FROM s").arg(kRows);
    const QString date = postgres ? QStringLiteral("DATE '2015-01-01' + (n * 3) % 3650")
                                  : QStringLiteral("date('2015-01-01', '+' || ((n * 3) % 3650) || ' days')");
    connection.executeStatement(QStringLiteral("INSERT INTO Bench_Items SELECT n, 'EV-' || n, 'Sealed bag from locker ' || (n % 64), "
                                               "1 + (n * 7) % 23, 100 + (n * 13) % 900, 0.125 + ((n * 37) % 10000) / 100.0, "
                                               "((n * 101) % 500000) / 4.0 - 20000, %1, n % 2 FROM (%2) x")
                                    .arg(date, series));
    const QString select = QStringLiteral(
        "SELECT Item_ID, Tag AS \"Tag\", Description AS \"Description\", Item_Count AS \"Count\", Shelf AS \"Shelf\", "
        "Weight AS \"Weight\", Declared AS \"Declared\", Received AS \"Received\", Sealed AS \"Sealed\" FROM Bench_Items");
    const QString columns = QStringLiteral("-- @columns Count Integer, Shelf Integer, Weight Double, Declared Currency, Received Date, Sealed Boolean\n");
    ProcedureCatalogue::instance().registerProcedure(
        ProcedureCatalogue::parse(QStringLiteral("usp_Bench_Search"), columns + select + QStringLiteral(" ORDER BY Item_ID"), {}, {}));
    ProcedureCatalogue::instance().registerProcedure(ProcedureCatalogue::parse(
        QStringLiteral("usp_Bench_Search_One"),
        QStringLiteral("-- @param Item_ID integer\n") + columns + select + QStringLiteral(" WHERE Item_ID = :Item_ID"), {}, {}));
}

void run(const char* label, std::unique_ptr<DatabaseConnection> connection)
{
    prepare(*connection);
    SetDBConnection(std::move(connection));
    const QString call = QStringLiteral("EXEC usp_Bench_Search");

    const double read = bestOf(kRepeats, [&] {
        std::unique_ptr<Recordset> rows = OpenRecordset(call);
        if (!rows || rows->recordCount() != kRows)
            throw std::runtime_error("the search gave the wrong number of rows");
    });
    zListView grid;
    grid.setPopulateSQL(call);
    grid.resize(900, 600);
    grid.show();
    const double fill = bestOf(kRepeats, [&] {
        grid.Populate();
        QApplication::processEvents();
    });
    const int declared = grid.model()->columnIndex(QStringLiteral("Declared"));
    const int description = grid.model()->columnIndex(QStringLiteral("Description"));
    const double sortMoney = bestOf(kRepeats, [&] {
        grid.SortByColumn(declared);
        QApplication::processEvents();
    });
    const double sortText = bestOf(kRepeats, [&] {
        grid.SortByColumn(description);
        QApplication::processEvents();
    });
    const double update = bestOf(kRepeats, [&] {
        grid.UpdateListViewItems(QStringLiteral("EXEC usp_Bench_Search_One @Item_ID = 50000"));
        QApplication::processEvents();
    });
    std::printf("%s, %d rows x 8 columns\n", label, kRows);
    std::printf("  read into a Recordset      %9.1f ms\n", read);
    std::printf("  fill the grid              %9.1f ms   %.2fx the read (target at most 1.5x)\n", fill, fill / read);
    std::printf("  header sort, money column  %9.1f ms   %.2fx the fill\n", sortMoney, sortMoney / fill);
    std::printf("  header sort, text column   %9.1f ms   %.2fx the fill\n", sortText, sortText / fill);
    std::printf("  one-row data-changed update%9.2f ms   %.4fx the fill\n", update, update / fill);
    grid.hide();
    // The grid keeps no widths here: the connection goes before the grid would save them.
    SetDBConnection(nullptr);
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    RegisterListControlProcedures();
    try {
        QTemporaryDir folder;
        run("SQLite", DatabaseConnection::open({ Engine::SQLite, QStringLiteral("(local)"), folder.filePath(QStringLiteral("bench.db")) }, {}));
        if (!qEnvironmentVariableIsEmpty("PGHOST")) {
            const QString server = qEnvironmentVariable("PGHOST") + QStringLiteral(":") + qEnvironmentVariable("PGPORT", QStringLiteral("5432"));
            // A database of the bench's own, with the program's schema, dropped again at the end.
            const QString database = QStringLiteral("bramblecot_list_bench");
            {
                auto admin = DatabaseConnection::openForUpgrade({ Engine::PostgreSQL, server, QStringLiteral("postgres") });
                admin->executeStatement(QStringLiteral("DROP DATABASE IF EXISTS ") + database);
                admin->executeStatement(QStringLiteral("CREATE DATABASE ") + database);
            }
            {
                auto connection = DatabaseConnection::openForUpgrade({ Engine::PostgreSQL, server, database });
                UpgradeSchema(*connection);
                run("PostgreSQL", std::move(connection));
            }
            auto admin = DatabaseConnection::openForUpgrade({ Engine::PostgreSQL, server, QStringLiteral("postgres") });
            admin->executeStatement(QStringLiteral("DROP DATABASE IF EXISTS ") + database);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "list_bench: %s\n", error.what());
        return 0;
    }
    return 0;
}
