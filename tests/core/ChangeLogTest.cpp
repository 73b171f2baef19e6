#include "core/Connection.h"
#include "core/Database.h"
#include "core/Schema.h"
#include "support/SweepChecks.h"
#include "support/TestDatabase.h"

#include <QCoreApplication>
#include <QHash>

#include <gtest/gtest.h>

// What the change log writes for a change: the old and new values as JSON whose keys are the
// columns as the migrations declare them, in the table's column order, and the same text on both
// engines for the same change.
namespace {

// A row for the tables that neither the starting rows nor the sample rows fill.
const QHash<QString, QString>& rowMakers()
{
    static const QHash<QString, QString> makers = {
        { QStringLiteral("employees"), QStringLiteral("INSERT INTO Employees (Payroll_Number) VALUES ('P-1')") },
        { QStringLiteral("db_action_permissions"),
            QStringLiteral(
                "INSERT INTO DB_Action_Permissions (DB_User_ID, DB_Action_ID) SELECT (SELECT MIN(DB_User_ID) "
                "FROM DB_Users), (SELECT MIN(DB_Action_ID) FROM DB_Actions)") },
        { QStringLiteral("db_report_permissions"),
            QStringLiteral(
                "INSERT INTO DB_Report_Permissions (DB_User_ID, DB_Report_ID) SELECT (SELECT MIN(DB_User_ID) "
                "FROM DB_Users), (SELECT MIN(DB_Report_ID) FROM DB_Reports)") },
        { QStringLiteral("db_table_permissions"),
            QStringLiteral("INSERT INTO DB_Table_Permissions (DB_User_ID, DB_Table_ID, DB_Table_Action_ID) SELECT "
                           "(SELECT MIN(DB_User_ID) FROM DB_Users), (SELECT MIN(DB_Table_ID) FROM DB_Tables), "
                           "(SELECT MIN(DB_Table_Action_ID) FROM DB_Table_Actions)") },
    };
    return makers;
}

class ChangeLogKeys : public DatabaseTest { };

// Every table the program knows, changed once: the row names the table, and the keys of the old
// and new values name its columns, as an embedded database (which keeps the declared spelling)
// names them.
TEST_P(ChangeLogKeys, EveryTableNamesItselfAndItsColumnsAsDeclaredInColumnOrder)
{
    DatabaseConnection& connection = *DBConnection();
    LoadSampleData(connection);
    TestDatabase declaredDatabase(Engine::SQLite);
    auto declared = declaredDatabase.connect();

    const Recordset tables = connection.executeStatement(
        QStringLiteral("SELECT DB_Table_Name, DB_ID_Field FROM DB_Tables ORDER BY DB_Table_Name"));
    ASSERT_GT(tables.recordCount(), 0);
    for (int row = 0; row < tables.recordCount(); ++row) {
        const QString table = tables.valueAt(row, 0).toString();
        const QString identity = tables.valueAt(row, 1).toString();
        SCOPED_TRACE(table.toStdString());
        // A row naming another database's object ("master..sysprocesses") only keys a permission.
        if (table.contains(QLatin1Char('.')))
            continue;
        const Recordset count = connection.executeStatement(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table));
        if (count.valueAt(0, 0).toInt() == 0 && rowMakers().contains(table.toLower()))
            connection.executeStatement(rowMakers().value(table.toLower()));
        ExpectChangeLogKeysAsDeclared(connection, *declared, table, identity);
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, ChangeLogKeys, ::testing::ValuesIn(TestEngines()), EngineTestName);

// The same changes on an embedded and a server database write the same text, byte for byte.
TEST(ChangeLogText, TheSameChangesWriteTheSameValuesOnBothEngines)
{
    if (!RequireEngine(Engine::PostgreSQL))
        GTEST_SKIP() << "no PostgreSQL cluster is running";
    const char* changes[] = {
        // A table of the migrations, with mixed-case columns.
        "INSERT INTO Colors (Color_Name, Appllies_To_Eyes, Appllies_To_Hair, Appllies_To_Items, Color_RGB_Value) "
        "VALUES ('Navy \"Deep\" \\ Blue', 1, 0, 1, 128)",
        "UPDATE Colors SET Color_Name = 'Line one' || char(10) || 'Line' || char(9) || 'two \u00e9\u20ac', "
        "Color_RGB_Value = NULL WHERE Color_RGB_Value = 128",
        "DELETE FROM Colors WHERE Color_Name LIKE 'Line one%'",
        // Every kind of value a column holds.
        "INSERT INTO Value_Samples (amount, whole_amount, taken_on, taken_at, noted_at, flag, note) "
        "VALUES (12.5, 12.00, '2024-03-05', '2024-03-05 14:07:00', '2024-03-05 14:07:09.120', 1, 'x')",
        "UPDATE Value_Samples SET amount = 1234567.1234, whole_amount = NULL, taken_on = NULL, noted_at = NULL, "
        "flag = 0",
    };
    std::vector<std::vector<LoggedChange>> written;
    for (const Engine engine : { Engine::SQLite, Engine::PostgreSQL }) {
        SCOPED_TRACE(engine == Engine::PostgreSQL ? "PostgreSQL" : "SQLite");
        TestDatabase database(engine);
        auto connection = database.connect();
        // A table of the test's own: its names are lower case, as the server would report any
        // table the migrations do not declare.
        connection->executeStatement(
            QStringLiteral("CREATE TABLE Value_Samples (sample_id %1, amount %2, whole_amount %2, taken_on %3, "
                           "taken_at %4, noted_at %4, flag %5, note %6)")
                .arg(SchemaToken(engine, QStringLiteral("{ID}")), SchemaToken(engine, QStringLiteral("{MONEY}")),
                    SchemaToken(engine, QStringLiteral("{DATE}")), SchemaToken(engine, QStringLiteral("{DATETIME}")),
                    SchemaToken(engine, QStringLiteral("{BIT}")), SchemaToken(engine, QStringLiteral("{TEXT}"))));
        RefreshChangeLogTriggers(*connection);
        std::vector<LoggedChange> values;
        for (const char* change : changes) {
            QString statement = QString::fromUtf8(change);
            if (engine == Engine::PostgreSQL)
                statement.replace(QLatin1String("char("), QLatin1String("chr("));
            connection->executeStatement(statement);
            values.push_back(LastLoggedChange(*connection,
                statement.contains(QLatin1String("Colors")) ? QStringLiteral("Colors")
                                                            : QStringLiteral("Value_Samples")));
        }
        written.push_back(values);
    }
    ASSERT_EQ(written.size(), 2u);
    for (size_t i = 0; i < std::size(changes); ++i) {
        SCOPED_TRACE(changes[i]);
        EXPECT_EQ(written[1][i].oldValues.toStdString(), written[0][i].oldValues.toStdString());
        EXPECT_EQ(written[1][i].newValues.toStdString(), written[0][i].newValues.toStdString());
        // A table of the migrations is named alike too (the test's own table is not declared).
        if (QString::fromUtf8(changes[i]).contains(QLatin1String("Colors"))) {
            EXPECT_EQ(written[1][i].table, written[0][i].table);
        }
    }
    EXPECT_EQ(written[1][3].newValues,
        QStringLiteral("{\"sample_id\":1,\"amount\":12.5,\"whole_amount\":12,\"taken_on\":\"2024-03-05\","
                       "\"taken_at\":\"2024-03-05 14:07:00\",\"noted_at\":\"2024-03-05 14:07:09.120\",\"flag\":1,"
                       "\"note\":\"x\"}"));
    EXPECT_TRUE(written[1][0].newValues.startsWith(QStringLiteral("{\"Color_ID\":")))
        << written[1][0].newValues.toStdString();
}

// A server database as the version before left it: one shared log function writing the row as
// the server names it. The upgrade gives every table its own, with the declared names.
TEST(ChangeLogUpgrade, AnUpgradedServerDatabaseLogsTheDeclaredNames)
{
    if (!RequireEngine(Engine::PostgreSQL))
        GTEST_SKIP() << "no PostgreSQL cluster is running";
    const ConnectionTarget target { Engine::PostgreSQL,
        qEnvironmentVariable("PGHOST") + QLatin1Char(':') + qEnvironmentVariable("PGPORT"),
        QStringLiteral("bramblecot_log_upgrade_%1").arg(QCoreApplication::applicationPid()) };
    ClusterExec({ QStringLiteral("DROP DATABASE IF EXISTS %1").arg(target.databaseName),
        QStringLiteral("CREATE DATABASE %1").arg(target.databaseName) });
    {
        auto connection = DatabaseConnection::openForUpgrade(target);
        const QStringList earlier = { QStringLiteral("0001_engine"), QStringLiteral("0002_framework"),
            QStringLiteral("0003_starting_data"), QStringLiteral("0004_case_classification"),
            QStringLiteral("0005_property_classification"), QStringLiteral("0006_colours_currencies_units"),
            QStringLiteral("0007_notification_gender_race"), QStringLiteral("0008_employee_and_name_tables"),
            QStringLiteral("0009_address_telephone_types"), QStringLiteral("0010_countries_states"),
            QStringLiteral("0011_iso_countries_states"), QStringLiteral("0012_security") };
        for (int version = 1; version <= earlier.size(); ++version) {
            for (const QString& statement : SchemaStatements(*connection, earlier.at(version - 1)))
                connection->executeStatement(statement);
            connection->executeStatement(
                QStringLiteral("INSERT INTO DB_Schema_Version(Version) VALUES (?)"), { version });
        }
        connection->executeStatement(
            QStringLiteral("SELECT bramblecot_secure_table('Colors', 'data', 'Color_ID', NULL, '{}')"));
        connection->executeStatement(QStringLiteral("INSERT INTO Colors (Color_Name) VALUES ('Red')"));
        ASSERT_TRUE(LastLoggedChange(*connection, QStringLiteral("Colors"))
                        .newValues.contains(QStringLiteral("\"color_name\": \"Red\"")));

        UpgradeSchema(*connection);
        EXPECT_EQ(SchemaVersion(*connection), LatestSchemaVersion());
        connection->executeStatement(QStringLiteral("UPDATE Colors SET Color_RGB_Value = 255"));
        const LoggedChange logged = LastLoggedChange(*connection, QStringLiteral("Colors"));
        EXPECT_EQ(JsonKeysInOrder(logged.newValues),
            QStringList({ QStringLiteral("Color_ID"), QStringLiteral("Color_Name"), QStringLiteral("Appllies_To_Eyes"),
                QStringLiteral("Appllies_To_Hair"), QStringLiteral("Appllies_To_Items"),
                QStringLiteral("Color_RGB_Value") }))
            << logged.newValues.toStdString();
        EXPECT_TRUE(JsonKeysInOrder(logged.oldValues).contains(QStringLiteral("Color_RGB_Value")));
        EXPECT_EQ(logged.table, QStringLiteral("Colors"));
        // A truncation names the table as declared too.
        connection->executeStatement(QStringLiteral("TRUNCATE Item_Files"));
        EXPECT_EQ(LastLoggedChange(*connection, QStringLiteral("Item_Files")).table, QStringLiteral("Item_Files"));
        // The log keeps what the earlier version wrote.
        EXPECT_EQ(connection
                      ->executeStatement(QStringLiteral("SELECT DB_Table_Name::text FROM DB_Change_Log WHERE "
                                                        "DB_New_Values LIKE '%\"color_name\": \"Red\"%'"))
                      .valueAt(0, 0)
                      .toString(),
            QStringLiteral("colors"));
        EXPECT_EQ(connection
                      ->executeStatement(QStringLiteral("SELECT COUNT(*) FROM DB_Change_Log WHERE "
                                                        "DB_New_Values LIKE '%\"color_name\": \"Red\"%'"))
                      .valueAt(0, 0)
                      .toInt(),
            1);
    }
    ClusterExec({ QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(target.databaseName),
        QStringLiteral("DROP ROLE IF EXISTS %1_admins").arg(target.databaseName),
        QStringLiteral("DROP ROLE IF EXISTS %1_users").arg(target.databaseName) });
}

} // namespace
