#include "core/LoginAdministration.h"

#include "core/AppError.h"
#include "core/Connection.h"
#include "core/Database.h"
#include "core/Logins.h"
#include "core/PostgresClient.h"
#include "core/TransactionGuard.h"

#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QUuid>

namespace {
pg_conn* postgresHandle(const QSqlDatabase& db)
{
    return PostgresHandle(db.driver()->handle());
}

QString escaped(pg_conn* connection, const QString& text, bool identifier)
{
    QString error;
    const QString result = RequirePostgresClient().quoted(connection, text, identifier, error);
    if (!error.isEmpty())
        throw AppError(ErrInternal, error);
    return result;
}

// The SCRAM verifier of the password, computed here: the password itself never travels.
QString verifierOf(pg_conn* connection, const QString& password, const QString& role)
{
    QString error;
    const QString verifier = RequirePostgresClient().passwordVerifier(connection, password, role, error);
    if (!error.isEmpty())
        throw AppError(ErrProviderCommand, error);
    return verifier;
}

// Logs on once more with the old password, on the same server, port and database as the live
// connection: the server is the only one that can tell whether the password is right.
bool postgresPasswordAccepted(DatabaseConnection& live, const QString& password)
{
    const QSqlDatabase current = live.database();
    const QString name = QStringLiteral("bramblecot-password-check-") + QUuid::createUuid().toString(QUuid::Id128);
    bool accepted = false;
    {
        QSqlDatabase probe = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        probe.setHostName(current.hostName());
        if (current.port() > 0)
            probe.setPort(current.port());
        probe.setDatabaseName(current.databaseName());
        probe.setUserName(live.loginName());
        probe.setPassword(password);
        probe.setConnectOptions(QStringLiteral("connect_timeout=30"));
        accepted = probe.open();
        probe.close();
    }
    QSqlDatabase::removeDatabase(name);
    return accepted;
}

void changeSqlite(DatabaseConnection& connection, const QString& oldPassword, const QString& newPassword)
{
    Recordset login = connection.executeStatement(QStringLiteral("SELECT Password_Hash FROM DB_Logins WHERE Login_Name = ?"),
                                                  { connection.loginName() });
    if (login.recordCount() != 1 || !VerifyPassword(login.valueAt(0, 0).toString(), oldPassword))
        throw AppError(ErrProviderCommand, OldPasswordIncorrectText());
    connection.executeStatement(QStringLiteral("UPDATE DB_Logins SET Password_Hash = ? WHERE Login_Name = ?"),
                                { HashPassword(newPassword), connection.loginName() });
}

void changePostgres(DatabaseConnection& connection, const QString& oldPassword, const QString& newPassword)
{
    if (!postgresPasswordAccepted(connection, oldPassword))
        throw AppError(ErrProviderCommand, OldPasswordIncorrectText());
    pg_conn* handle = postgresHandle(connection.database());
    if (!handle)
        throw AppError(ErrInternal, QStringLiteral("The PostgreSQL driver gives no connection handle."));
    const QString verifierText = verifierOf(handle, newPassword, connection.loginName());
    connection.executeStatement(QStringLiteral("ALTER ROLE ") + escaped(handle, connection.loginName(), true)
                                + QStringLiteral(" PASSWORD ") + escaped(handle, verifierText, false));
}
} // namespace

QString OldPasswordIncorrectText()
{
    return QStringLiteral("Old (current) password incorrect for user. The password was not changed.");
}

QString ChangeOwnPassword(const QString& oldPassword, const QString& newPassword)
{
    DatabaseConnection* connection = DBConnection();
    if (!connection || !connection->isOpen())
        return QStringLiteral("There is no open connection.");
    if (const QString rule = PasswordRuleMessage(newPassword, QStringLiteral("New Password")); !rule.isEmpty())
        return rule + QLatin1Char('.');
    try {
        if (connection->engine() == Engine::PostgreSQL)
            changePostgres(*connection, oldPassword, newPassword);
        else
            changeSqlite(*connection, oldPassword, newPassword);
        return {};
    } catch (const AppError& error) {
        return error.description();
    } catch (const std::exception& error) {
        return QString::fromLocal8Bit(error.what());
    }
}

