// The item reports at a large room: the chain of custody and the item history of one item with 200
// actions (on the item, on its case and on a batch holding it), in a room of 1,000,000 items and
// 3,000,000 actions, a third of them transfers and a third stored to a location. Measured: the
// report's procedure run through the program's connection, rows read, against the form it replaced
// (the same statement through vw_Evd_Item_Action_Subjects, every action of the room materialised),
// on SQLite and, when a cluster is running, on PostgreSQL as the program's session (jit off); there
// also both forms with the server's default jit settings, what compiling cost before. Each measurement is
// interleaved with its baseline after a warm-up; the best time of each side in milliseconds and the
// least and median ratio are printed beside the target. Never fails on a missed target.
//
//   custody_report_bench [--smoke] [--items N] [--postgresql-only] [--keep]
//     N items and 3 N actions (default 1,000,000; --smoke 2,000); --keep leaves the PostgreSQL
//     database in place, named on the output, to look at plans with psql.
//
// The figures are in docs/PERFORMANCE.md under "Item reports at a large room".

#include "BenchCluster.h"
#include "BenchFixture.h"
#include "core/Connection.h"
#include "core/Database.h"
#include "core/Recordset.h"
#include "core/Schema.h"
#include "tests/support/ViewFormReports.h"

#include <QCoreApplication>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <stdexcept>

