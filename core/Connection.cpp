#include "core/Connection.h"

#include "core/AppError.h"
#include "core/CommandParser.h"
#include "core/ProcedureArguments.h"
#include "core/ProcedureCatalogue.h"
#include "core/SqliteSession.h"

#include <QSqlError>

#include <pwd.h>
#include <unistd.h>

#include <atomic>

// The connection itself, whatever the engine: command texts and procedure calls, the transaction
// depth, the read-only scope, failures and reconnection. The engines' own halves are
// SqliteConnection.cpp and PostgresConnection.cpp.

namespace {

std::atomic<int> s_connectionSerial { 0 };

bool isNoOpStatement(const QString& statement)
{
    const QString s = statement.simplified().toUpper();
    return s == QLatin1String("SET NOCOUNT ON") || s == QLatin1String("SET NOCOUNT OFF")
        || s == QLatin1String("SET ANSI_DEFAULTS ON") || s == QLatin1String("SET ANSI_DEFAULTS OFF");
}

} // namespace

DatabaseConnection::DatabaseConnection(const ConnectionTarget& target)
    : m_target(target)
    , m_connectionName(QStringLiteral("bramblecot-%1").arg(++s_connectionSerial))
{
}

DatabaseConnection::~DatabaseConnection()
{
    close();
}

QString DatabaseConnection::operatingSystemUser()
{
    if (const passwd* entry = getpwuid(geteuid()))
        return QString::fromLocal8Bit(entry->pw_name);
    return qEnvironmentVariable("USER");
}

std::unique_ptr<DatabaseConnection> DatabaseConnection::open(const ConnectionTarget& target, const Credentials& credentials)
{
    std::unique_ptr<DatabaseConnection> connection(new DatabaseConnection(target));
    connection->m_credentials = credentials;
    try {
        connection->openEngine();
    } catch (...) {
        connection->close();
        throw;
    }
    return connection;
}

std::unique_ptr<DatabaseConnection> DatabaseConnection::openForUpgrade(const ConnectionTarget& target)
{
    std::unique_ptr<DatabaseConnection> connection(new DatabaseConnection(target));
    connection->m_upgrading = true;
    try {
        connection->openEngine();
    } catch (...) {
        connection->close();
        throw;
    }
    return connection;
}

void DatabaseConnection::openEngine()
{
    if (m_target.engine == Engine::PostgreSQL)
        openPostgres(m_credentials);
    else
        openSqlite(m_credentials);
}

void DatabaseConnection::reopen()
{
    close();
    try {
        openEngine();
    } catch (const AppError& error) {
        close();
        // Still lost: the next command tries once more.
        m_lost = true;
        throw AppError(ErrProviderFailure,
            QStringLiteral("The connection to the database was lost and could not be opened again.\r\n")
                + error.description(),
            error.source());
    } catch (...) {
        close();
        m_lost = true;
        throw;
    }
}

QSqlDatabase DatabaseConnection::database() const
{
    return m_db;
}

bool DatabaseConnection::isOpen() const
{
    return m_db.isValid() && m_db.isOpen();
}

void DatabaseConnection::close()
{
    m_prepared.clear();
    closeSqlite();
    if (m_db.isValid() && m_db.isOpen())
        m_db.close();
    m_db = QSqlDatabase();
    if (QSqlDatabase::contains(m_connectionName))
        QSqlDatabase::removeDatabase(m_connectionName);
    m_depth = 0;
    m_doomed = false;
    m_readOnly = false;
    m_engineTransaction = false;
    m_lost = false;
    m_appliedTimeout = -1;
}

void DatabaseConnection::setCommandTimeout(int seconds)
{
    m_timeout = seconds < 0 ? 0 : seconds;
}

void DatabaseConnection::applyTimeout()
{
    if (m_sqlite) {
        startSqliteDeadline();
        return;
    }
    if (m_appliedTimeout == m_timeout)
        return;
    runPostgresCommand(QStringLiteral("SET statement_timeout = %1").arg(static_cast<qint64>(m_timeout) * 1000));
    m_appliedTimeout = m_timeout;
}

