// The connection's read-only scope on both engines: reads pass, writes fail with the engine's
// message and leave nothing behind, and the connection writes again afterwards.

#include "core/AppError.h"
#include "core/Connection.h"
#include "core/Database.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

namespace {

class ReadOnlyScopeTest : public DatabaseTest { };

int userCount(DatabaseConnection& connection)
{
    return connection.executeStatement(QStringLiteral("SELECT COUNT(*) FROM DB_Users")).valueAt(0, 0).toInt();
}

TEST_P(ReadOnlyScopeTest, RefusesWritesAndKeepsReads)
{
    DatabaseConnection& connection = *DBConnection();
    const int before = userCount(connection);
    const QString writes[] = {
        QStringLiteral("INSERT INTO DB_Users (DB_User_Name) VALUES ('intruder')"),
        QStringLiteral("DELETE FROM DB_Users"),
        QStringLiteral("DROP TABLE DB_Operations"),
    };
    for (const QString& write : writes) {
        ReadOnlyScope scope(connection);
        EXPECT_EQ(userCount(connection), before);
        EXPECT_THROW(connection.execute(write), AppError) << write.toStdString();
    }
    {
        // Lifting the scope from inside is refused too.
        ReadOnlyScope scope(connection);
        const QString lift = connection.engine() == Engine::PostgreSQL ? QStringLiteral("SET TRANSACTION READ WRITE")
                                                                       : QStringLiteral("PRAGMA query_only = OFF");
        EXPECT_THROW(connection.execute(lift), AppError);
    }
    EXPECT_EQ(userCount(connection), before);
    EXPECT_EQ(connection.transactionDepth(), 0);
    EXPECT_FALSE(connection.isReadOnly());
    // After the scope the connection writes as before.
    connection.execute(QStringLiteral("INSERT INTO DB_Operations (DB_Operation_Name) VALUES ('Truncate')"));
    EXPECT_EQ(
        connection.executeStatement(QStringLiteral("SELECT COUNT(*) FROM DB_Operations")).valueAt(0, 0).toInt(), 4);
}

INSTANTIATE_TEST_SUITE_P(Engines, ReadOnlyScopeTest, ::testing::ValuesIn(TestEngines()), EngineTestName);

// What a clerk's statement in the scope (the spreadsheet tool's run) does to the session does not
// outlive the scope: no lock it took is held, and the session's settings are the program's own.
class ReadOnlySession : public DatabaseTest {
protected:
    ReadOnlySession() { logOn = TestLogOn::Clerk; }
};

TEST_P(ReadOnlySession, TheSessionKeepsNothingTheStatementLeft)
{
    DatabaseConnection& connection = *DBConnection();
    const bool postgres = connection.engine() == Engine::PostgreSQL;
    const auto setting = [&](const char* name) {
        return connection
            .executeStatement(postgres ? QStringLiteral("SELECT current_setting('%1')").arg(QLatin1String(name))
                                       : QStringLiteral("PRAGMA %1").arg(QLatin1String(name)))
            .valueAt(0, 0)
            .toString();
    };
    const QStringList settings = postgres
        ? QStringList { QStringLiteral("lock_timeout"), QStringLiteral("statement_timeout"),
              QStringLiteral("client_min_messages"), QStringLiteral("bramblecot.host"), QStringLiteral("DateStyle") }
        : QStringList { QStringLiteral("busy_timeout"), QStringLiteral("query_only"), QStringLiteral("foreign_keys") };
    QStringList before;
    for (const QString& name : settings)
        before << setting(name.toLatin1().constData());
    EXPECT_EQ(before.at(0), postgres ? QStringLiteral("%1s").arg(DatabaseConnection::LockWaitSeconds)
                                     : QString::number(DatabaseConnection::LockWaitSeconds * 1000));

    const QStringList statements = postgres
        ? QStringList { QStringLiteral("SELECT pg_advisory_lock(1)"), QStringLiteral("SELECT pg_advisory_lock_shared(2)"),
              QStringLiteral("SELECT set_config('lock_timeout', '0', false)"),
              QStringLiteral("SELECT set_config('statement_timeout', '0', false)"),
              QStringLiteral("SELECT set_config('bramblecot.host', 'elsewhere', false)"),
              QStringLiteral("SET DateStyle = 'SQL, DMY'"), QStringLiteral("SET client_min_messages = debug5") }
        : QStringList { QStringLiteral("PRAGMA busy_timeout = 0"), QStringLiteral("PRAGMA foreign_keys = OFF"),
              QStringLiteral("PRAGMA query_only = OFF") };
    for (const QString& statement : statements) {
        ReadOnlyScope scope(connection);
        try {
            connection.execute(statement);
        } catch (const AppError&) {
            // Refused: it left nothing either.
        }
    }
    QStringList after;
    for (const QString& name : settings)
        after << setting(name.toLatin1().constData());
    EXPECT_EQ(after, before);
    if (postgres) {
        // Seen by the server, from a session of its own.
        const QVariant pid = connection.executeStatement(QStringLiteral("SELECT pg_backend_pid()")).valueAt(0, 0);
        EXPECT_EQ(m_database->connect()
                      ->executeStatement(
                          QStringLiteral("SELECT COUNT(*) FROM pg_locks WHERE locktype = 'advisory' AND pid = ?"), { pid })
                      .valueAt(0, 0)
                      .toInt(),
            0);
    }
    EXPECT_EQ(connection.transactionDepth(), 0);
    EXPECT_FALSE(connection.isReadOnly());
}

INSTANTIATE_TEST_SUITE_P(Engines, ReadOnlySession, ::testing::ValuesIn(TestEngines()), EngineTestName);

} // namespace
