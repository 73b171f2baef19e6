#pragma once

#include "core/ProcedureCall.h"
#include "core/Recordset.h"

#include <QString>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>

class DatabaseConnection;

// The program's one connection and the routines every window reads and writes the database with.

// The connection of the current log-on, or nothing before the first log-on and after a failed one.
DatabaseConnection* DBConnection();
// Installs a connection (tests, tools); the previous one is closed.
void SetDBConnection(std::unique_ptr<DatabaseConnection> connection);
// Changes whenever the program's connection is set or closed: what was read on one connection
// (a kept list) is known not to belong to the next.
quint64 DBConnectionSerial();

bool InTransaction();
bool TrustedConnection();
QString UserName();
QString HostName();

// Opens the database at the 1-based index of DBList and logs on; the empty text on success,
// otherwise the text to show the user ("Invalid User.", or "SQL Server Login Failed." + CR LF +
// the engine's text). A failure leaves no connection.
QString OpenConnection(int databaseIndex, bool trusted, const QString& userName, const QString& password);
void CloseConnection();

// Runs the SQL text and returns its result; on failure shows the error dialog and returns nothing.
std::unique_ptr<Recordset> OpenRecordset(const QString& sql, bool useTransaction = false);
// The same as an action ("Open Recordset"): the failure is reported once by the outermost action.
bool Act_OpenRecordset(std::unique_ptr<Recordset>& recordset, const QString& sql);
void CloseRecordset(std::unique_ptr<Recordset>& recordset);

// The first column of the first row (texts trimmed); nothing when there is no row or the query
// failed, which is not the same as NULL (a null QVariant).
std::optional<QVariant> GetSQLValue(const QString& sql);

QString NullToString(const QVariant& value);
QVariant NullToZero(const QVariant& value);

bool Act_ExecuteSQL(const QString& sql);

// Catalogue procedures called with named, typed values (core/ProcedureCall.h), over the path an
// EXEC text takes once parsed: an unknown procedure or parameter is refused with the same message,
// and the values are bound, never formatted into SQL. Each behaves as its text counterpart above
// (OpenRecordset, Act_OpenRecordset, GetSQLValue, Act_ExecuteSQLTrans); the error dialog and the
// command observer see the call as its EXEC text.
std::unique_ptr<Recordset> CallProcedure(const QString& procedure, const ProcedureArguments& arguments);
bool Act_CallProcedure(std::unique_ptr<Recordset>& recordset, const QString& procedure, const ProcedureArguments& arguments);
std::optional<QVariant> GetProcedureValue(const QString& procedure, const ProcedureArguments& arguments);
bool Act_CallProcedureTrans(const QString& procedure, const ProcedureArguments& arguments);

// Sees every command text the routines above send, before it runs (a log, or a test's witness).
void SetCommandObserver(std::function<void(const QString&)> observer);
bool Act_ExecuteSQLTrans(const QString& sql);

// Transactions nest by depth (only the outermost begin and commit reach the engine); a rollback
// at any depth rolls the whole unit back.
void DBBeginTrans();
void DBCommitTrans();
void DBRollbackTrans();

class TransactionGuard;

// Rolls back unless committed: the scope guard around a unit of work on the program's connection
// (TransactionGuard, core/TransactionGuard.h, on any other connection).
class TransactionScope {
public:
    TransactionScope();
    ~TransactionScope();
    TransactionScope(const TransactionScope&) = delete;
    TransactionScope& operator=(const TransactionScope&) = delete;
    void commit();

private:
    std::unique_ptr<TransactionGuard> m_unit;
};

// While one lives, a command of the routines above that finds the server connection broken
// (outside a transaction) runs once more on the connection the layer opens again, instead of
// failing. Only for commands that may run twice: reads, and an update whose WHERE clause requires
// the values it expects to replace. Scopes nest.
class RerunAfterReconnect {
public:
    RerunAfterReconnect();
    ~RerunAfterReconnect();
    RerunAfterReconnect(const RerunAfterReconnect&) = delete;
    RerunAfterReconnect& operator=(const RerunAfterReconnect&) = delete;
    // Whether a command ran once more within this scope: its first run's answer was lost with
    // the connection, so whatever it changed may have been stored already.
    bool reran() const;

private:
    int m_rerunsBefore;
};
