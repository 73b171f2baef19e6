#include "core/Connection.h"

#include "core/AppError.h"
#include "core/AppInfo.h"
#include "core/PostgresClient.h"
#include "core/ProcedureArguments.h"
#include "core/ProcedureCatalogue.h"
#include "core/Schema.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSysInfo>

#include <atomic>

// The server's half of DatabaseConnection: the log-on through the Qt driver, then every statement
// on the driver's own connection through the client library (PostgresClient, loaded with the
// first connection), one statement per call, its values as parameters.

namespace {
std::atomic<int> s_statementSerial { 0 };
}

void DatabaseConnection::openPostgres(const Credentials& credentials)
{
    // The client library comes with the first PostgreSQL connection.
    m_postgres = &RequirePostgresClient();
    QString host = m_target.server.trimmed();
    int port = -1;
    const qsizetype colon = host.lastIndexOf(QLatin1Char(':'));
    if (colon > 0) {
        bool ok = false;
        const int parsed = host.mid(colon + 1).toInt(&ok);
        if (ok) {
            port = parsed;
            host = host.left(colon);
        }
    }
    m_db = QSqlDatabase::addDatabase(QString::fromLatin1(FactsOf(Engine::PostgreSQL).driver), m_connectionName);
    QSqlDatabase& db = m_db;
    if (!host.isEmpty() && host.compare(QLatin1String("(local)"), Qt::CaseInsensitive) != 0)
        db.setHostName(host);
    if (port > 0)
        db.setPort(port);
    db.setDatabaseName(m_target.databaseName.trimmed());
    if (!credentials.trusted) {
        // Log-in names are folded to lower case, as the roles are created.
        db.setUserName(credentials.userName.trimmed().toLower());
        db.setPassword(credentials.password);
    }
    // The program's statements are small and indexed; JIT compiling their plans cost far more than
    // running them, so its sessions never compile.
    db.setConnectOptions(QStringLiteral("connect_timeout=30;application_name=%1;options='-c jit=off'").arg(ApplicationTitle()));
    if (!db.open()) {
        const QSqlError error = db.lastError();
        RefuseCommand(Engine::PostgreSQL, error.databaseText().trimmed().isEmpty() ? error.text().trimmed() : error.databaseText().trimmed(),
               ErrProviderFailure);
    }
    m_hostName = QSysInfo::machineHostName();
    setPostgresSession();
    Recordset facts = executeStatement(QStringLiteral("SELECT session_user, current_database()"));
    m_loginName = facts.valueAt(0, 0).toString();
    m_databaseCode = facts.valueAt(0, 1).toString();
    const int version = SchemaVersion(*this);
    if (version != LatestSchemaVersion() && !(m_upgrading && version < LatestSchemaVersion()))
        RefuseCommand(Engine::PostgreSQL,
               QStringLiteral("The database %1 has schema version %2; this program needs version %3. "
                              "The schema owner brings it up to date with: Bramblecot_Main --upgrade-schema")
                   .arg(m_databaseCode)
                   .arg(version)
                   .arg(LatestSchemaVersion()),
               ErrProviderFailure);
}

void DatabaseConnection::setPostgresSession()
{
    m_appliedTimeout = -1;
    // Notices ("... does not exist, skipping") are the server talking to itself.
    executeStatement(QStringLiteral("SET client_min_messages = warning"));
    executeStatement(QStringLiteral("SELECT set_config('bramblecot.host', ?, false)"), { m_hostName });
    // A table locked by another session (by hand, through psql) must not hold a clerk's step for
    // as long as the command timeout allows: the wait ends and is reported in plain words. The
    // command timeout stays the statement_timeout (applyTimeout).
    executeStatement(QStringLiteral("SET lock_timeout = '%1s'").arg(LockWaitSeconds));
}

void DatabaseConnection::resetPostgresSession()
{
    // The unit was rolled back, which undoes the settings it made; advisory locks taken for the
    // session outlive it, and RESET ALL leaves no setting of the statement's whatever the way it
    // was made. The session's own settings then come back.
    try {
        runPostgresCommand(QStringLiteral("SELECT pg_advisory_unlock_all()"));
        runPostgresCommand(QStringLiteral("RESET ALL"));
        setPostgresSession();
    } catch (const AppError&) {
        // A session that could not be cleaned is not used again: the next command opens another.
        m_errors.clear();
        close();
        m_lost = true;
    }
}

