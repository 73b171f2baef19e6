#include "core/Schema.h"

#include "core/AppError.h"
#include "core/Connection.h"
#include "core/Logins.h"
#include "core/Permissions.h"
#include "core/SqlText.h"
#include "core/TransactionGuard.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>

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
        QStringLiteral("DB_Table_Rights"),
    };
    return unlogged.contains(table, Qt::CaseInsensitive);
}

QStringList SchemaStatements(DatabaseConnection& connection, const QString& migration)
{
    // A migration is its common file, then this engine's appendix beside it, if any; a migration
    // whose engines share nothing is an engine file each. Only the number of a migration is
    // recorded, so which files hold its statements may change once it has run.
    const QStringList texts = { readResource(QStringLiteral(":/schema/%1.sql").arg(migration)),
        readResource(
            QStringLiteral(":/schema/%1.%2.sql").arg(migration, QString::fromLatin1(connection.facts().fileSuffix))) };
    if (texts.join(QString()).isEmpty())
        throw AppError(ErrProviderFailure, QStringLiteral("The schema file %1 is missing from the program.").arg(migration));
    QStringList statements;
    for (QString text : texts) {
        for (const auto& [token, replacement] : connection.facts().schemaTokens)
            text.replace(token, replacement);
        statements << SplitSqlStatements(text);
    }
    return statements;
}

void UpgradeSchema(DatabaseConnection& connection)
{
    const QStringList names = migrationNames();
    const int from = SchemaVersion(connection);
    if (from >= names.size())
        return;
    TransactionGuard unit(connection);
    for (int version = from + 1; version <= names.size(); ++version) {
        for (const QString& statement : SchemaStatements(connection, names.at(version - 1)))
            connection.executeStatement(statement);
        connection.executeStatement(QStringLiteral("INSERT INTO DB_Schema_Version(Version) VALUES (?)"), { version });
    }
    RefreshChangeLogTriggers(connection);
    unit.commit();
}