void CreateEmbeddedLogin(const ConnectionTarget& target, const QString& login, const std::optional<QString>& password)
{
    const QString name = login.trimmed();
    if (target.engine != Engine::SQLite)
        throw AppError(ErrToReport, QStringLiteral("Log-ins of a PostgreSQL database are server roles: create the role on the server."));
    if (name.isEmpty() || name.contains(QLatin1Char(' ')))
        throw AppError(ErrToReport, QStringLiteral("A log-in name is required and may not contain spaces."));
    if (password) {
        if (const QString rule = PasswordRuleMessage(*password); !rule.isEmpty())
            throw AppError(ErrToReport, rule + QLatin1Char('.'));
    }
    std::unique_ptr<DatabaseConnection> connection = DatabaseConnection::open(target, Credentials {});
    Recordset admin = connection->executeStatement(QStringLiteral("SELECT DB_Sys_Admin FROM DB_Users WHERE DB_User_Name = ?"),
                                                   { connection->loginName() });
    if (admin.recordCount() != 1 || admin.valueAt(0, 0).toInt() == 0)
        throw AppError(ErrToReport, QStringLiteral("Only a system administrator of the database can add log-ins; ")
                                        + connection->loginName() + QStringLiteral(" is not one."));
    Recordset existing = connection->executeStatement(QStringLiteral("SELECT COUNT(*) FROM DB_Logins WHERE Login_Name = ?"), { name });
    if (existing.valueAt(0, 0).toInt() > 0)
        throw AppError(ErrToReport, QStringLiteral("The log-in ") + name + QStringLiteral(" exists already."));
    TransactionGuard unit(*connection);
    connection->executeStatement(
        QStringLiteral("INSERT INTO DB_Logins (Login_Name, Password_Hash, OS_Account) VALUES (?, ?, ?)"),
        { name, password ? QVariant(HashPassword(*password)) : QVariant(), password ? 0 : 1 });
    Recordset user = connection->executeStatement(
        QStringLiteral("SELECT COUNT(*) FROM DB_Users WHERE DB_User_Name = ?"), { name });
    if (user.valueAt(0, 0).toInt() == 0)
        connection->executeStatement(QStringLiteral("INSERT INTO DB_Users (DB_User_Name) VALUES (?)"), { name });
    unit.commit();
}

void CreateServerLogin(
    DatabaseConnection& owner, const QString& login, const std::optional<QString>& password, bool admin)
{
    if (owner.engine() != Engine::PostgreSQL)
        throw AppError(ErrToReport, QStringLiteral("Log-ins of an embedded database are added with --create-login."));
    const QString name = login.trimmed().toLower();
    static const QRegularExpression plain(QStringLiteral("^[a-z_][a-z0-9_]*$"));
    if (!plain.match(name).hasMatch())
        throw AppError(ErrToReport,
            QStringLiteral("A log-in name is required and may hold only letters, digits and underscores."));
    if (password) {
        if (const QString rule = PasswordRuleMessage(*password); !rule.isEmpty())
            throw AppError(ErrToReport, rule + QLatin1Char('.'));
    }
    pg_conn* handle = postgresHandle(owner.database());
    if (!handle)
        throw AppError(ErrInternal, QStringLiteral("The PostgreSQL driver gives no connection handle."));
    QString passwordClause;
    if (password)
        passwordClause = QStringLiteral(" PASSWORD ") + escaped(handle, verifierOf(handle, *password, name), false);
    const QString role = escaped(handle, name, true);
    const QString users = escaped(handle, owner.databaseCode() + QStringLiteral("_users"), true);
    TransactionGuard unit(owner);
    Recordset existing
        = owner.executeStatement(QStringLiteral("SELECT COUNT(*) FROM pg_roles WHERE rolname = ?"), { name });
    if (existing.valueAt(0, 0).toInt() > 0)
        throw AppError(ErrToReport, QStringLiteral("The log-in ") + name + QStringLiteral(" exists already."));
    owner.executeStatement(QStringLiteral("CREATE ROLE ") + role + QStringLiteral(" LOGIN") + passwordClause);
    owner.executeStatement(QStringLiteral("GRANT ") + users + QStringLiteral(" TO ") + role);
    Recordset user
        = owner.executeStatement(QStringLiteral("SELECT COUNT(*) FROM DB_Users WHERE DB_User_Name = ?"), { name });
    if (user.valueAt(0, 0).toInt() == 0)
        owner.executeStatement(
            QStringLiteral("INSERT INTO DB_Users (DB_User_Name, DB_Sys_Admin) VALUES (?, ?)"), { name, admin ? 1 : 0 });
    else if (admin)
        owner.executeStatement(QStringLiteral("UPDATE DB_Users SET DB_Sys_Admin = 1 WHERE DB_User_Name = ?"), { name });
    else
        // The row's flag decides the membership of the administrators' role.
        owner.executeStatement(
            QStringLiteral("UPDATE DB_Users SET DB_Sys_Admin = DB_Sys_Admin WHERE DB_User_Name = ?"), { name });
    unit.commit();
}
