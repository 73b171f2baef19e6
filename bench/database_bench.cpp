// What the database layer costs over Qt SQL alone, on SQLite and (when PGHOST and PGPORT name a
// running cluster) on PostgreSQL:
//   (a) reading a 100,000-row, 8-column procedure result into a Recordset, against the same
//       SELECT read value by value through a bare forward-only QSqlQuery;
//   (b) parsing and dispatching a 10-parameter call text, against executing the same prepared,
//       bound statement directly;
//   (c) the memory the 100,000-row Recordset holds, against the raw size of its values.
// Every baseline is measured in the same run on the same data, ours and the baseline in
// interleaved pairs after a warm-up so drift hits both alike; the least and the median ratio of
// the pairs are printed, with the cost per row read or per call. "--smoke" runs an empty and a
// one-row table once each. The program reports, it never fails on a missed target.

#include "BenchCluster.h"
#include "BenchTiming.h"

#include "core/AppError.h"
#include "core/Connection.h"
#include "core/ProcedureCatalogue.h"
#include "core/Schema.h"

#include <QCoreApplication>
#include <QDate>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int kRowsPerInsert = 100; // 800 values a statement: within SQLite's oldest variable limit

// The size of the run: the bench table's rows, the timed pairs, and the calls of (b) per run.
struct RunSize {
    int rows;
    int repeats;
    int calls;
};
RunSize g_size { 100000, 7, 20000 };

// Keeps the compiler from dropping reads whose results nothing else uses.
volatile qint64 g_sink = 0;

// One row of the bench table, generated the same way for both engines.
struct BenchRow {
    qint64 id;
    qint64 itemCount;
    qint64 shelfNo;
    double weight;
    double declaredValue;
    QString tagCode;
    QString description;
    QDate received;
};

BenchRow makeRow(int i)
{
    static const char* const kinds[] = { "Sealed bag", "Mobile telephone", "Kitchen knife", "Wallet with cards",
                                         "Bicycle, blue", "Laptop computer", "Café receipt", "Cash envelope" };
    BenchRow row;
    row.id = i + 1;
    row.itemCount = 1 + (i * 7) % 23;
    row.shelfNo = 100 + (i * 13) % 900;
    row.weight = 0.125 + ((i * 37) % 10000) / 100.0;
    row.declaredValue = ((i * 101) % 500000) / 4.0;
    row.tagCode = QStringLiteral("EV-%1-%2").arg(2015 + i % 10).arg(i + 1, 6, 10, QLatin1Char('0'));
    row.description = QStringLiteral("%1 from locker %2, case %3")
                          .arg(QString::fromUtf8(kinds[i % 8]))
                          .arg(1 + i % 64)
                          .arg(40000 + (i * 17) % 9000);
    row.received = QDate(2015, 1, 1).addDays((i * 3) % 3650);
    return row;
}

// The raw size of the table's values: 8 bytes a number or date, the UTF-8 bytes of a text.
size_t rawBytes()
{
    size_t total = 0;
    for (int i = 0; i < g_size.rows; ++i) {
        const BenchRow row = makeRow(i);
        total += 6 * sizeof(qint64);
        total += static_cast<size_t>(row.tagCode.toUtf8().size() + row.description.toUtf8().size());
    }
    return total;
}

const QString kReadSql = QStringLiteral("SELECT Bench_ID, Item_Count, Shelf_No, Weight, Declared_Value, Tag_Code, Description, Received\n"
                                        "FROM Bench_Item\n"
                                        "ORDER BY Bench_ID");

const QString kReadProcedure = QStringLiteral("-- Every row of the bench table.\n") + kReadSql + QStringLiteral("\n");

// A cheap single-row procedure with ten parameters of mixed types: one row found by its key,
// the other nine arguments all conditions that row meets.
const QString kFindProcedure = QStringLiteral(
    "-- One bench row by its key, within ranges that it meets.\n"
    "-- @param Item_ID integer\n"
    "-- @param Min_Count integer\n"
    "-- @param Max_Shelf integer\n"
    "-- @param Min_Weight number\n"
    "-- @param Max_Value number\n"
    "-- @param From_Tag text\n"
    "-- @param To_Tag text\n"
    "-- @param From_Date date\n"
    "-- @param To_Date date\n"
    "-- @param Excluded_Text text\n"
    "SELECT Bench_ID, Item_Count, Shelf_No, Weight, Declared_Value, Tag_Code, Description, Received\n"
    "FROM Bench_Item\n"
    "WHERE Bench_ID = :Item_ID\n"
    "  AND Item_Count >= :Min_Count\n"
    "  AND Shelf_No <= :Max_Shelf\n"
    "  AND Weight >= :Min_Weight\n"
    "  AND Declared_Value <= :Max_Value\n"
    "  AND Tag_Code >= :From_Tag\n"
    "  AND Tag_Code <= :To_Tag\n"
    "  AND Received >= :From_Date\n"
    "  AND Received <= :To_Date\n"
    "  AND Description <> :Excluded_Text\n");