namespace {

// Who writes a table on a server database.
enum class TableKind {
    Data, // users, as their table permissions allow
    Framework, // system administrators
    OwnRows, // each user their own rows
    ReadOnly, // nobody but the owner and the change-log triggers
};

struct TableGuard {
    TableKind kind = TableKind::Data;
    // The column that names the row's log-in, for the rows a user may write.
    QString ownColumn;
    // The columns of their own framework row a user may fill in.
    QStringList ownColumns;
};

TableGuard guardOf(const QString& table)
{
    static const QStringList framework = {
        QStringLiteral("DB_App_Forms"),
        QStringLiteral("DB_Tables"),
        QStringLiteral("DB_Table_Actions"),
        QStringLiteral("DB_Actions"),
        QStringLiteral("DB_Reports"),
        QStringLiteral("DB_Action_Permissions"),
        QStringLiteral("DB_Report_Permissions"),
        QStringLiteral("DB_Table_Permissions"),
        QStringLiteral("DB_App_Options"),
        QStringLiteral("DB_Setting_Defaults"),
        QStringLiteral("DB_Logins"),
    };
    static const QStringList perUser
        = { QStringLiteral("DB_User_Settings"), QStringLiteral("DB_Form_Sizes"), QStringLiteral("DB_Column_Widths") };
    static const QStringList readOnly
        = { QStringLiteral("DB_Change_Log"), QStringLiteral("DB_Schema_Version"), QStringLiteral("DB_Table_Rights") };
    if (table.compare(QLatin1String("DB_Users"), Qt::CaseInsensitive) == 0) {
        // A user's own record: the names and defaults of the user-options window. The log-in, the
        // employee the user is and the administrator flag are the administrators' to set.
        return { TableKind::Framework, QStringLiteral("DB_User_Name"), OwnUserRecordColumns() };
    }
    if (framework.contains(table, Qt::CaseInsensitive))
        return { TableKind::Framework, {}, {} };
    if (perUser.contains(table, Qt::CaseInsensitive))
        return { TableKind::OwnRows, QStringLiteral("DB_Login_Name"), {} };
    if (readOnly.contains(table, Qt::CaseInsensitive))
        return { TableKind::ReadOnly, {}, {} };
    return {};
}

QString kindName(TableKind kind)
{
    switch (kind) {
    case TableKind::Data:
        return QStringLiteral("data");
    case TableKind::Framework:
        return QStringLiteral("framework");
    case TableKind::OwnRows:
        return QStringLiteral("own");
    case TableKind::ReadOnly:
        return QStringLiteral("read");
    }
    return QStringLiteral("read");
}

// The elements of a parenthesised list, split at the commas outside nested parentheses and strings.
QStringList topLevelElements(const QString& list)
{
    QStringList elements;
    QString current;
    int depth = 0;
    bool inString = false;
    for (const QChar c : list) {
        if (c == QLatin1Char('\''))
            inString = !inString;
        else if (!inString && c == QLatin1Char('('))
            ++depth;
        else if (!inString && c == QLatin1Char(')'))
            --depth;
        if (!inString && depth == 0 && c == QLatin1Char(',')) {
            elements << current.trimmed();
            current.clear();
            continue;
        }
        current += c;
    }
    if (!current.trimmed().isEmpty())
        elements << current.trimmed();
    return elements;
}

bool isConstraintWord(const QString& word)
{
    static const QStringList words = { QStringLiteral("CONSTRAINT"), QStringLiteral("PRIMARY"),
        QStringLiteral("UNIQUE"), QStringLiteral("FOREIGN"), QStringLiteral("CHECK"), QStringLiteral("EXCLUDE") };
    return words.contains(word, Qt::CaseInsensitive);
}

// A table as the migrations' CREATE TABLE and ALTER TABLE ... ADD statements spell it: its name
// and its columns' names (by lower-case name). PostgreSQL folds unquoted names to lower case, so its
// catalogue has lost the spelling the change log keeps.
struct DeclaredTable {
    QString name;
    QHash<QString, QString> columns;
};

// The declared tables by lower-case name.
QHash<QString, DeclaredTable> declaredTables(DatabaseConnection& connection)
{
    static const QRegularExpression createTable(
        QStringLiteral("^\\s*CREATE\\s+TABLE\\s+(?:IF\\s+NOT\\s+EXISTS\\s+)?(\\w+)\\s*\\((.*)\\)[^)]*$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression addColumn(
        QStringLiteral(
            "^\\s*ALTER\\s+TABLE\\s+(?:ONLY\\s+)?(\\w+)\\s+ADD\\s+(?:COLUMN\\s+)?(?:IF\\s+NOT\\s+EXISTS\\s+)?(\\w+)"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression firstWord(QStringLiteral("^(\\w+)"));
    QHash<QString, DeclaredTable> tables;
    for (const QString& migration : migrationNames()) {
        for (const QString& statement : SchemaStatements(connection, migration)) {
            if (const QRegularExpressionMatch create = createTable.match(statement); create.hasMatch()) {
                DeclaredTable& table = tables[create.captured(1).toLower()];
                table.name = create.captured(1);
                for (const QString& element : topLevelElements(create.captured(2))) {
                    const QString column = firstWord.match(element).captured(1);
                    if (!column.isEmpty() && !isConstraintWord(column))
                        table.columns.insert(column.toLower(), column);
                }
            } else if (const QRegularExpressionMatch add = addColumn.match(statement); add.hasMatch()) {
                if (!isConstraintWord(add.captured(2)))
                    tables[add.captured(1).toLower()].columns.insert(add.captured(2).toLower(), add.captured(2));
            }
        }
    }
    return tables;
}

void secureServerTable(DatabaseConnection& connection, const QString& table, const QStringList& columns,
    const DeclaredTable& declared)
{
    const TableGuard guard = guardOf(table);
    QStringList logColumns;
    for (const QString& column : columns)
        logColumns << declared.columns.value(column.toLower(), column);
    // A table no migration declares (a test's own, say) keeps the server's name.
    const QString name = declared.name.isEmpty() ? table : declared.name;
    // By the schema's convention the identity is every table's first column.
    connection.executeStatement(
        QStringLiteral("SELECT bramblecot_secure_table(?, ?, ?, ?, string_to_array(?, ','), string_to_array(?, ','))"),
        { name, kindName(guard.kind), IsUnloggedTable(table) ? QVariant() : QVariant(columns.first()),
            guard.ownColumn.isEmpty() ? QVariant() : QVariant(guard.ownColumn), guard.ownColumns.join(QLatin1Char(',')),
            logColumns.join(QLatin1Char(',')) });
    // A framework table whose users fill in a row of their own: the server's trigger decides which
    // rows and columns, and refuses in the program's words.
    if (guard.kind == TableKind::Framework && !guard.ownColumn.isEmpty() && !guard.ownColumns.isEmpty())
        connection.executeStatement(
            QStringLiteral("SELECT bramblecot_secure_own_record(?, ?, ?, string_to_array(?, ','))"),
            { name, columns.first(), guard.ownColumn, guard.ownColumns.join(QLatin1Char(',')) });
}

void createSqliteLogTriggers(DatabaseConnection& connection, const QString& table, const QStringList& columns)
{
    const QString identity = columns.first();
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
        // One account owns the whole file: the session's role is the log-in, and no address is seen.
        connection.executeStatement(QStringLiteral(
            "CREATE TRIGGER %1 AFTER %2 ON %3 BEGIN\n"
            "INSERT INTO DB_Change_Log(DB_Table_Name, DB_PK, DB_Operation, DB_Login_Name, DB_Host_Name, "
            "DB_App_Name, DB_Change_Time, DB_Old_Values, DB_New_Values, DB_Session_User, DB_Client_Address)\n"
            "VALUES ('%3', %4.%5, '%6', SUSER_NAME(), HOST_NAME(), APP_NAME(), GETDATE(), %7, %8, SUSER_NAME(), '');\n"
            "END")
                                        .arg(trigger, QString::fromLatin1(event.name), table,
                                            QLatin1String(event.hasNew ? "NEW" : "OLD"), identity,
                                            QString::fromLatin1(event.operation),
                                            event.hasOld ? json(QStringLiteral("OLD")) : QStringLiteral("NULL"),
                                            event.hasNew ? json(QStringLiteral("NEW")) : QStringLiteral("NULL")));
    }
}

} // namespace

void RefreshChangeLogTriggers(DatabaseConnection& connection)
{
    Recordset tables = connection.executeStatement(QString::fromLatin1(connection.facts().tablesSql));
    const bool postgres = connection.engine() == Engine::PostgreSQL;
    // SQLite keeps the declared spelling of every table and column itself.
    const QHash<QString, DeclaredTable> declared = postgres ? declaredTables(connection) : QHash<QString, DeclaredTable>();
    for (int row = 0; row < tables.recordCount(); ++row) {
        const QString table = tables.valueAt(row, 0).toString();
        if (!postgres && IsUnloggedTable(table))
            continue;
        const QStringList columns = columnsOf(connection, table);
        if (columns.isEmpty())
            continue;
        // By the schema's convention the identity is every table's first column.
        if (postgres)
            secureServerTable(connection, table, columns, declared.value(table.toLower()));
        else
            createSqliteLogTriggers(connection, table, columns);
    }
    if (!postgres)
        return;
    // Views are read as the tables beneath them, whichever migration made them.
    const Recordset views = connection.executeStatement(
        QStringLiteral("SELECT viewname FROM pg_views WHERE schemaname = current_schema() ORDER BY viewname"));
    for (int row = 0; row < views.recordCount(); ++row)
        connection.executeStatement(QStringLiteral("SELECT bramblecot_secure_view(?)"), { views.valueAt(row, 0) });
}

namespace {

// Runs one of the program's own row files as one unit: all its rows or none.
void loadRowsFile(DatabaseConnection& connection, const QString& resource)
{
    const QString text = readResource(resource);
    if (text.isEmpty())
        throw AppError(ErrProviderFailure, QStringLiteral("The sample data is missing from the program."));
    TransactionGuard unit(connection);
    for (const QString& statement : SplitSqlStatements(text))
        connection.executeStatement(statement);
    unit.commit();
}

} // namespace

void LoadReferenceRows(DatabaseConnection& connection)
{
    loadRowsFile(connection, QStringLiteral(":/sample/reference_rows.sql"));
}

void LoadSampleData(DatabaseConnection& connection)
{
    LoadReferenceRows(connection);
    loadRowsFile(connection, QStringLiteral(":/sample/sample_records.sql"));
}

void CreateFirstAdministrator(DatabaseConnection& connection, const QString& login, const QString& password)
{
    TransactionGuard unit(connection);
    if (tableExists(connection, QStringLiteral("DB_Logins"))) {
        // Without a password the log-in is the operating-system account's, for its trusted log-on.
        connection.executeStatement(
            QStringLiteral("INSERT INTO DB_Logins(Login_Name, Password_Hash, OS_Account) VALUES (?, ?, ?)"),
            { login, password.isEmpty() ? QVariant() : QVariant(HashPassword(password)), password.isEmpty() ? 1 : 0 });
    }
    connection.executeStatement(
        QStringLiteral("INSERT INTO DB_Users(DB_User_Name, DB_Last_Name, DB_First_Name, DB_Sys_Admin, "
                       "DB_Prompt_Database_Switch) VALUES (?, ?, ?, 1, 1)"),
        { login, login, QStringLiteral("Administrator") });
    unit.commit();
}
