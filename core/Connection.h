#pragma once

#include "core/EngineFacts.h"
#include "core/Recordset.h"

#include <QElapsedTimer>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

class PostgresClient;
struct Procedure;
struct ProcedureArgument;
struct pg_conn;

// One error the engine reported, as the error dialog lists them.
struct ProviderError {
    QString number;
    QString description;
    QString source;
    QString sqlState;
};

// Where a database lies: the engine, the server text of Settings.xml and the database name.
struct ConnectionTarget {
    Engine engine = Engine::SQLite;
    QString server;
    QString databaseName;
};

struct Credentials {
    bool trusted = true;
    QString userName;
    QString password;
};

// What a unit of work will do. The transaction routines the program writes with begin write units;
// a procedure whose statements only read runs its own unit as a read unit.
enum class UnitKind { Write = 0, Read = 1 };

// The one connection of the program to one database: it runs command texts (procedure calls
// through the catalogue, or one plain statement), keeps the transaction depth, the command
// timeout and the engine's error list. Everything runs on the user-interface thread.
class DatabaseConnection {
public:
    // Opens the database and logs on. An embedded database that does not exist yet is created
    // with its starting data, the operating-system user as its first administrator; an older one
    // is brought up to date. Throws AppError with the engine's text when anything fails.
    static std::unique_ptr<DatabaseConnection> open(const ConnectionTarget& target, const Credentials& credentials);
    // Opens with the trusted log-on without refusing an out-of-date server schema, so its owner
    // can bring it up to date.
    static std::unique_ptr<DatabaseConnection> openForUpgrade(const ConnectionTarget& target);
    ~DatabaseConnection();
    DatabaseConnection(const DatabaseConnection&) = delete;
    DatabaseConnection& operator=(const DatabaseConnection&) = delete;

    Engine engine() const { return m_target.engine; }
    const EngineFacts& facts() const { return FactsOf(m_target.engine); }
    const ConnectionTarget& target() const { return m_target; }
    QSqlDatabase database() const;
    bool isOpen() const;
    void close();

    // The log-in of the connection, the client host and the database's own name (DB_NAME()).
    QString loginName() const { return m_loginName; }
    QString hostName() const { return m_hostName; }
    QString databaseCode() const { return m_databaseCode; }

    // Runs a command text; the result holds every result set it gave (none: not open).
    Recordset execute(const QString& commandText);
    // Runs a catalogue procedure with named (or leading positional) arguments, the values of an
    // EXEC text once parsed: an unknown procedure or parameter is refused with the server's message,
    // omitted parameters are NULL, and the values are converted to the declared types and bound.
    Recordset call(const QString& procedureName, const std::vector<ProcedureArgument>& arguments);
    // Runs a catalogue procedure with its arguments in parameter order.
    Recordset callProcedure(const Procedure& procedure, const std::vector<QVariant>& arguments);
    // Runs one statement of the program's own, with positional "?" values bound.
    Recordset executeStatement(const QString& sql, const std::vector<QVariant>& values = {});

    // Transactions nest by depth: only the outermost begin and commit reach the engine; a rollback
    // at any depth rolls the whole unit back, and the enclosing levels can then only roll back.
    // A failure that spoils the unit on the engine rolls it back at once, so no lock is held while
    // the failure is reported.
    void beginTransaction(UnitKind kind = UnitKind::Write);
    void commitTransaction();
    void rollbackTransaction();
    int transactionDepth() const { return m_depth; }

    // Read-only scope: while it is open, nothing a command does can change the database. PostgreSQL
    // runs it as one read-only transaction, rolled back at the end (it begins only outside a
    // transaction); SQLite sets query_only for its duration and refuses pragmas and attached files.
    // A refused write fails with the engine's own message. ReadOnlyScope is the guard to use.
    void beginReadOnly();
    void endReadOnly();
    bool isReadOnly() const { return m_readOnly; }

    // How long a command waits for a lock another session holds (a table locked by hand, a long
    // unit of work) before it gives up with "The records are locked by another session; try
    // again.": long enough for another clerk's save to end, short enough for a clerk to wait.
    static constexpr int LockWaitSeconds = 5;

    // Seconds; 0 waits for ever.
    int commandTimeout() const { return m_timeout; }
    void setCommandTimeout(int seconds);