const QString kFindCall = QStringLiteral(
    "EXEC Bench_Find_Item @Item_ID = 4242, @Min_Count = 1, @Max_Shelf = 999, @Min_Weight = 0.1, "
    "@Max_Value = 1000000, @From_Tag = 'EV-2015', @To_Tag = 'EV-2099', @From_Date = '2010-01-01', "
    "@To_Date = '2030-12-31', @Excluded_Text = 'O''Neill''s bag'");

// The same arguments as the call text, already in the types the procedure binds (dates as ISO
// text, as the layer converts them).
std::vector<QVariant> findArguments()
{
    return { QVariant::fromValue<qlonglong>(4242), QVariant::fromValue<qlonglong>(1), QVariant::fromValue<qlonglong>(999),
             0.1, 1000000.0, QStringLiteral("EV-2015"), QStringLiteral("EV-2099"), QStringLiteral("2010-01-01"),
             QStringLiteral("2030-12-31"), QStringLiteral("O'Neill's bag") };
}

void createBenchTable(DatabaseConnection& connection)
{
    // Types both engines read the same way: INTEGER, DOUBLE PRECISION, TEXT and DATE.
    connection.executeStatement(QStringLiteral("CREATE TABLE Bench_Item (\n"
                                               "    Bench_ID INTEGER NOT NULL PRIMARY KEY,\n"
                                               "    Item_Count INTEGER NOT NULL,\n"
                                               "    Shelf_No INTEGER NOT NULL,\n"
                                               "    Weight DOUBLE PRECISION NOT NULL,\n"
                                               "    Declared_Value DOUBLE PRECISION NOT NULL,\n"
                                               "    Tag_Code TEXT NOT NULL,\n"
                                               "    Description TEXT NOT NULL,\n"
                                               "    Received DATE NOT NULL\n"
                                               ")"));
    auto insertOf = [](int rows) {
        QString insert
            = QStringLiteral("INSERT INTO Bench_Item (Bench_ID, Item_Count, Shelf_No, Weight, Declared_Value, "
                             "Tag_Code, Description, Received) VALUES ");
        for (int r = 0; r < rows; ++r)
            insert += (r ? QStringLiteral(", ") : QString()) + QStringLiteral("(?, ?, ?, ?, ?, ?, ?, ?)");
        return insert;
    };
    const QString insert = insertOf(kRowsPerInsert);
    const bool postgres = connection.engine() == Engine::PostgreSQL;
    connection.beginTransaction();
    try {
        std::vector<QVariant> values;
        values.reserve(kRowsPerInsert * 8);
        for (int first = 0; first < g_size.rows; first += kRowsPerInsert) {
            values.clear();
            const int last = std::min(g_size.rows, first + kRowsPerInsert);
            for (int i = first; i < last; ++i) {
                const BenchRow row = makeRow(i);
                // SQLite keeps dates as ISO text; PostgreSQL takes a date.
                values.insert(values.end(), { QVariant::fromValue(row.id), QVariant::fromValue(row.itemCount),
                                              QVariant::fromValue(row.shelfNo), row.weight, row.declaredValue, row.tagCode,
                                              row.description,
                                              postgres ? QVariant(row.received) : QVariant(row.received.toString(Qt::ISODate)) });
            }
            connection.executeStatement(last - first == kRowsPerInsert ? insert : insertOf(last - first), values);
        }
        connection.commitTransaction();
    } catch (...) {
        connection.rollbackTransaction();
        throw;
    }
    if (postgres)
        connection.executeStatement(QStringLiteral("ANALYZE Bench_Item"));
}

QSqlQuery preparedQuery(const QSqlDatabase& database, const QString& sql)
{
    QSqlQuery query(database);
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        throw std::runtime_error(("cannot prepare: " + query.lastError().text()).toStdString());
    return query;
}

void execOrThrow(QSqlQuery& query)
{
    if (!query.exec())
        throw std::runtime_error(("cannot run: " + query.lastError().text()).toStdString());
}

