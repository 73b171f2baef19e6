#include "support/TestDatabase.h"

#include "core/Database.h"
#include "core/DatabaseList.h"
#include "core/LoginAdministration.h"
#include "core/Logins.h"
#include "core/Schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

#include <atomic>

namespace {
std::atomic<int> s_serial { 0 };

bool postgresAvailable()
{
    return !qEnvironmentVariableIsEmpty("PGHOST") && !qEnvironmentVariableIsEmpty("PGPORT");
}

QString socketServer()
{
    return qEnvironmentVariable("PGHOST") + QLatin1Char(':') + qEnvironmentVariable("PGPORT");
}

QString tcpServer()
{
    return QStringLiteral("127.0.0.1:") + qEnvironmentVariable("PGPORT");
}

std::vector<QString>& createdRoles()
{
    static std::vector<QString> roles;
    return roles;
}
} // namespace

void ClusterExec(const QStringList& statements)
{
    const QString name = QStringLiteral("cluster-admin-%1").arg(++s_serial);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(qEnvironmentVariable("PGHOST"));
        db.setPort(qEnvironmentVariable("PGPORT").toInt());
        db.setDatabaseName(QStringLiteral("postgres"));
        if (!db.open())
            throw std::runtime_error(db.lastError().text().toStdString());
        for (const QString& statement : statements) {
            QSqlQuery query(db);
            if (!query.exec(statement))
                throw std::runtime_error((statement + QStringLiteral(": ") + query.lastError().text()).toStdString());
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

QString SchemaToken(Engine engine, const QString& token)
{
    for (const auto& [key, value] : FactsOf(engine).schemaTokens) {
        if (key == token)
            return value;
    }
    return {};
}

std::vector<Engine> TestEngines()
{
    // Both engines always, so the tests found at build time are the tests run; RequireEngine()
    // skips PostgreSQL where no cluster runs.
    return { Engine::SQLite, Engine::PostgreSQL };
}

bool RequireEngine(Engine engine)
{
    if (engine != Engine::PostgreSQL || postgresAvailable())
        return true;
    if (!qEnvironmentVariableIsEmpty("BRAMBLECOT_REQUIRE_PG"))
        ADD_FAILURE() << "BRAMBLECOT_REQUIRE_PG is set but no PostgreSQL cluster is running (PGHOST/PGPORT)";
    return false;
}

void PrintTo(Engine engine, std::ostream* out)
{
    *out << (engine == Engine::PostgreSQL ? "PostgreSQL" : "SQLite");
}

std::string EngineTestName(const ::testing::TestParamInfo<Engine>& info)
{
    return info.param == Engine::PostgreSQL ? "PostgreSQL" : "SQLite";
}

TestDatabase::TestDatabase(Engine engine)
{
    m_target.engine = engine;
    const int serial = ++s_serial;
    if (engine == Engine::SQLite) {
        m_folder = QDir::temp().filePath(QStringLiteral("bramblecot-test-%1-%2").arg(QCoreApplication::applicationPid()).arg(serial));
        QDir().mkpath(m_folder);
        m_target.server = QStringLiteral("(local)");
        m_target.databaseName = m_folder + QStringLiteral("/test.db");
        // The first trusted log-on creates the database with the OS user as administrator.
        DatabaseConnection::open(m_target, Credentials {});
        return;
    }
    m_target.server = socketServer();
    m_target.databaseName = QStringLiteral("bramblecot_test_%1_%2").arg(QCoreApplication::applicationPid()).arg(serial);
    ClusterExec({ QStringLiteral("CREATE DATABASE %1").arg(m_target.databaseName) });
    auto connection = DatabaseConnection::openForUpgrade(m_target);
    UpgradeSchema(*connection);
    CreateFirstAdministrator(*connection, connection->loginName(), QString());
}

TestDatabase::~TestDatabase()
{
    if (m_target.engine == Engine::SQLite) {
        QDir(m_folder).removeRecursively();
        return;
    }
    try {
        QStringList statements { QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_target.databaseName) };
        for (const QString& role : createdRoles())
            statements << QStringLiteral("DROP ROLE IF EXISTS %1").arg(role);
        createdRoles().clear();
        // The database's group roles outlive it: roles belong to the whole cluster.
        statements << QStringLiteral("DROP ROLE IF EXISTS %1_admins").arg(m_target.databaseName)
                   << QStringLiteral("DROP ROLE IF EXISTS %1_users").arg(m_target.databaseName);
        ClusterExec(statements);
    } catch (const std::exception&) {
    }
}

void TestDatabase::registerAsCurrent() const
{
    DatabaseEntry entry;
    entry.Server = m_target.server;
    entry.DatabaseName = m_target.databaseName;
    entry.EngineName = QString::fromLatin1(FactsOf(m_target.engine).name);
    entry.DisplayName = entry.DatabaseName + QStringLiteral(" on ") + entry.Server;
    DBList() = { entry };
    CurrentDB() = 1;
}

std::unique_ptr<DatabaseConnection> TestDatabase::connect(const Credentials& credentials) const
{
    ConnectionTarget target = m_target;
    if (m_target.engine == Engine::PostgreSQL && !credentials.trusted)
        target.server = tcpServer(); // password log-ons go over TCP; the socket is for peer log-on
    return DatabaseConnection::open(target, credentials);
}

void TestDatabase::createLogin(const QString& name, const QString& password, bool sysAdmin) const
{
    auto connection = DatabaseConnection::open(m_target, Credentials {});
    if (m_target.engine == Engine::PostgreSQL) {
        // As the schema owner adds a log-in: the role, its group membership and its user row.
        const QString role = name.toLower();
        ClusterExec({ QStringLiteral("DROP ROLE IF EXISTS %1").arg(role) });
        createdRoles().push_back(role);
        CreateServerLogin(*connection, role, password, sysAdmin);
        connection->executeStatement(QStringLiteral("UPDATE DB_Users SET DB_Last_Name = ?, DB_First_Name = ? WHERE DB_User_Name = ?"),
                                     { name, QStringLiteral("Test"), role });
        return;
    }
    connection->executeStatement(QStringLiteral("INSERT INTO DB_Logins(Login_Name, Password_Hash) VALUES (?, ?)"),
                                 { name, HashPassword(password) });
    connection->executeStatement(QStringLiteral("INSERT INTO DB_Users(DB_User_Name, DB_Last_Name, DB_First_Name, DB_Sys_Admin) "
                                                "VALUES (?, ?, ?, ?)"),
                                 { name, name, QStringLiteral("Test"), sysAdmin ? 1 : 0 });
}

void DatabaseTest::SetUp()
{
    if (!RequireEngine(GetParam()))
        GTEST_SKIP() << "no PostgreSQL cluster is running";
    if (QString::fromLatin1(::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name())
            .startsWith(QLatin1String("Clerk/")))
        logOn = TestLogOn::Clerk;
    m_database = std::make_unique<TestDatabase>(GetParam());
    m_database->registerAsCurrent();
    if (!loggedOnAsLogin()) {
        SetDBConnection(m_database->connect());
        return;
    }
    // Role names are the cluster's: the database's own name keeps them apart.
    m_loginName = m_database->target().databaseName + (logOn == TestLogOn::Clerk ? QStringLiteral("_clerk")
                                                                                 : QStringLiteral("_admin"));
    const QString password = QStringLiteral("Pass'1word");
    m_database->createLogin(m_loginName, password, logOn == TestLogOn::Administrator);
    // A password log-on goes over TCP; a reopened connection takes the same way.
    DBList()[0].Server = tcpServer();
    SetDBConnection(m_database->connect(Credentials { false, m_loginName, password }));
}

bool DatabaseTest::loggedOnAsLogin() const
{
    return logOn != TestLogOn::Owner && m_database && m_database->engine() == Engine::PostgreSQL;
}

DatabaseConnection& DatabaseTest::owner()
{
    if (!m_owner)
        m_owner = m_database->connect();
    return *m_owner;
}

void DatabaseTest::permitLogin(const QStringList& tables)
{
    if (!loggedOnAsLogin())
        return;
    for (const QString& table : tables) {
        owner().executeStatement(
            QStringLiteral("INSERT INTO DB_Table_Permissions (DB_User_ID, DB_Table_ID, DB_Table_Action_ID, DB_Permission) "
                           "SELECT u.DB_User_ID, t.DB_Table_ID, a.DB_Table_Action_ID, 1 "
                           "FROM DB_Users u, DB_Tables t, DB_Table_Actions a "
                           "WHERE u.DB_User_Name = ? AND t.DB_Table_Name = ? AND a.DB_Table_Action_Name <> 'View'"),
            { m_loginName.toLower(), table });
    }
}

void DatabaseTest::permitLoginActions(const QStringList& actions)
{
    if (!loggedOnAsLogin())
        return;
    for (const QString& action : actions) {
        owner().executeStatement(QStringLiteral("INSERT INTO DB_Action_Permissions (DB_User_ID, DB_Action_ID, DB_Permission) "
                                                "SELECT u.DB_User_ID, a.DB_Action_ID, 1 FROM DB_Users u, DB_Actions a "
                                                "WHERE u.DB_User_Name = ? AND a.DB_Action_Name = ?"),
            { m_loginName.toLower(), action });
    }
}

void DatabaseTest::permitLoginReports(const QStringList& reports)
{
    if (!loggedOnAsLogin())
        return;
    for (const QString& report : reports) {
        owner().executeStatement(QStringLiteral("INSERT INTO DB_Report_Permissions (DB_User_ID, DB_Report_ID, DB_Permission) "
                                                "SELECT u.DB_User_ID, r.DB_Report_ID, 1 FROM DB_Users u, DB_Reports r "
                                                "WHERE u.DB_User_Name = ? AND r.DB_Report_Name = ?"),
            { m_loginName.toLower(), report });
    }
}

void DatabaseTest::TearDown()
{
    if (!m_database)
        return;
    CloseConnection();
    SetDBConnection(nullptr);
    m_owner.reset();
    m_database.reset();
    m_loginName.clear();
    DBList().clear();
    CurrentDB() = 0;
}