    std::vector<ProviderError>& providerErrors() { return m_errors; }

    // A server connection that broke (the server restarted, the session was ended) is reported
    // once by the command that found it broken; the next command opens it again, once, with the
    // same log-on. Commands of a unit that was open then are refused: the server rolled it back.
    bool connectionLost() const { return m_lost; }

    // Operating-system user name of this process.
    static QString operatingSystemUser();

private:
    // Prepared procedure statements with the column descriptions of their results, which a
    // prepared statement cannot change. SQLite keeps a prepared query; PostgreSQL a statement
    // prepared on the server under its name.
    struct PreparedStatement {
        QSqlQuery query;
        std::optional<std::vector<Recordset::Column>> columns;
        QByteArray serverName;
    };

    DatabaseConnection(const ConnectionTarget& target);
    void openEngine();
    void reopen();
    void applyTimeout();
    [[noreturn]] void fail(const QSqlError& error, const QString& sql);
    PreparedStatement& preparedQuery(const QString& sql);
    void requireUsableTransaction();
    bool brokenByFailure(const QString& sqlState) const;
    void endEngineTransaction(bool commit);

    // SQLite (SqliteConnection.cpp): the database file, the session functions, the deadline of a
    // command, statistics, the read-only scope; statements run as Qt SQL queries.
    void openSqlite(const Credentials& credentials);
    void registerSqliteFunctions();
    void closeSqlite();
    void startSqliteDeadline();
    bool sqliteTimedOut() const;
    bool sqliteWrites(const QString& sql) const;
    void beginSqliteReadOnly();
    void endSqliteReadOnly();
    void runQuery(QSqlQuery& query, const QString& sql, Recordset& result, const Procedure* declared,
                  std::optional<std::vector<Recordset::Column>>* columnCache = nullptr);
    void readResult(QSqlQuery& query, Recordset& result, const Procedure* declared,
                    std::optional<std::vector<Recordset::Column>>* columnCache = nullptr);
    void readRows(QSqlQuery& query, Recordset& result, const std::vector<Recordset::Column>& columns);

    // PostgreSQL (PostgresConnection.cpp): every statement goes to the server on the driver's own
    // connection through the client library, one statement per call, its values as parameters.
    void openPostgres(const Credentials& credentials);
    // The settings every session of the program works with (after the log-on, and again after a
    // read-only scope has reset whatever its statement set).
    void setPostgresSession();
    // Ends what a read-only scope's statement may have left in the session beyond its unit.
    void resetPostgresSession();
    pg_conn* postgresConnection() const;
    void runPostgres(const QString& sql, const std::vector<QVariant>& values, Recordset& result,
        const Procedure* declared = nullptr, PreparedStatement* prepared = nullptr);
    void runPostgresCommand(const QString& sql);
    std::unique_ptr<PreparedStatement> preparePostgres(const QString& sql);
    void endPostgresTransaction(bool commit);
    void beginPostgresReadOnly();

    ConnectionTarget m_target;
    Credentials m_credentials;
    QString m_connectionName;
    QString m_loginName;
    QString m_hostName;
    QString m_databaseCode;
    bool m_upgrading = false;
    int m_depth = 0;
    bool m_doomed = false;
    bool m_engineTransaction = false;
    bool m_lost = false;
    bool m_readOnly = false;
    int m_timeout = 30;
    int m_appliedTimeout = -1;
    std::vector<ProviderError> m_errors;
    std::unordered_map<QString, std::unique_ptr<PreparedStatement>> m_prepared;
    QSqlDatabase m_db;
    PostgresClient* m_postgres = nullptr;

public:
    // State the SQLite session functions and progress handler read.
    struct SqliteSession;

private:
    std::unique_ptr<SqliteSession> m_sqlite;
};

// Opens a read-only scope on the connection for its own lifetime.
class ReadOnlyScope {
public:
    explicit ReadOnlyScope(DatabaseConnection& connection)
        : m_connection(connection)
    {
        m_connection.beginReadOnly();
    }
    ~ReadOnlyScope() { m_connection.endReadOnly(); }
    ReadOnlyScope(const ReadOnlyScope&) = delete;
    ReadOnlyScope& operator=(const ReadOnlyScope&) = delete;

private:
    DatabaseConnection& m_connection;
};