void DatabaseConnection::beginReadOnly()
{
    if (m_readOnly)
        RefuseCommand(m_target.engine, QStringLiteral("A read-only scope is already open."));
    if (m_sqlite)
        beginSqliteReadOnly();
    else
        beginPostgresReadOnly();
}

void DatabaseConnection::endReadOnly()
{
    if (!m_readOnly)
        return;
    m_readOnly = false;
    if (m_sqlite) {
        endSqliteReadOnly();
        return;
    }
    // Whatever ran inside is thrown away with the unit, also a unit the statement spoiled.
    while (m_depth > 0)
        rollbackTransaction();
    m_doomed = false;
    if (!m_lost && isOpen())
        resetPostgresSession();
}

void DatabaseConnection::fail(const QSqlError& error, const QString& sql)
{
    Q_UNUSED(sql);
    const Engine engine = m_target.engine;
    QString description = error.databaseText().trimmed();
    const QString driverText = error.driverText().trimmed();
    if (m_sqlite && driverText == QLatin1String("Unable to execute multiple statements at a time")) {
        // The driver refuses a second statement itself; the engine's own text is then "not an error".
        description = QStringLiteral("Only one statement can be sent at a time.");
    } else if (description.isEmpty() || (m_sqlite && description == QLatin1String("not an error"))) {
        description = driverText;
    }
    // The PostgreSQL driver ends the server's text with its SQLSTATE in parentheses, which are
    // empty when the connection broke before the server could say why.
    if (description.endsWith(QLatin1String("()")))
        description = description.chopped(2).trimmed();
    const QString native = error.nativeErrorCode();
    const bool broken = brokenByFailure(native);
    qint32 number = ErrProviderCommand;
    if (sqliteTimedOut() || (engine == Engine::PostgreSQL && native == QLatin1String("57014"))) {
        number = ErrQueryTimeout;
        description = QStringLiteral("Query timeout expired");
    } else if (native == QLatin1String(engine == Engine::PostgreSQL ? "55P03" : "5")) {
        // The lock wait ran out (lock_timeout; SQLite's busy timeout): the engine's words name
        // locks and relations a clerk does not know.
        description = QStringLiteral("The records are locked by another session; try again.");
    } else if (broken || error.type() == QSqlError::ConnectionError || native.startsWith(QLatin1String("08"))) {
        number = ErrProviderFailure;
    }
    if (broken) {
        const bool unitWasOpen = m_engineTransaction || m_depth > 0;
        m_lost = true;
        m_engineTransaction = false;
        if (m_depth > 0)
            m_doomed = true;
        description += QStringLiteral("\r\nThe connection to the database was lost; the next command opens it again.");
        if (unitWasOpen)
            description += QStringLiteral(" The open transaction has been rolled back.");
    }
    const QString source = QString::fromLatin1(FactsOf(engine).errorSource);
    m_errors.push_back({ native, description, source, engine == Engine::PostgreSQL ? native : QString() });
    if (m_engineTransaction) {
        // A failed command spoils the unit (PostgreSQL refuses everything after it, and the
        // engines should not differ): it can only roll back now, so it does at once and holds no
        // lock while the failure is reported.
        m_doomed = true;
        endEngineTransaction(false);
    }
    throw AppError(number, description, source);
}

void DatabaseConnection::requireUsableTransaction()
{
    if (m_lost) {
        if (m_depth > 0) {
            // The server rolled the unit back with the connection; its later commands never run
            // on a new connection, where they would no longer be part of it.
            m_doomed = true;
            RefuseCommand(m_target.engine,
                QStringLiteral("The connection to the database was lost and the open transaction has been rolled back; "
                               "its remaining commands were not run."),
                ErrProviderFailure);
        }
        reopen();
    }
    if (!isOpen())
        RefuseCommand(m_target.engine, QStringLiteral("The connection is closed."), ErrProviderFailure);
    if (m_doomed)
        RefuseCommand(m_target.engine, QStringLiteral("The transaction has been rolled back; its remaining commands were not run."));
}

