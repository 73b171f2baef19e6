// What the result grid costs over reading its rows, on SQLite and (when PGHOST names a running
// cluster) on PostgreSQL, for a 100,000-row, 8-column search result, each in interleaved pairs:
//   (a) filling the grid from the search call, against reading the same call into a Recordset;
//   (b) a header-click sort of those rows (a money column, then a text column), against the read;
//   (c) a data-changed update of one row, against reading that one row;
// and, on SQLite, (d) the fresh memory a 1,000,000-row Recordset touches while it is filled
// (peak resident size), against the raw size of its values.
// "--smoke" runs tiny sizes to the end. The program reports and never fails.

#include "BenchFixture.h"
#include "core/AppError.h"
#include "core/Connection.h"
#include "core/Database.h"
#include "core/ProcedureCatalogue.h"
#include "core/Schema.h"
#include "list_controls/ListProcedures.h"
#include "list_controls/ResultTableModel.h"
#include "list_controls/zListView.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

#include <sys/resource.h>
#include <unistd.h>

namespace {

int gRows = 100000;
int gRepeats = 9;
int gMemoryRows = 1000000;

void prepare(DatabaseConnection& connection)
{
    const bool postgres = connection.engine() == Engine::PostgreSQL;
    connection.executeStatement(QStringLiteral("DROP TABLE IF EXISTS Bench_Items"));
    connection.executeStatement(QStringLiteral("CREATE TABLE Bench_Items (Item_ID INTEGER PRIMARY KEY, Tag TEXT, Description TEXT, "
                                               "Item_Count INTEGER, Shelf INTEGER, Weight REAL, Declared %1, Received %2, Sealed %3)")
                                    .arg(postgres ? QStringLiteral("NUMERIC(19,4)") : QStringLiteral("MONEY"),
                                         postgres ? QStringLiteral("DATE") : QStringLiteral("DATE"),
                                         postgres ? QStringLiteral("SMALLINT") : QStringLiteral("BIT")));
    const QString series = postgres
        ? QStringLiteral("SELECT g AS n FROM generate_series(1, %1) g").arg(gRows)
        : QStringLiteral("WITH RECURSIVE s(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM s WHERE n < %1) SELECT n FROM s")
              .arg(gRows);
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

// Kilobytes of the process's resident size ("VmRSS") or its peak ("VmHWM").
qint64 statusKilobytes(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = QByteArray(field) + ':';
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// Pages the process touched for the first time so far (minor faults).
qint64 freshPages()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

// The peak resident size starts again from the present one.
bool resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

void memoryBench(std::unique_ptr<DatabaseConnection> owned)
{
    DatabaseConnection& connection = *owned;
    SetDBConnection(std::move(owned));
    connection.executeStatement(QStringLiteral("DROP TABLE IF EXISTS Bench_Memory"));
    connection.executeStatement(
        QStringLiteral("CREATE TABLE Bench_Memory (Item_ID INTEGER PRIMARY KEY, Tag TEXT, Description TEXT, "
                       "Item_Count INTEGER, Shelf INTEGER, Weight REAL, Declared REAL, Received INTEGER)"));
    connection.executeStatement(
        QStringLiteral("INSERT INTO Bench_Memory WITH RECURSIVE s(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM s "
                       "WHERE n < %1) SELECT n, 'EV-' || n, 'Sealed bag from locker ' || (n %% 64), 1 + (n * 7) %% 23, "
                       "100 + (n * 13) %% 900, 0.125 + n / 100.0, n / 4.0, 2450000 + n %% 3650 FROM s")
            .arg(gMemoryRows)
            .replace(QStringLiteral("%%"), QStringLiteral("%")));
    // Six numbers of 8 bytes a row and the two texts' UTF-8 bytes.
    const qint64 raw
        = GetSQLValue(QStringLiteral("SELECT SUM(48 + length(Tag) + length(Description)) FROM Bench_Memory"))
              ->toLongLong();
    const QString select = QStringLiteral(
        "SELECT Item_ID, Tag, Description, Item_Count, Shelf, Weight, Declared, Received FROM Bench_Memory");
    // Once before, so the statement cache and the driver's own buffers are not counted.
    OpenRecordset(select + QStringLiteral(" LIMIT 10"));
    const qint64 before = statusKilobytes("VmRSS");
    if (!resetPeak() || before < 0) {
        std::printf("(d) the peak resident size cannot be read here\n");
        SetDBConnection(nullptr);
        return;
    }
    const qint64 pagesBefore = freshPages();
    std::unique_ptr<Recordset> result = OpenRecordset(select);
    const double touched = static_cast<double>(freshPages() - pagesBefore) * static_cast<double>(sysconf(_SC_PAGESIZE));
    const qint64 peak = statusKilobytes("VmHWM");
    const double fresh = static_cast<double>(peak - before) * 1024.0;
    const double mib = 1048576.0;
    std::printf("(d) Recordset of %d rows x 8, raw values %.1f MiB, held %.1f MiB\n", result->recordCount(),
        static_cast<double>(raw) / mib, static_cast<double>(result->memoryBytes()) / mib);
    std::printf("    peak resident growth while filling %8.1f MiB  %.2fx the raw values (target at most 1.3x) %s\n",
        fresh / mib, fresh / static_cast<double>(raw), fresh <= 1.3 * static_cast<double>(raw) ? "yes" : "no");
    std::printf("    fresh memory touched while filling %8.1f MiB  %.2fx the raw values\n", touched / mib,
        touched / static_cast<double>(raw));
    result.reset();
    SetDBConnection(nullptr);
}

void run(const char* label, std::unique_ptr<DatabaseConnection> connection)
{
    // The embedded engine works on this thread: its CPU time is the cost, whatever else the
    // machine runs. The server's work is on another process, so there the wall clock counts.
    const bool embedded = connection->engine() == Engine::SQLite;
    CurrentBenchClock() = embedded ? BenchClock::ThreadCpu : BenchClock::Wall;
    prepare(*connection);
    SetDBConnection(std::move(connection));
    const QString call = QStringLiteral("EXEC usp_Bench_Search");
    const QString oneCall = QStringLiteral("EXEC usp_Bench_Search_One @Item_ID = %1").arg(gRows / 2);

    auto read = [&] {
        std::unique_ptr<Recordset> rows = OpenRecordset(call);
        if (!rows || rows->recordCount() != gRows)
            throw std::runtime_error("the search gave the wrong number of rows");
    };
    zListView grid;
    grid.setPopulateSQL(call);
    grid.resize(900, 600);
    grid.show();
    const PairedTimes fill = Interleaved(gRepeats, read, [&] {
        grid.Populate();
        QApplication::processEvents();
    });
    if (grid.CountItems() != gRows)
        throw std::runtime_error("the grid shows the wrong number of rows");
    const int declared = grid.model()->columnIndex(QStringLiteral("Declared"));
    const int description = grid.model()->columnIndex(QStringLiteral("Description"));
    const PairedTimes sortMoney = Interleaved(gRepeats, read, [&] {
        grid.SortByColumn(declared);
        QApplication::processEvents();
    });
    const PairedTimes sortText = Interleaved(gRepeats, read, [&] {
        grid.SortByColumn(description);
        QApplication::processEvents();
    });
    const PairedTimes update = Interleaved(
        gRepeats * 5, [&] { OpenRecordset(oneCall); },
        [&] {
            grid.UpdateListViewItems(oneCall);
            QApplication::processEvents();
        });
    std::printf("%s, %d rows x 8 columns (%s)\n", label, gRows, embedded ? "CPU time of the thread" : "wall clock");
    PrintRatioHeader("ms");
    PrintRatioLine("(a) fill the grid / read", fill, 1000, 1.5);
    PrintRatioLine("(b) header sort, money column / read", sortMoney, 1000, 0);
    PrintRatioLine("    header sort, text column / read", sortText, 1000, 0);
    PrintRatioLine("(c) one-row update / read of the row", update, 1000, 0);
    std::fflush(stdout);
    grid.hide();
    // The grid keeps no widths here: the connection goes before the grid would save them.
    SetDBConnection(nullptr);
}

} // namespace

int main(int argc, char* argv[])
{
    const BenchApplication application(argc, argv, { RegisterListControlProcedures });
    if (application.smoke()) {
        gRows = 300;
        gRepeats = 3;
        gMemoryRows = 1000;
    }
    try {
        QTemporaryDir folder;
        // First, while the process has freed nothing that a fill could reuse unseen.
        memoryBench(DatabaseConnection::open(
            { Engine::SQLite, QStringLiteral("(local)"), folder.filePath(QStringLiteral("memory.db")) }, {}));
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
