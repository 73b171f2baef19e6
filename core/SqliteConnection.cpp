#include "core/Connection.h"

#include "core/AppError.h"
#include "core/AppInfo.h"
#include "core/Logins.h"
#include "core/ProcedureArguments.h"
#include "core/ProcedureCatalogue.h"
#include "core/Schema.h"
#include "core/SqliteSession.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlRecord>
#include <QSqlResult>
#include <QSysInfo>

#include <sqlite3.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

// The embedded engine's half of DatabaseConnection: opening (and creating) the database file, the
// session functions registered on the driver's handle, the command deadline, statistics, the
// read-only scope's authorizer, and reading a Qt SQL query's result.

namespace {

// The type a procedure's header declares for a result column, if it declares one.
bool takeDeclaredType(const Procedure* declared, Recordset::Column& column)
{
    if (!declared || declared->columnTypes.isEmpty())
        return false;
    const auto it = declared->columnTypes.constFind(column.name.toLower());
    if (it == declared->columnTypes.constEnd())
        return false;
    column.type = it.value();
    return true;
}

ColumnType sqliteColumnType(const char* declared, bool& known)
{
    known = declared != nullptr;
    if (!declared)
        return ColumnType::Text;
    const QByteArray type = QByteArray(declared).toUpper();
    if (type.contains("DATETIME") || type.contains("TIMESTAMP"))
        return ColumnType::DateTime;
    if (type.contains("DATE"))
        return ColumnType::Date;
    if (type.contains("MONEY"))
        return ColumnType::Currency;
    if (type == "BIT" || type.contains("BOOL"))
        return ColumnType::Boolean;
    if (type.contains("INT"))
        return ColumnType::Integer;
    if (type.contains("REAL") || type.contains("DOUB") || type.contains("FLOA") || type.contains("NUMERIC"))
        return ColumnType::Double;
    return ColumnType::Text;
}

// The driver's own handle inside a QVariant, checked by its type name (Qt normalises a typedef'd
// pointer to the struct's name, so both spellings are accepted).
template <class Handle> Handle handleOf(const QVariant& variant, const char* typeName, const char* otherName = nullptr)
{
    if (!variant.isValid())
        return nullptr;
    if (qstrcmp(variant.typeName(), typeName) != 0 && (!otherName || qstrcmp(variant.typeName(), otherName) != 0))
        return nullptr;
    return *static_cast<Handle const*>(variant.constData());
}

// The T-SQL session functions the program's SQL and the triggers call, on SQLite.
void textFunction(sqlite3_context* context, const QByteArray& value)
{
    sqlite3_result_text(context, value.constData(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
}

// Whether an SQLite statement writes, asked of a statement prepared aside (so a statement that
// needs an earlier one to have run first is still prepared in order); one that cannot be prepared
// yet counts as a write.
bool statementWrites(sqlite3* handle, const QString& sql)
{
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt* statement = nullptr;
    const int result = sqlite3_prepare_v2(handle, text.constData(), static_cast<int>(text.size()), &statement, nullptr);
    const bool writes = result != SQLITE_OK || !statement || !sqlite3_stmt_readonly(statement);
    sqlite3_finalize(statement);
    return writes;
}

int progressHandler(void* data)
{
    auto* session = static_cast<DatabaseConnection::SqliteSession*>(data);
    if (session->deadlineMs > 0 && session->clock.isValid() && session->clock.elapsed() > session->deadlineMs) {
        session->timedOut = true;
        return 1;
    }
    return 0;
}

// Gives the embedded engine's planner its statistics, read from a bounded sample of each index so
// it never takes long: of every table when the database has none yet or was just upgraded, and at
// the end of a connection of the tables it used whose statistics are missing or old (as SQLite
// advises). Without them SQLite guesses every table's size alike and may read a large table whole
// where one of its indexes finds a few rows. A failure is harmless: the plans stay as they were.
void refreshStatistics(DatabaseConnection::SqliteSession& session, bool everyTable)
{
    session.timedOut = false;
    session.deadlineMs = 10000;
    session.clock.start();
    sqlite3_exec(session.handle, everyTable ? "PRAGMA analysis_limit = 1000; ANALYZE;"
                                            : "PRAGMA analysis_limit = 1000; PRAGMA optimize;",
        nullptr, nullptr, nullptr);
}

bool hasStatistics(sqlite3* handle)
{
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(handle, "SELECT 1 FROM sqlite_master WHERE name = 'sqlite_stat1'", -1, &statement, nullptr)
        != SQLITE_OK)
        return true;
    const bool found = sqlite3_step(statement) == SQLITE_ROW;
    sqlite3_finalize(statement);
    return found;
}

// A new embedded database is its owner's alone: the folders the program makes for it are 0700
// and the file 0600 (SQLite gives its journal and write-ahead files the same mode). The file is
// created here, exclusively and never through a symbolic link, before SQLite opens it.
QString createOwnerOnlyDatabaseFile(const QString& path)
{
    QStringList missing;
    for (QString folder = QFileInfo(path).absolutePath(); !QFileInfo::exists(folder) && !QDir(folder).isRoot();
         folder = QFileInfo(folder).absolutePath())
        missing.prepend(folder);
    for (const QString& folder : std::as_const(missing)) {
        const QByteArray native = QFile::encodeName(folder);
        if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST)
            return QString::fromLocal8Bit(std::strerror(errno)) + QLatin1Char('.');
        ::chmod(native.constData(), 0700); // whatever the umask took away or left
    }
    const int fd
        = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return QString::fromLocal8Bit(std::strerror(errno)) + QLatin1Char('.');
    ::fchmod(fd, 0600);
    ::close(fd);
    return {};
}

// Inside a read-only scope the embedded engine also refuses what query_only lets through: another
// database file attached (which creates it) and pragmas (query_only itself among them).
int readOnlyAuthorizer(void*, int action, const char*, const char*, const char*, const char*)
{
    switch (action) {
    case SQLITE_ATTACH:
    case SQLITE_DETACH:
    case SQLITE_PRAGMA:
        return SQLITE_DENY;
    default:
        return SQLITE_OK;
    }
}

} // namespace