Recordset DatabaseConnection::execute(const QString& commandText)
{
    const ProcedureCatalogue& catalogue = ProcedureCatalogue::instance();
    const ParsedCommand command = ParseCommandText(commandText, [&catalogue](const QString& name) { return catalogue.contains(name); });
    if (command.kind == ParsedCommand::Kind::Call)
        return call(command.procedureName, command.arguments);
    Recordset result;
    if (isNoOpStatement(command.statement))
        return result;
    if (command.statement.contains(QChar(0)))
        RefuseCommand(m_target.engine,
            QStringLiteral(
                "The command text contains a NUL character, which the database cannot store; nothing was run."));
    requireUsableTransaction();
    if (!m_sqlite) {
        runPostgres(command.statement, {}, result);
        return result;
    }
    applyTimeout();
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!query.exec(command.statement))
        fail(query.lastError(), command.statement);
    readResult(query, result, nullptr);
    return result;
}

Recordset DatabaseConnection::call(const QString& procedureName, const std::vector<ProcedureArgument>& arguments)
{
    const Procedure* procedure = ProcedureCatalogue::instance().find(procedureName);
    if (!procedure)
        RefuseCommand(m_target.engine, QStringLiteral("Could not find stored procedure '%1'.").arg(procedureName));
    std::vector<QVariant> values(procedure->parameters.size());
    std::vector<bool> given(procedure->parameters.size(), false);
    size_t position = 0;
    for (const ProcedureArgument& argument : arguments) {
        // Positional values (the parser leaves them unnamed) take the parameters in declared order.
        int index = 0;
        if (argument.name.isEmpty()) {
            if (position >= procedure->parameters.size())
                RefuseCommand(m_target.engine,
                    QStringLiteral("Procedure or function %1 has too many arguments specified.").arg(procedure->name));
            index = static_cast<int>(position++);
        } else {
            index = procedure->parameterIndex(argument.name);
            if (index < 0)
                RefuseCommand(m_target.engine,
                    QStringLiteral("@%1 is not a parameter for procedure %2.").arg(argument.name, procedure->name));
            if (given[static_cast<size_t>(index)])
                RefuseCommand(m_target.engine, QStringLiteral("Parameter '@%1' was supplied multiple times.").arg(argument.name));
        }
        given[static_cast<size_t>(index)] = true;
        values[static_cast<size_t>(index)] = argument.value;
    }
    return callProcedure(*procedure, values);
}

Recordset DatabaseConnection::callProcedure(const Procedure& procedure, const std::vector<QVariant>& arguments)
{
    std::vector<QVariant> converted(procedure.parameters.size());
    for (size_t i = 0; i < procedure.parameters.size() && i < arguments.size(); ++i) {
        const ProcedureParameter& parameter = procedure.parameters[i];
        converted[i] = ConvertArgument(m_target.engine, parameter.name, arguments[i], parameter.type);
        RefuseNulCharacter(m_target.engine, converted[i], parameter.name);
    }
    requireUsableTransaction();
    if (procedure.native)
        return procedure.native(*this, converted);

    const std::vector<const ProcedureStatement*> statements = procedure.statementsFor(m_target.engine, converted);
    // A procedure of several statements is one unit of work; a read unit when none of them writes.
    const bool ownTransaction = statements.size() > 1 && m_depth == 0;
    if (ownTransaction) {
        bool writes = !m_sqlite;
        for (const ProcedureStatement* statement : statements)
            writes = writes || sqliteWrites(statement->sql);
        beginTransaction(writes ? UnitKind::Write : UnitKind::Read);
    }
    Recordset result;
    try {
        for (const ProcedureStatement* planned : statements) {
            const ProcedureStatement& statement = *planned;
            PreparedStatement& prepared = preparedQuery(statement.sql);
            if (!m_sqlite) {
                std::vector<QVariant> values(statement.parameterOrder.size());
                for (size_t i = 0; i < values.size(); ++i)
                    values[i] = converted[static_cast<size_t>(statement.parameterOrder[i])];
                runPostgres(statement.sql, values, result, &procedure, &prepared);
                continue;
            }
            for (size_t i = 0; i < statement.parameterOrder.size(); ++i)
                prepared.query.bindValue(static_cast<int>(i), converted[static_cast<size_t>(statement.parameterOrder[i])]);
            runQuery(prepared.query, statement.sql, result, &procedure, &prepared.columns);
        }
        if (ownTransaction)
            commitTransaction();
    } catch (...) {
        if (ownTransaction)
            rollbackTransaction();
        throw;
    }
    return result;
}

