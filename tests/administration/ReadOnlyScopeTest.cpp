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

} // namespace
