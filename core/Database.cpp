#include "core/Database.h"

#include "core/Actions.h"
#include "core/AppInfo.h"
#include "core/Connection.h"
#include "core/DatabaseList.h"
#include "core/ErrorReport.h"
#include "core/ProcedureCall.h"
#include "core/RegistrySettings.h"
#include "core/Settings.h"
#include "core/TransactionGuard.h"

namespace {
std::unique_ptr<DatabaseConnection> s_connection;
bool s_trusted = false;
QString s_userName;
QString s_hostName;

// The command timeout of every OpenRecordset, for long-running queries.
constexpr int kRecordsetTimeout = 480;

DatabaseConnection& requireConnection()
{
    if (!s_connection)
        throw AppError(ErrConnectionUnusable,
                       QStringLiteral("The connection cannot be used to perform this operation. It is either "
                                      "closed or invalid in this context."),
                       ApplicationTitle());
    return *s_connection;
}

std::function<void(const QString&)> s_observer;
int s_rerunScopes = 0;
int s_reruns = 0;

// What the routines below send: a command text, or a catalogue procedure called with typed
// values. Either is shown (error dialog, observer) as its text.
struct Command {
    QString text;
    const ProcedureArguments* arguments = nullptr; // a typed call of the procedure `name`
    QString name;

    Recordset runOn(DatabaseConnection& connection) const
    {
        return arguments ? connection.call(name, *arguments) : connection.execute(text);
    }
};

Command textCommand(const QString& sql) { return Command { sql, nullptr, QString() }; }

Command callCommand(const QString& procedure, const ProcedureArguments& arguments)
{
    return Command { ProcedureCallText(procedure, arguments), &arguments, procedure };
}

Recordset executeCommand(const Command& command)
{
    DatabaseConnection& connection = requireConnection();
    if (s_observer)
        s_observer(command.text);
    if (s_rerunScopes == 0)
        return command.runOn(connection);
    // A command that itself had to open the connection again gets no second try.
    const bool lostBefore = connection.connectionLost();
    try {
        return command.runOn(connection);
    } catch (const AppError&) {
        // Only a break outside a unit is run again: a unit's earlier commands went with it.
        if (lostBefore || !connection.connectionLost() || connection.transactionDepth() > 0)
            throw;
    }
    // The break is not reported, so its entries must not reach the next error dialog.
    connection.providerErrors().clear();
    ++s_reruns;
    if (s_observer)
        s_observer(command.text);
    return command.runOn(connection);
}

std::unique_ptr<Recordset> run(const Command& command)
{
    auto recordset = std::make_unique<Recordset>(executeCommand(command));
    if (!recordset->isOpen())
        RaiseToReport(QStringLiteral("Recordset is closed"));
    return recordset;
}

std::unique_ptr<Recordset> openRecordset(const Command& command, bool useTransaction)
{
    BusyPointer busy;
    QString note;
    try {
        DatabaseConnection& connection = requireConnection();
        // Left by a failure, the unit is rolled back before the error dialog waits for the user.
        std::optional<TransactionGuard> unit;
        if (useTransaction)
            unit.emplace(connection);
        connection.setCommandTimeout(kRecordsetTimeout);
        auto recordset = std::make_unique<Recordset>(executeCommand(command));
        if (!recordset->isOpen()) {
            note = QStringLiteral("Make sure you open stored procedures Forward Only.");
            RaiseToReport(QStringLiteral("Recordset is closed"));
        }
        if (unit)
            unit->commit();
        return recordset;
    } catch (...) {
        SetPendingError(std::current_exception());
        ShowError(command.text, note, QStringLiteral("modFunction::OpenRecordset"));
        return nullptr;
    }
}

bool actOpenRecordset(std::unique_ptr<Recordset>& recordset, const Command& command)
{
    ActionScope action(QStringLiteral("modActFunctions"), QStringLiteral("Act_OpenRecordset"), QStringLiteral("Open Recordset"));
    return action.run([&] { recordset = run(command); });
}

std::optional<QVariant> firstValue(const Command& command)
{
    std::unique_ptr<Recordset> recordset;
    if (!actOpenRecordset(recordset, command) || !recordset || recordset->eof() || recordset->fieldCount() == 0)
        return std::nullopt;
    QVariant value = recordset->value(0);
    if (value.typeId() == QMetaType::QString)
        value = value.toString().trimmed();
    return value;
}

bool actExecute(const Command& command)
{
    ActionScope action(QStringLiteral("modActFunctions"), QStringLiteral("Act_ExecuteSQL"), QStringLiteral("Execute SQL"));
    return action.run([&] { executeCommand(command); });
}

bool actExecuteInUnit(const Command& command)
{
    ActionScope action(QStringLiteral("modActFunctions"), QStringLiteral("Act_ExecuteSQLTrans"),
                       QStringLiteral("Execute SQL With Transaction"));
    return action.run([&] {
        // Left by a failure, the unit is rolled back before the action shows the message, so no
        // lock is held while the failure waits for the user.
        TransactionScope unit;
        if (!actExecute(command))
            RaiseSilent();
        unit.commit();
    });
}
} // namespace

DatabaseConnection* DBConnection()
{
    return s_connection.get();
}

namespace {
quint64 s_connectionSerial = 0;
}

quint64 DBConnectionSerial()
{
    return s_connectionSerial;
}

void SetDBConnection(std::unique_ptr<DatabaseConnection> connection)
{
    ++s_connectionSerial;
    if (s_connection)
        s_connection->close();
    s_connection = std::move(connection);
    if (s_connection) {
        s_userName = s_connection->loginName();
        s_hostName = s_connection->hostName();
    }
}