void runBench(const QString& title, DatabaseConnection& connection, const Procedure& readProcedure, const Procedure& findProcedure)
{
    const int tableRows = g_size.rows;
    std::printf("%s: filling the bench table with %d rows...\n", qPrintable(title), tableRows);
    std::fflush(stdout);
    createBenchTable(connection);
    const QSqlDatabase database = connection.database();
    // The embedded engine works on this thread: its CPU time is the cost on a shared machine.
    // The server works in another process, so there the wall clock counts.
    const bool embedded = connection.engine() == Engine::SQLite;
    CurrentBenchClock() = embedded ? BenchClock::ThreadCpu : BenchClock::Wall;
    std::printf("\n%s, %d interleaved pairs (%s)\n", qPrintable(title), g_size.repeats,
        embedded ? "CPU time of the thread" : "wall clock");
    PrintRatioHeader("us/unit");

    // (a) The whole result into a Recordset through the call text, against a bare forward-only
    // query reading every value.
    {
        int ourRows = 0;
        const QString readCall = QStringLiteral("EXEC Bench_Read_Items");
        QSqlQuery bare = preparedQuery(database, readProcedure.statements(connection.engine()).front().sql);
        int bareRows = 0;
        const PairedTimes times = Interleaved(
            g_size.repeats,
            [&] {
                execOrThrow(bare);
                const int columns = 8;
                qint64 seen = 0;
                int rows = 0;
                while (bare.next()) {
                    for (int i = 0; i < columns; ++i)
                        seen += bare.value(i).isNull() ? 0 : 1;
                    ++rows;
                }
                bare.finish();
                g_sink = g_sink + seen;
                bareRows = rows;
            },
            [&] {
                const Recordset result = connection.execute(readCall);
                ourRows = result.recordCount();
            });
        if (ourRows != tableRows || bareRows != tableRows)
            throw std::runtime_error("the bench table did not give every row");
        PrintRatioLine("(a) read N x 8 into Recordset, per row", times, tableRows, 1.3);
    }

    // (b) Parse and dispatch of a 10-parameter call text, against the same statement prepared once
    // and executed with its ten values bound (every call binds its values; its one row read in
    // both). What remains between the two is the parse and the dispatch.
    {
        const int iterations = connection.engine() == Engine::PostgreSQL ? std::max(1, g_size.calls / 5) : g_size.calls;
        // The call finds row 4242, when the table is that big.
        const int expected = tableRows >= 4242 ? iterations : 0;
        QSqlQuery bare = preparedQuery(database, findProcedure.statements(connection.engine()).front().sql);
        const std::vector<QVariant> arguments = findArguments();
        int ourFound = 0;
        int bareFound = 0;
        const PairedTimes times = Interleaved(
            g_size.repeats,
            [&] {
                int found = 0;
                qint64 seen = 0;
                for (int n = 0; n < iterations; ++n) {
                    for (size_t i = 0; i < arguments.size(); ++i)
                        bare.bindValue(static_cast<int>(i), arguments[i]);
                    execOrThrow(bare);
                    while (bare.next()) {
                        for (int i = 0; i < 8; ++i)
                            seen += bare.value(i).isNull() ? 0 : 1;
                        ++found;
                    }
                    bare.finish();
                }
                g_sink = g_sink + seen;
                bareFound = found;
            },
            [&] {
                int found = 0;
                for (int n = 0; n < iterations; ++n)
                    found += connection.execute(kFindCall).recordCount();
                ourFound = found;
            });
        if (ourFound != expected || bareFound != expected)
            throw std::runtime_error("the single-row procedure did not find its row every time");
        PrintRatioLine("(b) 10-parameter call text, per call", times, iterations, 1.1);
    }

    // (c) Memory of the 100,000-row Recordset against the raw size of its values.
    {
        const Recordset result = connection.callProcedure(readProcedure, {});
        // A fast read that lost values would flatter the figures: check a spread of rows.
        for (int i = 0; i < tableRows; i += 9973) {
            const BenchRow row = makeRow(i);
            const bool same = result.valueAt(i, 0).toLongLong() == row.id && result.valueAt(i, 1).toLongLong() == row.itemCount
                && result.valueAt(i, 2).toLongLong() == row.shelfNo && result.valueAt(i, 3).toDouble() == row.weight
                && result.valueAt(i, 4).toDouble() == row.declaredValue && result.valueAt(i, 5).toString() == row.tagCode
                && result.valueAt(i, 6).toString() == row.description && result.valueAt(i, 7).toDate() == row.received;
            if (!same)
                throw std::runtime_error("the Recordset does not hold the values the table was filled with");
        }
        const size_t held = result.memoryBytes();
        const size_t raw = rawBytes();
        // Not a time: the memory held against the raw values, in MiB (an empty result holds
        // only its columns, against nothing).
        const double ratio = raw ? static_cast<double>(held) / static_cast<double>(raw) : 0.0;
        std::printf("%-40s %7.2f MiB %6.2f MiB %8.3f %8.3f %8.2f  %s\n", "(c) Recordset memory, N x 8",
            static_cast<double>(held) / 1048576.0, static_cast<double>(raw) / 1048576.0, ratio, ratio, 2.0, raw == 0 || ratio < 2.0 ? "yes" : "no");
        std::fflush(stdout);
    }
}

