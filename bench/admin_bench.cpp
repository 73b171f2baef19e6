// The table permission question against its data: with 200,000 table permission rows (500 users,
// 100 tables, the four table actions), N calls of usp_DB_Get_DB_Table_Permission as the program
// sends them (the command text of CheckTablePermission, for the connection's own user) against N
// reads of one permission row by its key (user, table, table action) as a prepared statement on
// the same connection. The embedded database always; the server too when the test cluster is
// named by PGHOST and PGPORT. Repeats interleave the two after a warm-up of each (BenchTiming.h);
// the program prints the least and the median of the repeats' ratios beside the target and never
// fails on a missed target. Then, over the same rows, the Populate of the table permissions search
// window with every criterion at "<All>" (to the rows shown in the grid) against the search
// procedure's own time: at most 1.5x.
//
//   admin_bench [N | --smoke]     N calls of each kind per repeat (default 2,000; --smoke: 5 users,
//                                 3 tables and 20 calls)

#include "BenchCluster.h"
#include "BenchFixture.h"
#include "administration/AdministrationWindows.h"
#include "core/AppError.h"
#include "core/Connection.h"
#include "core/Database.h"
#include "core/Schema.h"
#include "form_framework/WindowList.h"
#include "form_framework/WindowOpening.h"
#include "list_controls/ListProcedures.h"
#include "list_controls/zListView.h"
#include "declared_windows/DeclaredSearchWindow.h"

#include <QApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <stdexcept>