Recordset DatabaseConnection::executeStatement(const QString& sql, const std::vector<QVariant>& values)
{
    for (const QVariant& value : values)
        RefuseNulCharacter(m_target.engine, value, QString());
    requireUsableTransaction();
    Recordset result;
    if (!m_sqlite) {
        runPostgres(sql, values, result);
        return result;
    }
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (values.empty()) {
        // Statements without values run as they are.
        applyTimeout();
        if (!query.exec(sql))
            fail(query.lastError(), sql);
        readResult(query, result, nullptr);
        return result;
    }
    if (!query.prepare(sql))
        fail(query.lastError(), sql);
    for (size_t i = 0; i < values.size(); ++i)
        query.bindValue(static_cast<int>(i), values[i]);
    runQuery(query, sql, result, nullptr);
    return result;
}

DatabaseConnection::PreparedStatement& DatabaseConnection::preparedQuery(const QString& sql)
{
    auto it = m_prepared.find(sql);
    if (it != m_prepared.end())
        return *it->second;
    if (!m_sqlite)
        return *m_prepared.emplace(sql, preparePostgres(sql)).first->second;
    auto prepared = std::make_unique<PreparedStatement>(PreparedStatement { QSqlQuery(m_db), std::nullopt, {} });
    prepared->query.setForwardOnly(true);
    if (!prepared->query.prepare(sql))
        fail(prepared->query.lastError(), sql);
    return *m_prepared.emplace(sql, std::move(prepared)).first->second;
}

void DatabaseConnection::beginTransaction(UnitKind kind)
{
    if (m_depth == 0) {
        m_doomed = false;
        requireUsableTransaction();
        const QString begin
            = QString::fromLatin1(kind == UnitKind::Write ? facts().beginWriteSql : facts().beginReadSql);
        applyTimeout();
        if (m_sqlite) {
            QSqlQuery query(m_db);
            if (!query.exec(begin))
                fail(query.lastError(), begin);
        } else {
            runPostgresCommand(begin);
        }
        m_engineTransaction = true;
        m_doomed = false;
    }
    ++m_depth;
}

void DatabaseConnection::endEngineTransaction(bool commit)
{
    if (!m_engineTransaction)
        return;
    m_engineTransaction = false;
    if (!m_sqlite) {
        endPostgresTransaction(commit);
        return;
    }
    QSqlDatabase db = database();
    if (!db.isOpen())
        return;
    if (!commit) {
        db.rollback();
        return;
    }
    if (!db.commit()) {
        const QSqlError error = db.lastError();
        db.rollback();
        fail(error, QStringLiteral("COMMIT"));
    }
}

void DatabaseConnection::commitTransaction()
{
    if (m_depth == 0)
        return;
    if (m_doomed) {
        if (--m_depth == 0) {
            endEngineTransaction(false);
            m_doomed = false;
        }
        RefuseCommand(m_target.engine, QStringLiteral("The transaction has been rolled back; nothing was committed."));
    }
    if (m_depth > 1) {
        --m_depth;
        return;
    }
    m_depth = 0;
    endEngineTransaction(true);
}

void DatabaseConnection::rollbackTransaction()
{
    if (m_depth == 0)
        return;
    endEngineTransaction(false);
    --m_depth;
    m_doomed = m_depth > 0;
}
