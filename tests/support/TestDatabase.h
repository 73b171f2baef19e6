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

// The base of database fixtures: a fresh database installed as the program's connection.
class DatabaseTest : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override;
    void TearDown() override;
    std::unique_ptr<TestDatabase> m_database;
};