namespace {

constexpr double kTargetMs = 100;

struct Room {
    int items = 0;
    int cases = 0;
    int batches = 0;
    int actions = 0;
    int subject = 0; // the item with 200 actions
};

// The numbers 1..count as a row source with the column x, in the engine's own way.
QString series(Engine engine, qint64 count)
{
    if (engine == Engine::PostgreSQL)
        return QStringLiteral("generate_series(1, %1) AS s(x)").arg(count);
    return QStringLiteral("(WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < %1) SELECT x FROM n) AS s").arg(count);
}

// A moment `minutesExpression` minutes after the first of 2020.
QString minutesAfter(Engine engine, const QString& minutesExpression)
{
    if (engine == Engine::PostgreSQL)
        return QStringLiteral("TIMESTAMP '2020-01-01 08:00:00' + (%1) * INTERVAL '1 minute'").arg(minutesExpression);
    return QStringLiteral("datetime('2020-01-01 08:00:00', '+' || (%1) || ' minutes')").arg(minutesExpression);
}

// The room, filled by statements of the engine; the change log and its triggers are bypassed, as
// the rows are the bench's, not the clerks'.
Room fill(DatabaseConnection& connection, Engine engine, int items)
{
    auto run = [&connection](const QString& sql, const std::vector<QVariant>& values = {}) { return connection.executeStatement(sql, values); };
    // Filling the room, and the view form at its size, take longer than a window's statement may.
    connection.setCommandTimeout(0);
    Room room;
    room.items = items;
    room.cases = items / 4;
    room.batches = std::max(10, items / 100);
    room.actions = 3 * items;
    room.subject = items / 2;
    const int subjectCase = 1 + (room.subject - 1) / 4;
    if (engine == Engine::SQLite) {
        const Recordset triggers = run(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'trigger'"));
        for (int row = 0; row < triggers.recordCount(); ++row)
            run(QStringLiteral("DROP TRIGGER \"%1\"").arg(triggers.valueAt(row, 0).toString()));
    } else {
        run(QStringLiteral("SET session_replication_role = replica"));
    }
    FillCaseClasses(connection);
    connection.beginTransaction();
    run(QStringLiteral("INSERT INTO Employees (Payroll_Number) SELECT 'P-' || x FROM %1").arg(series(engine, 50)));
    run(QStringLiteral("INSERT INTO Units (Unit_Type_ID, Unit_Name, Unit_Code) SELECT Unit_Type_ID, 'Gram', 'g' FROM Unit_Types "
                       "WHERE Unit_Type_Code = 'W'"));
    // A room, 50 shelves in it and 10 bins on each shelf (locations 1, 2..51, 52..551).
    run(QStringLiteral("INSERT INTO Locations (Location_Name, Location_Code) VALUES ('Evidence Room', 'ER')"));
    run(QStringLiteral("INSERT INTO Locations (Location_Name, Location_Code, Parent_Location_ID) "
                       "SELECT 'Shelf ' || x || ' Narcotics Overflow', 'S' || x, 1 FROM %1")
            .arg(series(engine, 50)));
    run(QStringLiteral("INSERT INTO Locations (Location_Name, Location_Code, Parent_Location_ID) "
                       "SELECT 'Bin ' || x, 'B' || x, 2 + (x - 1) / 10 FROM %1")
            .arg(series(engine, 500)));
    const char* const types[][4] = { { "Store", "Stored", "STORE", "Item_Locations" }, { "Transfer", "Transferred", "TRANS", "Item_Transfers" },
        { "Photograph", "Photographed", "PHOTO", "" } };
    for (const auto& type : types)
        run(QStringLiteral("INSERT INTO Item_Action_Types (Item_Action_Type_Name_Present, Item_Action_Type_Name_Past, Item_Action_Type_Code, "
                           "Item_Action_Time_ID, Related_DB_Table_ID) SELECT ?, ?, ?, 1, (SELECT DB_Table_ID FROM DB_Tables "
                           "WHERE DB_Table_Name = ?)"),
            { QString::fromLatin1(type[0]), QString::fromLatin1(type[1]), QString::fromLatin1(type[2]), QString::fromLatin1(type[3]) });
    run(QStringLiteral("INSERT INTO Cases (Case_Date_Time, Case_Number, Crime_Class_ID, Felony_Class_ID, Default_Property_Category_ID, "
                       "Default_Submitting_Employee_ID) SELECT '2020-01-01 10:00:00', 'N-' || x, 1, 1, 1, 1 FROM %1")
            .arg(series(engine, room.cases)));
    run(QStringLiteral("INSERT INTO Items (Case_ID, Item_Number, Item_Description) SELECT 1 + (x - 1) / 4, 'I-' || x, "
                       "'Sealed bag ' || x FROM %1")
            .arg(series(engine, room.items)));
    run(QStringLiteral("INSERT INTO Batches (Batch_Number, Created_Date_Time, Created_By_Employee_ID, Batch_Type_ID) "
                       "SELECT 'TR-2020-' || x, '2020-01-01 10:00:00', 1, (SELECT MIN(Batch_Type_ID) FROM Batch_Types) FROM %1")
            .arg(series(engine, room.batches)));
    // Ten memberships a batch, items and cases alternately.
    run(QStringLiteral("INSERT INTO Batch_Items (Batch_ID, Item_ID, Case_ID) SELECT 1 + x % %2, "
                       "CASE WHEN x % 2 = 0 THEN 1 + (x * 7919) % %3 END, CASE WHEN x % 2 = 1 THEN 1 + (x * 6007) % %4 END FROM %1")
            .arg(series(engine, room.batches * 10))
            .arg(room.batches)
            .arg(room.items)
            .arg(room.cases));
    // Six in ten actions on an item, three on a case, one on a batch.
    run(QStringLiteral("INSERT INTO Item_Actions (Item_ID, Case_ID, Batch_ID, Item_Action_Type_ID, Performed_By_Employee_ID, "
                       "Item_Action_Date_Time, Item_Action_Description) SELECT "
                       "CASE WHEN x % 10 < 6 THEN 1 + (x * 31) % %2 END, CASE WHEN x % 10 BETWEEN 6 AND 8 THEN 1 + (x * 17) % %3 END, "
                       "CASE WHEN x % 10 = 9 THEN 1 + (x * 13) % %4 END, 1 + x % 3, 1 + x % 50, %5, 'Action ' || x FROM %1")
            .arg(series(engine, room.actions))
            .arg(room.items)
            .arg(room.cases)
            .arg(room.batches)
            .arg(minutesAfter(engine, QStringLiteral("x"))));
    // The subject: 150 actions of its own, 30 on its case, 20 on a batch that holds it.
    const int subjectBatch = room.batches;
    run(QStringLiteral("INSERT INTO Batch_Items (Batch_ID, Item_ID) VALUES (?, ?)"), { subjectBatch, room.subject });
    run(QStringLiteral("INSERT INTO Item_Actions (Item_ID, Case_ID, Batch_ID, Item_Action_Type_ID, Performed_By_Employee_ID, "
                       "Item_Action_Date_Time, Item_Action_Description) SELECT CASE WHEN x <= 150 THEN %2 END, "
                       "CASE WHEN x > 150 AND x <= 180 THEN %3 END, CASE WHEN x > 180 THEN %4 END, 1 + x % 3, 1 + x % 50, %5, "
                       "'Subject action ' || x FROM %1")
            .arg(series(engine, 200))
            .arg(room.subject)
            .arg(subjectCase)
            .arg(subjectBatch)
            .arg(minutesAfter(engine, QStringLiteral("x * 1000"))));
    // Each action's detail by its type: stored in a bin, or transferred between bins with weights.
    run(QStringLiteral("INSERT INTO Item_Locations (Item_Action_ID, Location_ID) SELECT Item_Action_ID, 52 + Item_Action_ID % 500 "
                       "FROM Item_Actions WHERE Item_Action_Type_ID = 1"));
    run(QStringLiteral("INSERT INTO Item_Transfers (Item_Action_ID, From_Location_ID, To_Location_ID, From_Employee_ID, To_Employee_ID, "
                       "Item_Weight_Out, Item_Weight_Out_Unit_ID, Item_Weight_In, Item_Weight_In_Unit_ID) "
                       "SELECT Item_Action_ID, 52 + Item_Action_ID % 500, 52 + (Item_Action_ID + 7) % 500, 1 + Item_Action_ID % 50, "
                       "1 + (Item_Action_ID + 1) % 50, 12.5, u.Unit_ID, 12.25, u.Unit_ID "
                       "FROM Item_Actions, (SELECT MIN(Unit_ID) AS Unit_ID FROM Units) u WHERE Item_Action_Type_ID = 2"));
    connection.commitTransaction();
    if (engine == Engine::PostgreSQL) {
        run(QStringLiteral("SET session_replication_role = DEFAULT"));
        // What autovacuum would have done by the time a room is this size.
        run(QStringLiteral("ANALYZE"));
    }
    return room;
}

// The two reports, each against its view form, on the connection.
void measure(DatabaseConnection& connection, const Room& room, int repeats, const char* engineName)
{
    const struct {
        const char* name;
        const char* procedure;
        const char* viewForm;
    } reports[] = {
        { "chain of custody", "usp_Evd_Rep_Item_Chain_Of_Custody", kViewChainOfCustody },
        { "item history", "usp_Evd_Rep_Item_History", kViewItemHistory },
    };
    std::printf("\n%s: %d items, %d cases, %d batches, %d actions; the item with 200 actions; %d interleaved pairs\n", engineName,
        room.items, room.cases, room.batches, room.actions + 200, repeats);
    PrintRatioHeader("ms");
    for (const auto& report : reports) {
        const QString call = QStringLiteral("EXEC %1 @Item_ID = %2").arg(QLatin1String(report.procedure)).arg(room.subject);
        int rows = 0;
        const PairedTimes times = Interleaved(
            repeats, [&] { connection.executeStatement(QString::fromLatin1(report.viewForm), { room.subject }); },
            [&] { rows = connection.execute(call).recordCount(); });
        const QString line = QStringLiteral("%1 (%2 rows) vs view").arg(QLatin1String(report.name)).arg(rows);
        // The target is on the time itself; the ratio says how much of the old cost is left.
        PrintRatioLine(line.toLatin1().constData(), times, 1000, 0);
        std::printf("%-40s %10.2f ms, target %.0f ms: %s\n", "", times.bestMeasuredNs() / 1e6, kTargetMs,
            times.bestMeasuredNs() / 1e6 <= kTargetMs ? "met" : "missed");
    }
}

void measurePostgres(int items, int repeats, bool keep)
{
    if (qEnvironmentVariableIsEmpty("PGHOST") || qEnvironmentVariableIsEmpty("PGPORT")) {
        std::printf("\nPostgreSQL bench skipped: no cluster named by PGHOST and PGPORT (source scripts/pg-cluster.sh start)\n");
        return;
    }
    const QString databaseName = QStringLiteral("bramblecot_custody_bench_%1").arg(QCoreApplication::applicationPid());
    const QString admin = QStringLiteral("custody-bench-cluster-admin");
    ClusterExec(admin, QStringLiteral("CREATE DATABASE %1").arg(databaseName));
    const ConnectionTarget socket { Engine::PostgreSQL, qEnvironmentVariable("PGHOST") + QLatin1Char(':') + qEnvironmentVariable("PGPORT"),
        databaseName };
    try {
        Room room;
        {
            auto owner = DatabaseConnection::openForUpgrade(socket);
            UpgradeSchema(*owner);
            CreateFirstAdministrator(*owner, owner->loginName(), QString());
            room = fill(*owner, Engine::PostgreSQL, items);
        }
        // The program's own session, as a report window runs it.
        auto session = DatabaseConnection::open(socket, Credentials {});
        session->setCommandTimeout(0);
        measure(*session, room, repeats, "PostgreSQL, the program's session (jit off)");
        // What a session with the server's default jit settings paid for the view form, and pays
        // for the new one, against the program's session.
        const QString view = QString::fromLatin1(kViewChainOfCustody);
        const QString call = QStringLiteral("EXEC usp_Evd_Rep_Item_Chain_Of_Custody @Item_ID = %1").arg(room.subject);
        const auto withJit = [&](bool on, const std::function<void()>& run) {
            session->executeStatement(on ? QStringLiteral("SET jit = on") : QStringLiteral("SET jit = off"));
            run();
        };
        const PairedTimes viewJit = Interleaved(
            repeats, [&] { withJit(false, [&] { session->executeStatement(view, { room.subject }); }); },
            [&] { withJit(true, [&] { session->executeStatement(view, { room.subject }); }); });
        const PairedTimes newJit = Interleaved(
            repeats, [&] { withJit(false, [&] { session->execute(call); }); }, [&] { withJit(true, [&] { session->execute(call); }); });
        session->executeStatement(QStringLiteral("SET jit = off"));
        std::printf("\nPostgreSQL, server default jit settings against the program's jit off\n");
        PrintRatioHeader("ms");
        PrintRatioLine("view form, jit on vs off", viewJit, 1000, 0);
        PrintRatioLine("chain of custody, jit on vs off", newJit, 1000, 0);
        session.reset();
    } catch (const std::exception& error) {
        std::printf("PostgreSQL: not measured (%s)\n", error.what());
    }
    if (keep) {
        std::printf("PostgreSQL database kept: %s\n", qPrintable(databaseName));
        return;
    }
    try {
        ClusterExec(admin, QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(databaseName));
    } catch (const std::exception&) {
    }
}

} // namespace

int main(int argc, char* argv[])
{
    BenchSession session(argc, argv);
    const bool smoke = IsSmokeRun(argc, argv);
    int items = smoke ? 2000 : 1000000;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--items") == 0)
            items = std::max(100, QByteArray(argv[i + 1]).toInt());
    }
    const int repeats = smoke ? 1 : 3;
    const auto flag = [&](const char* name) {
        for (int i = 1; i < argc; ++i) {
            if (std::strcmp(argv[i], name) == 0)
                return true;
        }
        return false;
    };
    if (!flag("--postgresql-only")) {
        try {
            DatabaseConnection& connection = *DBConnection();
            const Room room = fill(connection, Engine::SQLite, items);
            measure(connection, room, repeats, "SQLite");
        } catch (const std::exception& error) {
            std::printf("SQLite: not measured (%s)\n", error.what());
        }
    }
    measurePostgres(items, repeats, flag("--keep"));
    return 0;
}