// Runs administrative statements on the cluster's maintenance database.
void clusterExec(const QString& statement) { ClusterExec(QStringLiteral("bench-cluster-admin"), statement); }

void benchSqlite(const Procedure& readProcedure, const Procedure& findProcedure)
{
    QTemporaryDir folder;
    if (!folder.isValid())
        throw std::runtime_error("cannot make a temporary folder");
    const ConnectionTarget target { Engine::SQLite, QStringLiteral("(local)"), folder.filePath(QStringLiteral("bench.db")) };
    auto connection = DatabaseConnection::open(target, Credentials {});
    runBench(QStringLiteral("SQLite"), *connection, readProcedure, findProcedure);
}

void benchPostgres(const Procedure& readProcedure, const Procedure& findProcedure)
{
    const QString databaseName = QStringLiteral("bramblecot_bench_%1").arg(QCoreApplication::applicationPid());
    const ConnectionTarget target { Engine::PostgreSQL, qEnvironmentVariable("PGHOST") + QLatin1Char(':') + qEnvironmentVariable("PGPORT"),
                                    databaseName };
    try {
        clusterExec(QStringLiteral("CREATE DATABASE %1").arg(databaseName));
    } catch (const std::exception& error) {
        if (!qEnvironmentVariableIsEmpty("BRAMBLECOT_REQUIRE_PG"))
            throw;
        std::printf("\nPostgreSQL: skipped, the cluster at PGHOST/PGPORT cannot be used (%s)\n", error.what());
        return;
    }
    try {
        {
            auto owner = DatabaseConnection::openForUpgrade(target);
            UpgradeSchema(*owner);
        }
        auto connection = DatabaseConnection::open(target, Credentials {});
        runBench(QStringLiteral("PostgreSQL"), *connection, readProcedure, findProcedure);
    } catch (...) {
        clusterExec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(databaseName));
        throw;
    }
    clusterExec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(databaseName));
}

} // namespace

int main(int argc, char* argv[])
{
    const bool smoke = IsSmokeRun(argc, argv);
    QCoreApplication application(argc, argv);
    try {
        // The procedures are catalogue entries, so the call texts find them by name as the
        // program's own calls do.
        static const Procedure readProcedure = ProcedureCatalogue::parse(QStringLiteral("Bench_Read_Items"), kReadProcedure, {}, {});
        static const Procedure findProcedure = ProcedureCatalogue::parse(QStringLiteral("Bench_Find_Item"), kFindProcedure, {}, {});
        for (const Procedure* procedure : { &readProcedure, &findProcedure })
            ProcedureCatalogue::instance().registerProcedure(*procedure);

        const std::vector<RunSize> sizes
            = smoke ? std::vector<RunSize> { { 0, 1, 5 }, { 1, 1, 5 } } : std::vector<RunSize> { g_size };
        for (const RunSize& size : sizes) {
            g_size = size;
            benchSqlite(readProcedure, findProcedure);
            if (!qEnvironmentVariableIsEmpty("PGHOST") && !qEnvironmentVariableIsEmpty("PGPORT"))
                benchPostgres(readProcedure, findProcedure);
            else if (!qEnvironmentVariableIsEmpty("BRAMBLECOT_REQUIRE_PG"))
                throw std::runtime_error(
                    "BRAMBLECOT_REQUIRE_PG is set but no PostgreSQL cluster is running (PGHOST/PGPORT)");
            else
                std::printf("\nPostgreSQL: skipped (set PGHOST and PGPORT to a running cluster)\n");
        }
    } catch (const AppError& error) {
        std::fprintf(stderr, "database_bench: %s\n", qPrintable(error.description()));
        return 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "database_bench: %s\n", error.what());
        return 1;
    }
    return 0;
}