pg_conn* DatabaseConnection::postgresConnection() const
{
    if (!isOpen() || !m_postgres)
        return nullptr;
    return PostgresHandle(m_db.driver()->handle());
}

void DatabaseConnection::runPostgresCommand(const QString& sql)
{
    pg_conn* connection = postgresConnection();
    if (!connection)
        RefuseCommand(m_target.engine, QStringLiteral("The connection is closed."), ErrProviderFailure);
    Recordset ignored;
    const QSqlError error = m_postgres->run(connection, sql, {}, {}, nullptr, nullptr, ignored);
    if (error.isValid())
        fail(error, sql);
}

void DatabaseConnection::runPostgres(const QString& sql, const std::vector<QVariant>& values, Recordset& result,
    const Procedure* declared, PreparedStatement* prepared)
{
    pg_conn* connection = postgresConnection();
    if (!connection)
        RefuseCommand(m_target.engine, QStringLiteral("The connection is closed."), ErrProviderFailure);
    applyTimeout();
    // A text of more than one statement is refused by the server itself: the extended protocol
    // takes exactly one.
    const QSqlError error = m_postgres->run(connection, sql, values, prepared ? prepared->serverName : QByteArray(),
        declared && !declared->columnTypes.isEmpty() ? &declared->columnTypes : nullptr,
        prepared ? &prepared->columns : nullptr, result);
    if (error.isValid())
        fail(error, sql);
}

std::unique_ptr<DatabaseConnection::PreparedStatement> DatabaseConnection::preparePostgres(const QString& sql)
{
    pg_conn* connection = postgresConnection();
    if (!connection)
        RefuseCommand(m_target.engine, QStringLiteral("The connection is closed."), ErrProviderFailure);
    auto prepared = std::make_unique<PreparedStatement>();
    prepared->serverName = QByteArrayLiteral("bramblecot_") + QByteArray::number(++s_statementSerial);
    const QSqlError error = m_postgres->prepare(connection, prepared->serverName, sql);
    if (error.isValid())
        fail(error, sql);
    return prepared;
}

void DatabaseConnection::endPostgresTransaction(bool commit)
{
    pg_conn* connection = postgresConnection();
    if (!connection)
        return;
    const QSqlError error = m_postgres->endTransaction(connection, commit);
    if (error.isValid())
        fail(error, QStringLiteral("COMMIT"));
}

void DatabaseConnection::beginPostgresReadOnly()
{
    // A unit of work already open could not be made read-only after its first statement.
    if (m_depth > 0)
        RefuseCommand(m_target.engine, QStringLiteral("A read-only scope cannot begin inside a transaction."));
    beginTransaction(UnitKind::Read);
    m_readOnly = true;
    try {
        runPostgresCommand(QStringLiteral("SET TRANSACTION READ ONLY"));
        // The first query takes the unit's snapshot; after it the server refuses to switch the
        // unit back to read-write, so a typed "SET TRANSACTION READ WRITE" cannot lift the scope.
        runPostgresCommand(QStringLiteral("SELECT 1"));
    } catch (...) {
        endReadOnly();
        throw;
    }
}

bool DatabaseConnection::brokenByFailure(const QString& sqlState) const
{
    if (!facts().serverConnection)
        return false;
    // Class 08 is a broken connection; 57P* the server ending the session (shut down, restarted,
    // terminated by an administrator, database dropped).
    if (sqlState.startsWith(QLatin1String("08")) || sqlState.startsWith(QLatin1String("57P")))
        return true;
    if (!m_db.isValid() || !m_db.isOpen())
        return true;
    pg_conn* connection = postgresConnection();
    if (!connection)
        return false;
    // A failure without an SQLSTATE did not come from the server. When the server went without a
    // word (an immediate restart) the client first fails to send and says so, while the
    // connection still counts as good until it reads the end of the stream: the client reads it
    // now, so the command that found the connection broken is the one that says so.
    return m_postgres->isBroken(connection, sqlState.isEmpty());
}