void DatabaseConnection::openSqlite(const Credentials& credentials)
{
    const QString name = m_target.databaseName.trimmed();
    if (name.isEmpty())
        RefuseCommand(Engine::SQLite, QStringLiteral("No database file is named."), ErrProviderFailure);
    const QString path = QDir::isAbsolutePath(name) ? QDir::cleanPath(name) : GetMainPath() + QStringLiteral("Data/") + name;
    const bool isNew = !QFileInfo::exists(path);
    const QString osUser = operatingSystemUser();
    if (isNew) {
        // Only the trusted log-on of the operating-system user creates a database: it becomes
        // that database's first administrator.
        if (!credentials.trusted)
            RefuseCommand(Engine::SQLite, QStringLiteral("Cannot open database \"%1\". The database file does not exist.").arg(path),
                   ErrProviderFailure);
        if (const QString why = createOwnerOnlyDatabaseFile(path); !why.isEmpty())
            RefuseCommand(
                Engine::SQLite, QStringLiteral("Cannot create database \"%1\". %2").arg(path, why), ErrProviderFailure);
    }

    m_db = QSqlDatabase::addDatabase(QString::fromLatin1(FactsOf(Engine::SQLite).driver), m_connectionName);
    QSqlDatabase& db = m_db;
    db.setDatabaseName(path);
    if (!db.open()) {
        const QString why = db.lastError().text().trimmed();
        if (isNew)
            QFile::remove(path);
        RefuseCommand(Engine::SQLite, why, ErrProviderFailure);
    }

    m_sqlite = std::make_unique<SqliteSession>();
    m_sqlite->handle = handleOf<sqlite3*>(db.driver()->handle(), "sqlite3*");
    if (!m_sqlite->handle)
        RefuseCommand(Engine::SQLite, QStringLiteral("The SQLite driver gives no handle."), ErrProviderFailure);
    m_hostName = QSysInfo::machineHostName();
    m_databaseCode = QFileInfo(path).completeBaseName();
    m_sqlite->host = m_hostName.toUtf8();
    m_sqlite->databaseCode = m_databaseCode.toUtf8();
    m_sqlite->application = ApplicationTitle().toUtf8();
    m_sqlite->login = osUser.toUtf8();
    m_sqlite->loginTime = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")).toUtf8();
    registerSqliteFunctions();
    sqlite3_busy_timeout(m_sqlite->handle, LockWaitSeconds * 1000);
    sqlite3_progress_handler(m_sqlite->handle, 5000, &progressHandler, m_sqlite.get());
    executeStatement(QStringLiteral("PRAGMA foreign_keys = ON"));

    try {
        if (isNew) {
            UpgradeSchema(*this);
            CreateFirstAdministrator(*this, osUser, QString());
        } else {
            const int version = SchemaVersion(*this);
            if (version > LatestSchemaVersion())
                RefuseCommand(Engine::SQLite, QStringLiteral("The database was made by a newer version of the program (schema %1, "
                                                      "this program knows %2).")
                                           .arg(version)
                                           .arg(LatestSchemaVersion()),
                       ErrProviderFailure);
            if (version < LatestSchemaVersion())
                UpgradeSchema(*this);
            if (version < LatestSchemaVersion() || !hasStatistics(m_sqlite->handle))
                refreshStatistics(*m_sqlite, true);
        }
    } catch (...) {
        if (isNew) {
            close();
            QFile::remove(path);
        }
        throw;
    }

    const QString wanted = credentials.trusted ? osUser : credentials.userName.trimmed();
    Recordset login = executeStatement(
        QStringLiteral("SELECT Login_Name, Password_Hash, OS_Account FROM DB_Logins WHERE Login_Name = ?"), { wanted });
    const bool found = login.recordCount() == 1;
    // The operating-system account logs on only as a log-in made for it, never as a password
    // log-in that shares its name. A name that is not a log-in costs the same password work as a
    // wrong password, so the time taken does not tell which names exist.
    const bool accepted = credentials.trusted
        ? found && login.valueAt(0, 2).toInt() != 0
        : VerifyLogonPassword(found ? login.valueAt(0, 1).toString() : QString(), credentials.password);
    if (!accepted)
        RefuseCommand(Engine::SQLite, QStringLiteral("Login failed for user '%1'.").arg(wanted), ErrProviderFailure);
    m_loginName = login.valueAt(0, 0).toString();
    m_sqlite->login = m_loginName.toUtf8();
}

