#include "Schema.h"

#include "AppError.h"
#include "Connection.h"
#include "Logins.h"
#include "SqlText.h"

#include <QFile>

namespace {

QString readResource(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

QStringList migrationNames()
{
    QStringList names;
    const QStringList lines = readResource(QStringLiteral(":/schema/migrations.txt")).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        const QString name = line.trimmed();
        if (!name.isEmpty() && !name.startsWith(QLatin1Char('#')))
            names << name;
    }
    return names;
}

bool tableExists(DatabaseConnection& connection, const QString& table)
{
    Recordset rs = connection.executeStatement(QString::fromLatin1(connection.facts().tableExistsSql), { table });
    return rs.recordCount() > 0 && rs.valueAt(0, 0).toLongLong() > 0;
}

QStringList columnsOf(DatabaseConnection& connection, const QString& table)
{
    // The column names in table order; a query that returns no row still describes them.
    Recordset rs = connection.executeStatement(QStringLiteral("SELECT * FROM %1 WHERE 1 = 0").arg(table));
    QStringList names;
    for (int i = 0; i < rs.fieldCount(); ++i)
        names << rs.fieldName(i);
    return names;
}

} // namespace

int LatestSchemaVersion()
{
    return static_cast<int>(migrationNames().size());
}

int SchemaVersion(DatabaseConnection& connection)
{
    if (!tableExists(connection, QStringLiteral("DB_Schema_Version")))
        return 0;
    Recordset rs = connection.executeStatement(QStringLiteral("SELECT MAX(Version) FROM DB_Schema_Version"));
    return rs.recordCount() > 0 ? rs.valueAt(0, 0).toInt() : 0;
}

bool IsUnloggedTable(const QString& table)
{
    static const QStringList unlogged = {
        QStringLiteral("DB_Change_Log"), QStringLiteral("DB_Schema_Version"), QStringLiteral("DB_Logins"),
        QStringLiteral("DB_User_Settings"), QStringLiteral("DB_Form_Sizes"), QStringLiteral("DB_Column_Widths"),
    };
    return unlogged.contains(table, Qt::CaseInsensitive);
}

QStringList SchemaStatements(DatabaseConnection& connection, const QString& migration)
{
    QString text = readResource(QStringLiteral(":/schema/%1.%2.sql").arg(migration, QString::fromLatin1(connection.facts().fileSuffix)));
    if (text.isEmpty())
        text = readResource(QStringLiteral(":/schema/%1.sql").arg(migration));
    if (text.isEmpty())
        throw AppError(ErrProviderFailure, QStringLiteral("The schema file %1 is missing from the program.").arg(migration));
    for (const auto& [token, replacement] : connection.facts().schemaTokens)
        text.replace(token, replacement);
    return SplitSqlStatements(text);
}

void UpgradeSchema(DatabaseConnection& connection)
{
    const QStringList names = migrationNames();
    const int from = SchemaVersion(connection);
    if (from >= names.size())
        return;
    connection.beginTransaction();
    try {
        for (int version = from + 1; version <= names.size(); ++version) {
            for (const QString& statement : SchemaStatements(connection, names.at(version - 1)))
                connection.executeStatement(statement);
            connection.executeStatement(QStringLiteral("INSERT INTO DB_Schema_Version(Version) VALUES (?)"), { version });
        }
        RefreshChangeLogTriggers(connection);
        connection.commitTransaction();
    } catch (...) {
        connection.rollbackTransaction();
        throw;
    }
}

void RefreshChangeLogTriggers(DatabaseConnection& connection)
{
    Recordset tables = connection.executeStatement(QString::fromLatin1(connection.facts().tablesSql));
    for (int row = 0; row < tables.recordCount(); ++row) {
        const QString table = tables.valueAt(row, 0).toString();
        if (IsUnloggedTable(table))
            continue;
        const QStringList columns = columnsOf(connection, table);
        if (columns.isEmpty())
            continue;
        // By the schema's convention the identity is every table's first column.
        const QString identity = columns.first();
        if (connection.engine() == Engine::PostgreSQL) {
            connection.executeStatement(QStringLiteral("DROP TRIGGER IF EXISTS %1_log ON %1").arg(table));
            connection.executeStatement(QStringLiteral("CREATE TRIGGER %1_log AFTER INSERT OR UPDATE OR DELETE ON %1 "
                                                       "FOR EACH ROW EXECUTE FUNCTION bramblecot_log_change('%2')")
                                            .arg(table, identity.toLower()));
            continue;
        }
        auto json = [&columns](const QString& row) {
            QStringList pairs;
            for (const QString& column : columns)
                pairs << QStringLiteral("'%1', %2.%1").arg(column, row);
            return QStringLiteral("json_object(%1)").arg(pairs.join(QStringLiteral(", ")));
        };
        struct Event {
            const char* name;
            const char* operation;
            bool hasOld;
            bool hasNew;
        };
        for (const Event& event : { Event { "INSERT", "Insert", false, true }, Event { "UPDATE", "Update", true, true },
                                    Event { "DELETE", "Delete", true, false } }) {
            const QString trigger = QStringLiteral("%1_log_%2").arg(table, QString::fromLatin1(event.name).toLower());
            connection.executeStatement(QStringLiteral("DROP TRIGGER IF EXISTS %1").arg(trigger));
            connection.executeStatement(
                QStringLiteral("CREATE TRIGGER %1 AFTER %2 ON %3 BEGIN\n"
                               "INSERT INTO DB_Change_Log(DB_Table_Name, DB_PK, DB_Operation, DB_Login_Name, DB_Host_Name, "
                               "DB_App_Name, DB_Change_Time, DB_Old_Values, DB_New_Values)\n"
                               "VALUES ('%3', %4.%5, '%6', SUSER_NAME(), HOST_NAME(), APP_NAME(), GETDATE(), %7, %8);\n"
                               "END")
                    .arg(trigger, QString::fromLatin1(event.name), table, QLatin1String(event.hasNew ? "NEW" : "OLD"), identity,
                         QString::fromLatin1(event.operation), event.hasOld ? json(QStringLiteral("OLD")) : QStringLiteral("NULL"),
                         event.hasNew ? json(QStringLiteral("NEW")) : QStringLiteral("NULL")));
        }
    }
}

void LoadSampleData(DatabaseConnection& connection)
{
    const QString text = readResource(QStringLiteral(":/sample/reference_rows.sql"));
    if (text.isEmpty())
        throw AppError(ErrProviderFailure, QStringLiteral("The sample data is missing from the program."));
    connection.beginTransaction();
    try {
        for (const QString& statement : SplitSqlStatements(text))
            connection.executeStatement(statement);
        connection.commitTransaction();
    } catch (...) {
        connection.rollbackTransaction();
        throw;
    }
}

void CreateFirstAdministrator(DatabaseConnection& connection, const QString& login, const QString& password)
{
    connection.beginTransaction();
    try {
        if (tableExists(connection, QStringLiteral("DB_Logins"))) {
            connection.executeStatement(QStringLiteral("INSERT INTO DB_Logins(Login_Name, Password_Hash) VALUES (?, ?)"),
                                        { login, password.isEmpty() ? QVariant() : QVariant(HashPassword(password)) });
        }
        connection.executeStatement(QStringLiteral("INSERT INTO DB_Users(DB_User_Name, DB_Last_Name, DB_First_Name, DB_Sys_Admin, "
                                                   "DB_Prompt_Database_Switch) VALUES (?, ?, ?, 1, 1)"),
                                    { login, login, QStringLiteral("Administrator") });
        connection.commitTransaction();
    } catch (...) {
        connection.rollbackTransaction();
        throw;
    }
}
