#pragma once

#include "core/Connection.h"
#include "core/EngineFacts.h"

#include <QString>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

// The engines a database test runs on: SQLite always; PostgreSQL when the test script started its
// throwaway cluster (PGHOST). Where BRAMBLECOT_REQUIRE_PG is set a missing cluster fails.
std::vector<Engine> TestEngines();
// False (and a failure where BRAMBLECOT_REQUIRE_PG is set) when the engine cannot be tested here.
bool RequireEngine(Engine engine);
void PrintTo(Engine engine, std::ostream* out);
std::string EngineTestName(const ::testing::TestParamInfo<Engine>& info);

// Runs administrative statements on the test cluster's maintenance database, as its superuser.
void ClusterExec(const QStringList& statements);

// How the engine writes a schema type token ("{ID}", "{NAME}", "{BIT}"...), for a test's own tables.
QString SchemaToken(Engine engine, const QString& token);

// A fresh database of the schema's latest version, made by the production migrations; the
// operating-system user is its first administrator. Dropped again when destroyed.
class TestDatabase {
public:
    explicit TestDatabase(Engine engine);
    ~TestDatabase();

    Engine engine() const { return m_target.engine; }
    const ConnectionTarget& target() const { return m_target; }
    // Makes the database the only entry of DBList and the current one.
    void registerAsCurrent() const;
    // Opens a connection of its own with the given log-on.
    std::unique_ptr<DatabaseConnection> connect(const Credentials& credentials = {}) const;
    // Creates a log-in with a password (a PostgreSQL role made as Bramblecot_Main --add-user makes
    // it, or an embedded log-in) and its user row.
    void createLogin(const QString& name, const QString& password, bool sysAdmin = false) const;

private:
    ConnectionTarget m_target;
    QString m_folder;
};

// Who a database fixture's program connection is logged on as.
enum class TestLogOn {
    Owner = 0, // the operating-system account: the schema owner and first administrator
    Clerk = 1, // on PostgreSQL a log-in made as --add-user makes it, logged on with its password
    Administrator = 2, // the same with DB_Sys_Admin
};

// The base of database fixtures: a fresh database installed as the program's connection.
// A fixture that sets logOn in its constructor runs as a clerk or an administrator on PostgreSQL,
// where the server guards every statement; on SQLite (one account, advisory permissions) it runs as
// the owner, as every other fixture does. An instantiation named "Clerk" (INSTANTIATE_CLERK_SUITE)
// runs a suite's tests once more on PostgreSQL with a clerk's log-in.
class DatabaseTest : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override;
    void TearDown() override;

    // Whether the program's connection is a clerk's or an administrator's log-in (PostgreSQL only).
    bool loggedOnAsLogin() const;
    // The log-in's name ("" for the owner).
    const QString& loginName() const { return m_loginName; }
    // A connection as the owner, for the rows a test needs before the program's part: on PostgreSQL
    // a clerk may not write them, and the windows must not see them written by the clerk.
    DatabaseConnection& owner();
    // Gives the log-in Add, Edit and Delete on the tables (DB_Table_Names) through the program's own
    // permission rows, as an administrator gives them in the permission windows.
    void permitLogin(const QStringList& tables);
    // Gives the log-in the actions (DB_Action_Name) and reports (DB_Report_Name) the same way.
    void permitLoginActions(const QStringList& actions);
    void permitLoginReports(const QStringList& reports);

    TestLogOn logOn = TestLogOn::Owner;
    std::unique_ptr<TestDatabase> m_database;

private:
    QString m_loginName;
    std::unique_ptr<DatabaseConnection> m_owner;
};

// Runs every test of a DatabaseTest suite once more on PostgreSQL, logged on as a clerk made as
// --add-user makes one: the windows then meet the server's grants and guards as a user does.
#define INSTANTIATE_CLERK_SUITE(Suite)                                                                                 \
    INSTANTIATE_TEST_SUITE_P(Clerk, Suite, ::testing::Values(Engine::PostgreSQL), EngineTestName)