void DatabaseConnection::registerSqliteFunctions()
{
    struct Function {
        const char* name;
        QByteArray SqliteSession::*field;
    };
    static const Function functions[] = {
        { "SUSER_NAME", &SqliteSession::login },     { "USER_NAME", &SqliteSession::login },
        { "HOST_NAME", &SqliteSession::host },       { "DB_NAME", &SqliteSession::databaseCode },
        { "APP_NAME", &SqliteSession::application },
    };
    // Each function reads its own field of the session, so the log-in can change after log-on.
    auto bind = [this](const char* name, QByteArray SqliteSession::*field) {
        struct Binding {
            SqliteSession* session;
            QByteArray SqliteSession::*field;
        };
        auto* binding = new Binding { m_sqlite.get(), field };
        sqlite3_create_function_v2(
            m_sqlite->handle, name, 0, SQLITE_UTF8, binding,
            [](sqlite3_context* context, int, sqlite3_value**) {
                const auto* b = static_cast<Binding*>(sqlite3_user_data(context));
                textFunction(context, b->session->*(b->field));
            },
            nullptr, nullptr, [](void* data) { delete static_cast<Binding*>(data); });
    };
    for (const Function& function : functions)
        bind(function.name, function.field);
    // ADD_DAYS(d, n) and DAY_AFTER(d), the server's functions of migration 0029: SQLite's own date()
    // does the arithmetic, so each gives exactly what date(d, '+n days') gives.
    for (const int arguments : { 2, 1 }) {
        sqlite3_create_function_v2(
            m_sqlite->handle, arguments == 2 ? "ADD_DAYS" : "DAY_AFTER", arguments, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
            nullptr,
            [](sqlite3_context* context, int count, sqlite3_value** values) {
                sqlite3* handle = sqlite3_context_db_handle(context);
                sqlite3_stmt* statement = nullptr;
                if (sqlite3_prepare_v2(handle, "SELECT date(?1, ?2 || ' days')", -1, &statement, nullptr)
                    == SQLITE_OK) {
                    sqlite3_bind_value(statement, 1, values[0]);
                    if (count == 2)
                        sqlite3_bind_value(statement, 2, values[1]);
                    else
                        sqlite3_bind_int(statement, 2, 1);
                }
                if (statement && sqlite3_step(statement) == SQLITE_ROW)
                    sqlite3_result_value(context, sqlite3_column_value(statement, 0));
                else
                    sqlite3_result_error(context, sqlite3_errmsg(handle), -1);
                sqlite3_finalize(statement);
            },
            nullptr, nullptr, nullptr);
    }
    bind("LOGIN_TIME", &SqliteSession::loginTime);
    sqlite3_create_function_v2(
        m_sqlite->handle, "PROCESS_ID", 0, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
        [](sqlite3_context* context, int, sqlite3_value**) {
            sqlite3_result_int64(context, QCoreApplication::applicationPid());
        },
        nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(
        m_sqlite->handle, "GETDATE", 0, SQLITE_UTF8, nullptr,
        [](sqlite3_context* context, int, sqlite3_value**) {
            textFunction(context, QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")).toUtf8());
        },
        nullptr, nullptr, nullptr);
}

void DatabaseConnection::closeSqlite()
{
    if (m_sqlite && m_sqlite->handle && m_db.isValid() && m_db.isOpen() && m_depth == 0)
        refreshStatistics(*m_sqlite, false);
}

void DatabaseConnection::startSqliteDeadline()
{
    m_sqlite->timedOut = false;
    m_sqlite->deadlineMs = static_cast<qint64>(m_timeout) * 1000;
    m_sqlite->clock.start();
}

bool DatabaseConnection::sqliteTimedOut() const
{
    return m_sqlite && m_sqlite->timedOut;
}

bool DatabaseConnection::sqliteWrites(const QString& sql) const
{
    return statementWrites(m_sqlite->handle, sql);
}

void DatabaseConnection::beginSqliteReadOnly()
{
    requireUsableTransaction();
    executeStatement(QStringLiteral("PRAGMA query_only = ON"));
    sqlite3_set_authorizer(m_sqlite->handle, &readOnlyAuthorizer, nullptr);
    m_readOnly = true;
}

void DatabaseConnection::endSqliteReadOnly()
{
    sqlite3_set_authorizer(m_sqlite->handle, nullptr, nullptr);
    QSqlQuery query(m_db);
    query.exec(QStringLiteral("PRAGMA query_only = OFF"));
}

void DatabaseConnection::runQuery(QSqlQuery& query, const QString& sql, Recordset& result, const Procedure* declared,
                                  std::optional<std::vector<Recordset::Column>>* columnCache)
{
    applyTimeout();
    if (!query.exec()) {
        const QSqlError error = query.lastError();
        query.finish();
        fail(error, sql);
    }
    readResult(query, result, declared, columnCache);
}

void DatabaseConnection::readResult(QSqlQuery& query, Recordset& result, const Procedure* declared,
                                    std::optional<std::vector<Recordset::Column>>* columnCache)
{
    if (!query.isSelect()) {
        query.finish();
        return;
    }
    if (columnCache && columnCache->has_value() && !std::any_of((*columnCache)->begin(), (*columnCache)->end(),
                                                                 [](const Recordset::Column& c) { return c.inferType; })) {
        readRows(query, result, **columnCache);
        return;
    }
    const QSqlRecord record = query.record();
    const int count = record.count();
    std::vector<Recordset::Column> columns(static_cast<size_t>(count));
    sqlite3_stmt* statement
        = m_sqlite ? handleOf<sqlite3_stmt*>(query.result()->handle(), "sqlite3_stmt*", "sqlite3_stmt *") : nullptr;
    for (int i = 0; i < count; ++i) {
        Recordset::Column& column = columns[static_cast<size_t>(i)];
        column.name = record.fieldName(i);
        if (takeDeclaredType(declared, column))
            continue;
        if (m_sqlite) {
            bool known = false;
            column.type = sqliteColumnType(statement ? sqlite3_column_decltype(statement, i) : nullptr, known);
            column.inferType = !known;
        } else {
            column.type = ColumnTypeOfMetaType(record.field(i).metaType().id());
        }
    }
    if (columnCache)
        *columnCache = columns;
    readRows(query, result, columns);
}

void DatabaseConnection::readRows(QSqlQuery& query, Recordset& result, const std::vector<Recordset::Column>& columns)
{
    const int count = static_cast<int>(columns.size());
    result.addResultSet(columns);
    // PostgreSQL gives the row count before the first row; SQLite does not (-1).
    result.reserveRows(query.size());
    while (query.next()) {
        for (int i = 0; i < count; ++i)
            result.appendValue(i, query.value(i));
        result.finishRow();
    }
    result.finishResultSet();
    const QSqlError error = query.lastError();
    query.finish();
    if (error.isValid() && error.type() != QSqlError::NoError)
        fail(error, query.lastQuery());
}