namespace {

constexpr double kTarget = 2.0;

struct Shape {
    int users = 500;
    int tables = 100;
    int calls = 2000;
    int repeats = 7;
};

// Runs administrative statements on the cluster's maintenance database.
void clusterExec(const QString& statement) { ClusterExec(QStringLiteral("admin-bench-cluster-admin"), statement); }

// The connection's own user is one of the users with rows, and no administrator, so the answer
// comes from the rows rather than from the administrator flag.
void fill(DatabaseConnection& db, const Shape& shape)
{
    // 200,000 permission rows with their change-log rows take longer than a clerk's statement may.
    const int timeout = db.commandTimeout();
    db.setCommandTimeout(0);
    db.beginTransaction();
    db.executeStatement(QStringLiteral("UPDATE DB_Users SET DB_Sys_Admin = 0 WHERE DB_User_Name = SUSER_NAME()"));
    for (int user = 1; user < shape.users; ++user)
        db.executeStatement(QStringLiteral("INSERT INTO DB_Users (DB_User_Name, DB_Last_Name, DB_First_Name) "
                                           "VALUES (?, 'Bench', 'User')"),
            { QStringLiteral("bench_user_%1").arg(user) });
    for (int table = 1; table <= shape.tables; ++table)
        db.executeStatement(QStringLiteral("INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, "
                                           "DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission) "
                                           "VALUES (?, 'Bench Tables', 'Bench Table', 'Bench_ID', 0)"),
            { QStringLiteral("Bench_Table_%1").arg(table) });
    db.executeStatement(QStringLiteral(
        "INSERT INTO DB_Table_Permissions (DB_User_ID, DB_Table_ID, DB_Table_Action_ID, DB_Permission) "
        "SELECT u.DB_User_ID, t.DB_Table_ID, a.DB_Table_Action_ID, (u.DB_User_ID + t.DB_Table_ID + "
        "a.DB_Table_Action_ID) % 2 "
        "FROM DB_Users u, DB_Tables t, DB_Table_Actions a WHERE t.DB_Table_Name LIKE 'Bench!_Table!_%' ESCAPE '!'"));
    db.commitTransaction();
    db.executeStatement(QStringLiteral("ANALYZE"));
    db.setCommandTimeout(timeout);
}

void measure(const char* engine, DatabaseConnection& db, const Shape& shape)
{
    const int self
        = db.executeStatement(QStringLiteral("SELECT DB_User_ID FROM DB_Users WHERE DB_User_Name = SUSER_NAME()"))
              .valueAt(0, 0)
              .toInt();
    const int rows
        = db.executeStatement(QStringLiteral("SELECT COUNT(*) FROM DB_Table_Permissions")).valueAt(0, 0).toInt();
    const QStringList actions
        = { QStringLiteral("View"), QStringLiteral("Add"), QStringLiteral("Edit"), QStringLiteral("Delete") };
    std::vector<int> tableIds;
    const Recordset tables
        = db.executeStatement(QStringLiteral("SELECT DB_Table_ID FROM DB_Tables WHERE DB_Table_Name LIKE "
                                             "'Bench!_Table!_%' ESCAPE '!' ORDER BY DB_Table_ID"));
    for (int i = 0; i < tables.recordCount(); ++i)
        tableIds.push_back(tables.valueAt(i, 0).toInt());

    long long answered = 0;
    const auto procedure = [&] {
        for (int i = 0; i < shape.calls; ++i) {
            Recordset rs
                = db.execute(QStringLiteral("EXEC usp_DB_Get_DB_Table_Permission @DB_Table_Action_Name = '%1', "
                                            "@DB_Table_Name = 'Bench_Table_%2'")
                                 .arg(actions.at(i % 4))
                                 .arg(1 + i % shape.tables));
            answered += rs.recordCount();
        }
    };
    const auto byKey = [&] {
        for (int i = 0; i < shape.calls; ++i) {
            Recordset rs = db.executeStatement(
                QStringLiteral(
                    "SELECT DB_Permission FROM DB_Table_Permissions WHERE DB_User_ID = ? AND DB_Table_ID = ? "
                    "AND DB_Table_Action_ID = ?"),
                { self, tableIds.at(static_cast<size_t>(i % shape.tables)), 1 + i % 4 });
            answered += rs.recordCount();
        }
    };
    const PairedTimes times = Interleaved(shape.repeats, byKey, procedure);
    if (answered == 0)
        throw std::runtime_error("no permission row was read");
    std::printf("\n%s: %d table permission rows, %d calls of each kind, %d repeats\n", engine, rows, shape.calls,
        shape.repeats);
    PrintRatioHeader("us/call");
    PrintRatioLine("usp_DB_Get_DB_Table_Permission vs key", times, shape.calls, kTarget);
}

// On the server a change of a user, a table or a permission renews the decisions it touches, in
// the change's own transaction: each change below is timed with that renewal (and rolled back, so
// the rows stay as filled) against an update of the same row that touches no decision. The target
// is absolute: at most 50 ms a change at 500 users and 100 tables.
void measureRightsRenewal(DatabaseConnection& db, const Shape& shape)
{
    struct Change {
        const char* what;
        const char* plain;
        const char* renewing;
    };
    const Change changes[] = {
        { "a user renamed", "UPDATE DB_Users SET DB_Last_Name = DB_Last_Name || 'x' WHERE DB_User_Name = 'bench_user_1'",
            "UPDATE DB_Users SET DB_User_Name = 'bench_user_1x' WHERE DB_User_Name = 'bench_user_1'" },
        { "a user made administrator",
            "UPDATE DB_Users SET DB_First_Name = DB_First_Name || 'x' WHERE DB_User_Name = 'bench_user_2'",
            "UPDATE DB_Users SET DB_Sys_Admin = 1 WHERE DB_User_Name = 'bench_user_2'" },
        { "a user added", "UPDATE DB_Users SET DB_First_Name = DB_First_Name || 'x' WHERE DB_User_Name = 'bench_user_3'",
            "INSERT INTO DB_Users (DB_User_Name, DB_Last_Name, DB_First_Name) VALUES ('bench_new_user', 'Bench', 'New')" },
        { "a table's default changed",
            "UPDATE DB_Tables SET DB_Table_Good_Name = DB_Table_Good_Name || 'x' WHERE DB_Table_Name = 'Bench_Table_1'",
            "UPDATE DB_Tables SET DB_Default_Permission = 1 - DB_Default_Permission WHERE DB_Table_Name = 'Bench_Table_1'" },
        { "a permission changed",
            "UPDATE DB_Users SET DB_First_Name = DB_First_Name || 'x' WHERE DB_User_Name = 'bench_user_4'",
            "UPDATE DB_Table_Permissions SET DB_Permission = 1 - DB_Permission WHERE DB_Table_Permission_ID = "
            "(SELECT MIN(DB_Table_Permission_ID) FROM DB_Table_Permissions)" },
    };
    const auto inRolledBack = [&db](const char* statement) {
        return [&db, statement] {
            db.beginTransaction();
            db.executeStatement(QString::fromUtf8(statement));
            db.rollbackTransaction();
        };
    };
    std::printf("\nPostgreSQL: renewing the table-permission decisions, %d users x %d tables (ms a change; "
                "target: at most 50 ms)\n",
        shape.users, shape.tables);
    std::printf("%-40s %10s %10s\n", "change", "ms", "plain ms");
    for (const Change& change : changes) {
        const PairedTimes times = Interleaved(shape.repeats, inRolledBack(change.plain), inRolledBack(change.renewing));
        const double ms = times.bestMeasuredNs() / 1e6;
        std::printf("%-40s %10.2f %10.2f  %s\n", change.what, ms, times.bestBaselineNs() / 1e6,
            MedianOf(std::vector<double>(times.measured.begin(), times.measured.end())) / 1e6 <= 50.0 ? "met" : "missed");
    }
}

// The search window as the clerk fills it: the program's connection becomes this one for the while.
void measurePopulate(const char* engine, std::unique_ptr<DatabaseConnection> db, const Shape& shape)
{
    SetDBConnection(std::move(db));
    auto* list = qobject_cast<DeclaredSearchWindow*>(ShowFormByName(QStringLiteral("frmTablePermissions")));
    if (!list)
        throw std::runtime_error("the table permissions window did not open");
    const PairedTimes times = TimePopulateData(std::max(2, shape.repeats / 2), list);
    const long long shown = list->grid()->CountItems();
    std::printf("%s: Populate with every criterion at <All>, %lld rows shown\n", engine, shown);
    PrintRatioHeader("us/row");
    PrintRatioLine("Populate / search procedure", times, static_cast<int>(std::max<long long>(1, shown)), 1.5);
    for (QWidget* window : LoadedWindows())
        UnloadWindow(window);
    CloseConnection();
}

void runSqlite(const Shape& shape)
{
    QTemporaryDir folder;
    const ConnectionTarget target { Engine::SQLite, QStringLiteral("(local)"),
        folder.filePath(QStringLiteral("bench.db")) };
    // The first trusted log-on creates the database with the account as its administrator.
    auto db = DatabaseConnection::open(target, Credentials {});
    fill(*db, shape);
    measure("SQLite", *db, shape);
    measurePopulate("SQLite", std::move(db), shape);
}

void runPostgres(const Shape& shape)
{
    const QString databaseName = QStringLiteral("bramblecot_admin_bench_%1").arg(QCoreApplication::applicationPid());
    clusterExec(QStringLiteral("CREATE DATABASE %1").arg(databaseName));
    try {
        const ConnectionTarget socket { Engine::PostgreSQL,
            qEnvironmentVariable("PGHOST") + QLatin1Char(':') + qEnvironmentVariable("PGPORT"), databaseName };
        {
            auto owner = DatabaseConnection::openForUpgrade(socket);
            UpgradeSchema(*owner);
            CreateFirstAdministrator(*owner, owner->loginName(), QString());
        }
        auto db = DatabaseConnection::open(socket, Credentials {});
        fill(*db, shape);
        measure("PostgreSQL", *db, shape);
        measureRightsRenewal(*db, shape);
        measurePopulate("PostgreSQL", std::move(db), shape);
    } catch (...) {
        clusterExec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(databaseName));
        throw;
    }
    clusterExec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(databaseName));
    for (const char* role : { "admins", "users" })
        clusterExec(QStringLiteral("DROP ROLE IF EXISTS %1_%2").arg(databaseName, QLatin1String(role)));
}

} // namespace

int main(int argc, char** argv)
{
    const BenchApplication application(argc, argv, { RegisterListControlProcedures, RegisterAdministrationTableForms });
    Shape shape;
    if (application.smoke()) {
        shape = { 5, 3, 20, 2 };
    } else if (argc > 1) {
        shape.calls = std::max(1, QString::fromLocal8Bit(argv[1]).toInt());
    }
    try {
        runSqlite(shape);
        if (!qEnvironmentVariable("PGHOST").isEmpty() && !qEnvironmentVariable("PGPORT").isEmpty())
            runPostgres(shape);
    } catch (const AppError& error) {
        std::fprintf(stderr, "admin_bench: %s\n", qPrintable(error.description()));
        return 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "admin_bench: %s\n", error.what());
        return 1;
    }
    return 0;
}
