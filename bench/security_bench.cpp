// What the server's guard costs a clerk's saves on PostgreSQL: N single-row saves through the
// program's save path (the INSERT ... RETURNING and UPDATE ... RETURNING statements a record
// window sends, run by GetSQLValue on the program's connection, logged on as a clerk over TCP)
// into a table with the table permission trigger and the change-log trigger (which runs as its
// owner), against the same saves into a table of the same shape without either trigger.
// Repeats interleave the two after a warm-up of each (BenchTiming.h); the program prints the
// least and the median of the repeats' ratios beside the target and never fails on a missed target.
//
//   security_bench [N | --smoke]     N saves of each kind per repeat (default 10,000; --smoke 200)

#include "BenchTiming.h"
#include "core/Connection.h"
#include "core/Database.h"
#include "core/LoginAdministration.h"
#include "core/Schema.h"
#include "core/SqlText.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <cstdio>
#include <stdexcept>
#include <vector>

namespace {

constexpr double kTarget = 1.3;

// Runs administrative statements on the cluster's maintenance database.
void clusterExec(const QString& statement)
{
    const QString name = QStringLiteral("security-bench-cluster-admin");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(qEnvironmentVariable("PGHOST"));
        db.setPort(qEnvironmentVariable("PGPORT").toInt());
        db.setDatabaseName(QStringLiteral("postgres"));
        if (!db.open())
            throw std::runtime_error(db.lastError().text().toStdString());
        QSqlQuery query(db);
        const bool ok = query.exec(statement);
        const QString error = query.lastError().text();
        query = QSqlQuery();
        db.close();
        if (!ok)
            throw std::runtime_error((statement + QStringLiteral(": ") + error).toStdString());
    }
    QSqlDatabase::removeDatabase(name);
}

// The fields a lookup record window of a few columns saves.
PairDictionary recordValues(int serial, int round)
{
    PairDictionary values;
    values.add(QStringLiteral("Item_Name"), SQLString(QStringLiteral("Item %1-%2").arg(round).arg(serial)));
    values.add(QStringLiteral("Item_Code"), SQLString(QStringLiteral("C%1").arg(serial % 997)));
    values.add(QStringLiteral("Shelf_No"), QString::number(100 + serial % 900));
    values.add(QStringLiteral("Notes"), SQLString(QStringLiteral("Sealed bag from locker %1").arg(1 + serial % 64)));
    return values;
}

// N inserts as a record window in add mode sends them; the identities they returned.
void insertRows(const QString& table, int count, int round, std::vector<int>& identities)
{
    identities.clear();
    for (int i = 0; i < count; ++i) {
        const auto identity
            = GetSQLValue(BuildInsertSQL(table, recordValues(i, round)) + QStringLiteral("\r\nRETURNING Item_ID"));
        if (!identity)
            throw std::runtime_error("an insert was refused");
        identities.push_back(identity->toInt());
    }
}

// One changed field a save, as a record window in edit mode sends it.
void updateRows(const QString& table, const std::vector<int>& identities, int round)
{
    for (size_t i = 0; i < identities.size(); ++i) {
        PairDictionary changes;
        changes.add(QStringLiteral("Shelf_No"), QString::number(round * 1000 + static_cast<int>(i % 1000)));
        const auto result = GetSQLValue(BuildUpdateSQL(table, changes) + QStringLiteral("\r\nWHERE Item_ID = ")
            + QString::number(identities[i]) + QStringLiteral("\r\nRETURNING 0 AS Error"));
        if (!result)
            throw std::runtime_error("an update was refused");
    }
}

