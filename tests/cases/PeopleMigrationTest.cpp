// The people migration on a server database that already holds employees of the earlier, minimal
// table: their rows and the users that refer to them stay; payroll numbers become unique.

#include "core/AppError.h"
#include "core/Connection.h"
#include "core/Schema.h"
#include "support/TestDatabase.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace {

class PeopleMigration : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!RequireEngine(Engine::PostgreSQL))
            GTEST_SKIP() << "no PostgreSQL cluster is running";
        m_target
            = { Engine::PostgreSQL, qEnvironmentVariable("PGHOST") + QLatin1Char(':') + qEnvironmentVariable("PGPORT"),
                  QStringLiteral("bramblecot_people_upgrade_%1").arg(QCoreApplication::applicationPid()) };
        ClusterExec({ QStringLiteral("DROP DATABASE IF EXISTS %1").arg(m_target.databaseName),
            QStringLiteral("CREATE DATABASE %1").arg(m_target.databaseName) });
        m_connection = DatabaseConnection::openForUpgrade(m_target);
        // Every migration before the people's.
        const QStringList earlier = { QStringLiteral("0001_engine"), QStringLiteral("0002_framework"),
            QStringLiteral("0003_starting_data"), QStringLiteral("0004_case_classification"),
            QStringLiteral("0005_property_classification"), QStringLiteral("0006_colours_currencies_units"),
            QStringLiteral("0007_notification_gender_race"), QStringLiteral("0008_employee_and_name_tables"),
            QStringLiteral("0009_address_telephone_types"), QStringLiteral("0010_countries_states"),
            QStringLiteral("0011_iso_countries_states"), QStringLiteral("0012_security"),
            QStringLiteral("0013_change_log_keys"), QStringLiteral("0014_trusted_logins") };
        for (int version = 1; version <= earlier.size(); ++version) {
            for (const QString& statement : SchemaStatements(*m_connection, earlier.at(version - 1)))
                m_connection->executeStatement(statement);
            m_connection->executeStatement(
                QStringLiteral("INSERT INTO DB_Schema_Version(Version) VALUES (?)"), { version });
        }
        m_before = static_cast<int>(earlier.size());
    }

    void TearDown() override
    {
        if (!m_connection)
            return;
        m_connection.reset();
        ClusterExec({ QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_target.databaseName),
            QStringLiteral("DROP ROLE IF EXISTS %1_admins").arg(m_target.databaseName),
            QStringLiteral("DROP ROLE IF EXISTS %1_users").arg(m_target.databaseName) });
    }

    QVariant scalar(const QString& sql) const { return m_connection->executeStatement(sql).valueAt(0, 0); }

    ConnectionTarget m_target;
    std::unique_ptr<DatabaseConnection> m_connection;
    int m_before = 0;
};

TEST_F(PeopleMigration, KeepsTheEmployeesOfTheMinimalTable)
{
    m_connection->executeStatement(
        QStringLiteral("INSERT INTO Employees (Payroll_Number) VALUES ('AB-1'), (NULL), ('cd-2')"));
    const int first = scalar(QStringLiteral("SELECT MIN(Employee_ID) FROM Employees")).toInt();
    m_connection->executeStatement(
        QStringLiteral("INSERT INTO DB_Users (DB_User_Name, Employee_ID) VALUES ('clerk', ?)"), { first });

    UpgradeSchema(*m_connection);
    EXPECT_EQ(SchemaVersion(*m_connection), LatestSchemaVersion());

    const Recordset rows = m_connection->executeStatement(
        QStringLiteral("SELECT e.Employee_ID, e.Payroll_Number, e.Person_ID, v.Employee FROM Employees e "
                       "JOIN vw_Evd_Employees v ON v.Employee_ID = e.Employee_ID ORDER BY e.Employee_ID"));
    ASSERT_EQ(rows.recordCount(), 3);
    EXPECT_EQ(rows.valueAt(0, 0).toInt(), first);
    EXPECT_EQ(rows.valueAt(0, 1).toString(), QStringLiteral("AB-1"));
    EXPECT_TRUE(rows.valueAt(0, 2).isNull());
    EXPECT_EQ(rows.valueAt(0, 3).toString(), QStringLiteral("AB-1"));
    EXPECT_TRUE(rows.valueAt(1, 1).isNull());
    EXPECT_EQ(scalar(QStringLiteral("SELECT Employee_ID FROM DB_Users WHERE DB_User_Name = 'clerk'")).toInt(), first);

    // The payroll number is unique now, in any letter case; a new employee of a person is written.
    EXPECT_THROW(
        m_connection->executeStatement(QStringLiteral("INSERT INTO Employees (Payroll_Number) VALUES ('ab-1')")),
        AppError);
    m_connection->executeStatement(QStringLiteral("INSERT INTO People (First_Name, Last_Name) VALUES ('Ada', 'Lane')"));
    m_connection->executeStatement(QStringLiteral("INSERT INTO Employees (Payroll_Number, Person_ID) SELECT 'EF-3', "
                                                  "Person_ID FROM People WHERE Last_Name = 'Lane'"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT Employee FROM vw_Evd_Employees WHERE Employee LIKE 'Lane%'")).toString(),
        QStringLiteral("Lane, Ada (EF-3)"));

    // The table's windows are named on its existing row.
    EXPECT_EQ(scalar(QStringLiteral(
                         "SELECT f.DB_App_Form_Name FROM DB_Tables t JOIN DB_App_Forms f "
                         "ON f.DB_App_Form_ID = t.Multiple_Records_DB_App_Form_ID WHERE t.DB_Table_Name = 'Employees'"))
                  .toString(),
        QStringLiteral("frmEmployees"));
}

// Two employees with one payroll number (in different letter case) cannot both stay under a
// unique index: the upgrade stops and leaves the database as it was.
TEST_F(PeopleMigration, StopsWholeOnAPayrollNumberUsedTwice)
{
    m_connection->executeStatement(QStringLiteral("INSERT INTO Employees (Payroll_Number) VALUES ('X-1'), ('x-1')"));
    EXPECT_THROW(UpgradeSchema(*m_connection), AppError);
    EXPECT_EQ(SchemaVersion(*m_connection), m_before);
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM Employees")).toInt(), 2);
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM pg_tables WHERE tablename = 'people'")).toInt(), 0);
}

} // namespace