bool InTransaction()
{
    return s_connection && s_connection->transactionDepth() > 0;
}

bool TrustedConnection()
{
    return s_trusted;
}

QString UserName()
{
    return s_userName;
}

QString HostName()
{
    return s_hostName;
}

QString OpenConnection(int databaseIndex, bool trusted, const QString& userName, const QString& password)
{
    try {
        CloseConnection();
        s_trusted = trusted;
        const DatabaseEntry* entry = DatabaseAt(databaseIndex);
        if (!entry)
            throw AppError(ErrSubscriptOutOfRange, QStringLiteral("Subscript out of range"), ApplicationTitle());
        ConnectionTarget target;
        if (!EngineFromName(entry->EngineName, target.engine))
            throw AppError(ErrProviderFailure, QStringLiteral("Unknown database engine '%1'.").arg(entry->EngineName),
                           ApplicationTitle());
        target.server = entry->Server;
        target.databaseName = entry->DatabaseName;
        s_connection = DatabaseConnection::open(target, Credentials { trusted, userName, password });

        std::unique_ptr<Recordset> identity
            = OpenRecordset(QStringLiteral("SELECT COALESCE(SUSER_NAME(), USER_NAME()) AS Name, HOST_NAME() AS Host"), false);
        if (!identity) {
            CloseConnection();
            return QStringLiteral("SQL Server Login Failed.");
        }
        if (identity->eof() || NullToString(identity->value(QStringLiteral("Name"))).isEmpty()) {
            CloseConnection();
            return QStringLiteral("Invalid User.");
        }
        s_userName = identity->value(QStringLiteral("Name")).toString();
        s_hostName = identity->value(QStringLiteral("Host")).toString();
        CloseRecordset(identity);
        RegistrySettings::setValue(QStringLiteral("Options"), QStringLiteral("LastUser"), s_userName);

        QVariant timeout;
        if (Act_GetSettingDB(QStringLiteral("DB_Query_Timeout"), timeout)) {
            bool ok = false;
            const int seconds = timeout.toString().trimmed().toInt(&ok);
            if (ok)
                s_connection->setCommandTimeout(seconds);
        }
        return {};
    } catch (const AppError& error) {
        CloseConnection();
        return QStringLiteral("SQL Server Login Failed.\r\n") + error.description();
    } catch (const std::exception& error) {
        CloseConnection();
        return QStringLiteral("SQL Server Login Failed.\r\n") + QString::fromLocal8Bit(error.what());
    }
}

void CloseConnection()
{
    ++s_connectionSerial;
    if (s_connection) {
        s_connection->close();
        s_connection.reset();
    }
}

std::unique_ptr<Recordset> OpenRecordset(const QString& sql, bool useTransaction)
{
    return openRecordset(textCommand(sql), useTransaction);
}

bool Act_OpenRecordset(std::unique_ptr<Recordset>& recordset, const QString& sql)
{
    return actOpenRecordset(recordset, textCommand(sql));
}

void CloseRecordset(std::unique_ptr<Recordset>& recordset)
{
    recordset.reset();
}

std::optional<QVariant> GetSQLValue(const QString& sql)
{
    return firstValue(textCommand(sql));
}

QString NullToString(const QVariant& value)
{
    if (value.isNull())
        return {};
    return value.toString().trimmed();
}

QVariant NullToZero(const QVariant& value)
{
    if (value.isNull())
        return QVariant(static_cast<short>(0));
    if (value.typeId() == QMetaType::QString)
        return value.toString().trimmed();
    return value;
}

bool Act_ExecuteSQL(const QString& sql)
{
    return actExecute(textCommand(sql));
}

bool Act_ExecuteSQLTrans(const QString& sql)
{
    return actExecuteInUnit(textCommand(sql));
}

std::unique_ptr<Recordset> CallProcedure(const QString& procedure, const ProcedureArguments& arguments)
{
    return openRecordset(callCommand(procedure, arguments), false);
}

bool Act_CallProcedure(std::unique_ptr<Recordset>& recordset, const QString& procedure, const ProcedureArguments& arguments)
{
    return actOpenRecordset(recordset, callCommand(procedure, arguments));
}

std::optional<QVariant> GetProcedureValue(const QString& procedure, const ProcedureArguments& arguments)
{
    return firstValue(callCommand(procedure, arguments));
}

bool Act_CallProcedureTrans(const QString& procedure, const ProcedureArguments& arguments)
{
    return actExecuteInUnit(callCommand(procedure, arguments));
}

void SetCommandObserver(std::function<void(const QString&)> observer)
{
    s_observer = std::move(observer);
}

void DBBeginTrans()
{
    requireConnection().beginTransaction();
}

void DBCommitTrans()
{
    if (s_connection)
        s_connection->commitTransaction();
}

void DBRollbackTrans()
{
    if (s_connection)
        s_connection->rollbackTransaction();
}

TransactionScope::TransactionScope()
    : m_unit(std::make_unique<TransactionGuard>(requireConnection()))
{
}

TransactionScope::~TransactionScope() = default;

void TransactionScope::commit() { m_unit->commit(); }

RerunAfterReconnect::RerunAfterReconnect()
    : m_rerunsBefore(s_reruns)
{
    ++s_rerunScopes;
}

bool RerunAfterReconnect::reran() const { return s_reruns != m_rerunsBefore; }

RerunAfterReconnect::~RerunAfterReconnect()
{
    --s_rerunScopes;
}