void run(int count, int repeats)
{
    const QString databaseName = QStringLiteral("bramblecot_security_bench_%1").arg(QCoreApplication::applicationPid());
    const QString clerk = databaseName + QStringLiteral("_clerk");
    const QString port = qEnvironmentVariable("PGPORT");
    clusterExec(QStringLiteral("CREATE DATABASE %1").arg(databaseName));
    auto cleanUp = [&] {
        CloseConnection();
        SetDBConnection(nullptr);
        for (const QString& statement : { QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(databaseName),
                 QStringLiteral("DROP ROLE IF EXISTS %1").arg(clerk),
                 QStringLiteral("DROP ROLE IF EXISTS %1_admins").arg(databaseName),
                 QStringLiteral("DROP ROLE IF EXISTS %1_users").arg(databaseName) }) {
            try {
                clusterExec(statement);
            } catch (const std::exception&) {
            }
        }
    };
    try {
        {
            const ConnectionTarget socket { Engine::PostgreSQL,
                qEnvironmentVariable("PGHOST") + QLatin1Char(':') + port, databaseName };
            auto owner = DatabaseConnection::openForUpgrade(socket);
            UpgradeSchema(*owner);
            CreateFirstAdministrator(*owner, owner->loginName(), QString());
            // Two tables of one shape: the guarded one as every data table is made, the bare one
            // without its triggers (its grants stay, so the clerk may write it).
            for (const char* table : { "Bench_Items", "Bench_Items_Bare" }) {
                owner->executeStatement(
                    QStringLiteral("CREATE TABLE %1 (Item_ID INTEGER GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY, "
                                   "Item_Name CITEXT NOT NULL, Item_Code CITEXT, Shelf_No INTEGER, Notes TEXT)")
                        .arg(QLatin1String(table)));
                owner->executeStatement(
                    QStringLiteral("INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, "
                                   "DB_ID_Field, DB_Default_Permission) VALUES (?, 'Bench Items', 'Bench Item', "
                                   "'Item_ID', 1)"),
                    { QString::fromLatin1(table) });
            }
            RefreshChangeLogTriggers(*owner);
            for (const char* trigger :
                { "bench_items_bare_permission", "bench_items_bare_log", "bench_items_bare_log_truncate" })
                owner->executeStatement(
                    QStringLiteral("DROP TRIGGER %1 ON Bench_Items_Bare").arg(QLatin1String(trigger)));
            CreateServerLogin(*owner, clerk, QStringLiteral("Bench1"), false);
        }
        const ConnectionTarget tcp { Engine::PostgreSQL, QStringLiteral("127.0.0.1:") + port, databaseName };
        SetDBConnection(DatabaseConnection::open(tcp, Credentials { false, clerk, QStringLiteral("Bench1") }));

        // Each side's latest rows, which its next update run changes.
        std::vector<int> guardedRows;
        std::vector<int> bareRows;
        int round = 0;
        const QString guarded = QStringLiteral("Bench_Items");
        const QString bare = QStringLiteral("Bench_Items_Bare");
        const PairedTimes inserts = Interleaved(
            repeats, [&] { insertRows(bare, count, ++round, bareRows); },
            [&] { insertRows(guarded, count, ++round, guardedRows); });
        const PairedTimes updates = Interleaved(
            repeats, [&] { updateRows(bare, bareRows, ++round); }, [&] { updateRows(guarded, guardedRows, ++round); });
        std::printf("\nPostgreSQL, a clerk over TCP: %d saves of each kind, %d repeats\n", count, repeats);
        PrintRatioHeader("ours us");
        PrintRatioLine("insert ... RETURNING, guarded", inserts, count, kTarget);
        PrintRatioLine("update ... RETURNING, guarded", updates, count, kTarget);
        const auto logged
            = GetSQLValue(QStringLiteral("SELECT COUNT(*) FROM DB_Change_Log WHERE DB_Table_Name = 'bench_items'"));
        std::printf(
            "change-log rows of the guarded table: %lld (bare table: none)\n", logged ? logged->toLongLong() : -1LL);
    } catch (...) {
        cleanUp();
        throw;
    }
    cleanUp();
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const bool smoke = IsSmokeRun(argc, argv);
    int count = smoke ? 200 : 10000;
    const int repeats = smoke ? 3 : 5;
    for (int i = 1; i < argc; ++i) {
        if (QByteArray(argv[i]).toInt() > 0)
            count = QByteArray(argv[i]).toInt();
    }
    if (qEnvironmentVariableIsEmpty("PGHOST") || qEnvironmentVariableIsEmpty("PGPORT")) {
        std::printf(
            "PostgreSQL: skipped, no cluster named by PGHOST and PGPORT (source scripts/pg-cluster.sh start)\n");
        return 0;
    }
    try {
        run(count, repeats);
    } catch (const std::exception& error) {
        std::printf("PostgreSQL: not measured (%s)\n", error.what());
    }
    return 0;
}
