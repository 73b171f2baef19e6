#include "core/Connection.h"

#include "core/AppError.h"
#include "core/AppInfo.h"
#include "core/CommandParser.h"
#include "core/Logins.h"
#include "core/PostgresStatements.h"
#include "core/ProcedureCatalogue.h"
#include "core/Schema.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlRecord>
#include <QSqlResult>
#include <QSysInfo>

#include <libpq-fe.h>
#include <sqlite3.h>

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>

struct DatabaseConnection::SqliteSession {
    sqlite3* handle = nullptr;
    QByteArray login;
    QByteArray host;
    QByteArray databaseCode;
    QByteArray application;
    QElapsedTimer clock;
    qint64 deadlineMs = 0; // 0: no limit
    bool timedOut = false;
    QByteArray loginTime; // when the connection logged on, as GETDATE() writes times
};

namespace {

std::atomic<int> s_connectionSerial { 0 };
std::atomic<int> s_statementSerial { 0 };

struct PgResultFree {
    void operator()(PGresult* result) const { PQclear(result); }
};
using PgResult = std::unique_ptr<PGresult, PgResultFree>;

// A failure of the server as the program's error handling reads it: the server's text ending in
// its SQLSTATE in parentheses (empty when the connection broke before the server could say why),
// and the SQLSTATE as the native code.
QSqlError postgresError(PGconn* connection, const PGresult* result, const QString& what,
    QSqlError::ErrorType type = QSqlError::StatementError)
{
    QString message = QString::fromUtf8(PQerrorMessage(connection));
    QString code;
    if (result) {
        code = QString::fromLatin1(PQresultErrorField(result, PG_DIAG_SQLSTATE));
        message += QLatin1Char('(') + code + QLatin1Char(')');
    }
    return QSqlError(QStringLiteral("QPSQL: ") + what, message, type, code);
}

bool succeeded(const PGresult* result)
{
    const ExecStatusType status = result ? PQresultStatus(result) : PGRES_FATAL_ERROR;
    return status == PGRES_TUPLES_OK || status == PGRES_COMMAND_OK || status == PGRES_EMPTY_QUERY;
}

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

[[noreturn]] void refuse(Engine engine, const QString& message, qint32 number = ErrProviderCommand)
{
    throw AppError(number, message, QString::fromLatin1(FactsOf(engine).errorSource));
}

bool isNoOpStatement(const QString& statement)
{
    const QString s = statement.simplified().toUpper();
    return s == QLatin1String("SET NOCOUNT ON") || s == QLatin1String("SET NOCOUNT OFF")
        || s == QLatin1String("SET ANSI_DEFAULTS ON") || s == QLatin1String("SET ANSI_DEFAULTS OFF");
}

// A date and a wall-clock time, kept apart: a local QDateTime asks the C library for the time
// zone, which re-reads the zone file each time, and an argument needs neither zone nor offset.
struct Moment {
    QDate date;
    QTime time;
};

// The ISO shapes the program itself writes: "yyyy-MM-dd", then optionally " " or "T" and
// "HH:mm", "HH:mm:ss" or "HH:mm:ss.zzz".
std::optional<Moment> parseIsoMoment(const QString& text)
{
    if (text.size() != 10 && text.size() != 16 && text.size() != 19 && text.size() != 23)
        return std::nullopt;
    const QDate date = QDate::fromString(QStringView(text).left(10), Qt::ISODate);
    if (!date.isValid())
        return std::nullopt;
    if (text.size() == 10)
        return Moment { date, QTime(0, 0) };
    if (text.at(10) != QLatin1Char(' ') && text.at(10) != QLatin1Char('T'))
        return std::nullopt;
    if (text.size() == 23 && text.at(19) != QLatin1Char('.'))
        return std::nullopt;
    const QTime time = QTime::fromString(QStringView(text).mid(11), Qt::ISODateWithMs);
    if (!time.isValid())
        return std::nullopt;
    return Moment { date, time };
}

std::optional<Moment> parseDateText(const QString& raw)
{
    const QString text = raw.trimmed();
    if (const auto iso = parseIsoMoment(text))
        return iso;
    for (const char* pattern : { "MM/dd/yyyy h:mm:ss AP", "MM/dd/yyyy h:mm AP", "MM/dd/yyyy HH:mm:ss", "M/d/yyyy h:mm:ss AP",
                                 "M/d/yyyy h:mm AP" }) {
        const QDateTime value = QDateTime::fromString(text, QString::fromLatin1(pattern));
        if (value.isValid())
            return Moment { value.date(), value.time() };
    }
    for (const char* pattern : { "MM/dd/yyyy", "M/d/yyyy", "yyyyMMdd" }) {
        const QDate value = QDate::fromString(text, QString::fromLatin1(pattern));
        if (value.isValid())
            return Moment { value, QTime(0, 0) };
    }
    return std::nullopt;
}

QString numberText(double number) { return QString::number(number, 'g', QLocale::FloatingPointShortest); }

QString typeNameOf(ParameterType type)
{
    switch (type) {
    case ParameterType::Integer:
        return QStringLiteral("integer");
    case ParameterType::Number:
        return QStringLiteral("number");
    case ParameterType::Money:
        return QStringLiteral("money");
    case ParameterType::Bit:
        return QStringLiteral("bit");
    default:
        return QStringLiteral("text");
    }
}

[[noreturn]] void refuseOutOfRange(Engine engine, const QString& parameter, const QString& value, ParameterType type)
{
    const QString range = type == ParameterType::Integer
        ? QStringLiteral(" (-9223372036854775808 to 9223372036854775807)")
        : type == ParameterType::Money ? QStringLiteral(" (less than 1000000000000000 either way)")
                                       : QString();
    refuse(engine,
        QStringLiteral("The value %1 for @%2 is out of the range of the %3 type%4; nothing was run.")
            .arg(value, parameter, typeNameOf(type), range));
}

// Infinity and NaN are no value the database can store, whatever the declared type.
double finiteNumber(Engine engine, const QString& parameter, double number, ParameterType type)
{
    if (!std::isfinite(number))
        refuse(engine,
            QStringLiteral(
                "The value %1 for @%2 is not a finite number, so it cannot be stored as %3; nothing was run.")
                .arg(numberText(number), parameter, typeNameOf(type)));
    return number;
}

bool isWholeNumberText(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^[+-]?[0-9]+$"));
    return pattern.match(text).hasMatch();
}

// An argument of a whole-number parameter, converted exactly: whole values pass unchanged,
// fractions are cut towards zero (as the server converts a decimal to an integer), and a value
// outside the 64-bit range is refused rather than wrapped or rounded.
qlonglong integerArgument(Engine engine, const QString& parameter, const QVariant& value)
{
    constexpr double kLimit = 9223372036854775808.0; // 2^63, exactly representable
    switch (value.typeId()) {
    case QMetaType::QString: {
        const QString text = value.toString().trimmed();
        bool ok = false;
        const qlonglong number = text.toLongLong(&ok);
        if (ok)
            return number;
        if (isWholeNumberText(text))
            refuseOutOfRange(engine, parameter, text, ParameterType::Integer);
        refuse(engine,
            QStringLiteral("Conversion failed when converting the varchar value '%1' to data type int.")
                .arg(value.toString()));
    }
    case QMetaType::Double:
    case QMetaType::Float: {
        const double number = std::trunc(finiteNumber(engine, parameter, value.toDouble(), ParameterType::Integer));
        if (number < -kLimit || number >= kLimit)
            refuseOutOfRange(engine, parameter, numberText(value.toDouble()), ParameterType::Integer);
        return static_cast<qlonglong>(number);
    }
    case QMetaType::ULongLong:
    case QMetaType::ULong: {
        const qulonglong number = value.toULongLong();
        if (number > static_cast<qulonglong>(std::numeric_limits<qlonglong>::max()))
            refuseOutOfRange(engine, parameter, QString::number(number), ParameterType::Integer);
        return static_cast<qlonglong>(number);
    }
    default: {
        bool ok = false;
        const qlonglong number = value.toLongLong(&ok);
        if (!ok)
            refuse(engine, QStringLiteral("Error converting data type to int."));
        return number;
    }
    }
}

// Converts one argument to the parameter's declared type, as the server converts the arguments
// of a call; a value that does not convert, or does not fit the type, is refused with a message
// before anything runs.
QVariant convertArgument(Engine engine, const QString& parameter, const QVariant& value, ParameterType type)
{
    if (value.isNull())
        return {};
    const bool isText = value.typeId() == QMetaType::QString;
    const bool isFloating = value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float;
    switch (type) {
    case ParameterType::Text:
        // A typed value of the program's own reaches a text parameter as its literal would:
        // numbers with "." and no grouping, Booleans 0/1, dates in the ISO form.
        if (isFloating)
            return numberText(finiteNumber(engine, parameter, value.toDouble(), type));
        if (value.typeId() == QMetaType::Bool)
            return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
        if (value.typeId() == QMetaType::QDate)
            return value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
        if (value.typeId() == QMetaType::QDateTime)
            return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        return value.toString();
    case ParameterType::Integer:
        return QVariant::fromValue(integerArgument(engine, parameter, value));
    case ParameterType::Number:
    case ParameterType::Money: {
        bool ok = false;
        double number = isText ? value.toString().trimmed().toDouble(&ok) : value.toDouble(&ok);
        if (!ok && !(isText && std::isinf(number)))
            refuse(engine, QStringLiteral("Error converting data type varchar to numeric."));
        finiteNumber(engine, parameter, number, type);
        if (type == ParameterType::Money) {
            // NUMERIC(19,4): 15 whole digits.
            number = std::round(number * 10000.0) / 10000.0;
            if (std::fabs(number) >= 1e15)
                refuseOutOfRange(
                    engine, parameter, isText ? value.toString().trimmed() : numberText(value.toDouble()), type);
        }
        return number;
    }
    case ParameterType::Bit: {
        if (isText) {
            const QString text = value.toString().trimmed();
            if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
                return 1;
            if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
                return 0;
            bool ok = false;
            const double number = text.toDouble(&ok);
            if (!ok)
                refuse(engine, QStringLiteral("Conversion failed when converting the varchar value '%1' to data type bit.").arg(text));
            return finiteNumber(engine, parameter, number, type) != 0 ? 1 : 0;
        }
        if (isFloating)
            return finiteNumber(engine, parameter, value.toDouble(), type) != 0 ? 1 : 0;
        return value.toLongLong() != 0 ? 1 : 0;
    }
    case ParameterType::Date:
    case ParameterType::DateTime: {
        std::optional<Moment> moment;
        if (value.typeId() == QMetaType::QDateTime)
            moment = Moment { value.toDateTime().date(), value.toDateTime().time() };
        else if (value.typeId() == QMetaType::QDate)
            moment = Moment { value.toDate(), QTime(0, 0) };
        else
            moment = parseDateText(value.toString());
        if (!moment)
            refuse(engine, QStringLiteral("Conversion failed when converting date and/or time from character string."));
        if (type == ParameterType::Date) {
            // An argument already in the ISO form is bound as it is (a date argument often passes
            // through more than one call).
            if (isText && value.toString().size() == 10 && parseIsoMoment(value.toString()))
                return value.toString();
            return moment->date.toString(Qt::ISODate);
        }
        return moment->date.toString(Qt::ISODate) + QLatin1Char(' ') + moment->time.toString(QStringLiteral("HH:mm:ss.zzz"));
    }
    }
    return value;
}

// A NUL character ends a text for both engines' client libraries: refused before it is sent, on
// both engines alike, rather than cut short or mangled on the way.
void refuseNulCharacter(Engine engine, const QVariant& value, const QString& parameter)
{
    if (value.typeId() != QMetaType::QString || !value.toString().contains(QChar(0)))
        return;
    if (parameter.isEmpty())
        refuse(engine,
            QStringLiteral("A text value contains a NUL character, which the database cannot store; nothing was run."));
    refuse(engine,
        QStringLiteral(
            "The text value for @%1 contains a NUL character, which the database cannot store; nothing was run.")
            .arg(parameter));
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

ColumnType postgresColumnType(Oid oid, int modifier)
{
    switch (oid) {
    case 16: // bool
    case 21: // int2: kept for flags
        return ColumnType::Boolean;
    case 20:
    case 23:
    case 26:
        return ColumnType::Integer;
    case 700:
    case 701:
        return ColumnType::Double;
    case 1700: // numeric: scale 4 is money
        return modifier >= 4 && ((modifier - 4) & 0xffff) == 4 ? ColumnType::Currency : ColumnType::Double;
    case 1082:
        return ColumnType::Date;
    case 1114:
    case 1184:
        return ColumnType::DateTime;
    default:
        return ColumnType::Text;
    }
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
    if (m_sqlite && m_sqlite->handle && m_db.isValid() && m_db.isOpen() && m_depth == 0)
        refreshStatistics(*m_sqlite, false);
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

void DatabaseConnection::openSqlite(const Credentials& credentials)
{
    const QString name = m_target.databaseName.trimmed();
    if (name.isEmpty())
        refuse(Engine::SQLite, QStringLiteral("No database file is named."), ErrProviderFailure);
    const QString path = QDir::isAbsolutePath(name) ? QDir::cleanPath(name) : GetMainPath() + QStringLiteral("Data/") + name;
    const bool isNew = !QFileInfo::exists(path);
    const QString osUser = operatingSystemUser();
    if (isNew) {
        // Only the trusted log-on of the operating-system user creates a database: it becomes
        // that database's first administrator.
        if (!credentials.trusted)
            refuse(Engine::SQLite, QStringLiteral("Cannot open database \"%1\". The database file does not exist.").arg(path),
                   ErrProviderFailure);
        if (const QString why = createOwnerOnlyDatabaseFile(path); !why.isEmpty())
            refuse(
                Engine::SQLite, QStringLiteral("Cannot create database \"%1\". %2").arg(path, why), ErrProviderFailure);
    }

    m_db = QSqlDatabase::addDatabase(QString::fromLatin1(FactsOf(Engine::SQLite).driver), m_connectionName);
    QSqlDatabase& db = m_db;
    db.setDatabaseName(path);
    if (!db.open()) {
        const QString why = db.lastError().text().trimmed();
        if (isNew)
            QFile::remove(path);
        refuse(Engine::SQLite, why, ErrProviderFailure);
    }

    m_sqlite = std::make_unique<SqliteSession>();
    m_sqlite->handle = handleOf<sqlite3*>(db.driver()->handle(), "sqlite3*");
    if (!m_sqlite->handle)
        refuse(Engine::SQLite, QStringLiteral("The SQLite driver gives no handle."), ErrProviderFailure);
    m_hostName = QSysInfo::machineHostName();
    m_databaseCode = QFileInfo(path).completeBaseName();
    m_sqlite->host = m_hostName.toUtf8();
    m_sqlite->databaseCode = m_databaseCode.toUtf8();
    m_sqlite->application = ApplicationTitle().toUtf8();
    m_sqlite->login = osUser.toUtf8();
    m_sqlite->loginTime = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")).toUtf8();
    registerSqliteFunctions();
    sqlite3_busy_timeout(m_sqlite->handle, 30000);
    sqlite3_progress_handler(m_sqlite->handle, 5000, &progressHandler, m_sqlite.get());
    executeStatement(QStringLiteral("PRAGMA foreign_keys = ON"));

    try {
        if (isNew) {
            UpgradeSchema(*this);
            CreateFirstAdministrator(*this, osUser, QString());
        } else {
            const int version = SchemaVersion(*this);
            if (version > LatestSchemaVersion())
                refuse(Engine::SQLite, QStringLiteral("The database was made by a newer version of the program (schema %1, "
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
        refuse(Engine::SQLite, QStringLiteral("Login failed for user '%1'.").arg(wanted), ErrProviderFailure);
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

void DatabaseConnection::openPostgres(const Credentials& credentials)
{
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
        refuse(Engine::PostgreSQL, error.databaseText().trimmed().isEmpty() ? error.text().trimmed() : error.databaseText().trimmed(),
               ErrProviderFailure);
    }
    m_hostName = QSysInfo::machineHostName();
    // Notices ("... does not exist, skipping") are the server talking to itself.
    executeStatement(QStringLiteral("SET client_min_messages = warning"));
    executeStatement(QStringLiteral("SELECT set_config('bramblecot.host', ?, false)"), { m_hostName });
    Recordset facts = executeStatement(QStringLiteral("SELECT session_user, current_database()"));
    m_loginName = facts.valueAt(0, 0).toString();
    m_databaseCode = facts.valueAt(0, 1).toString();
    const int version = SchemaVersion(*this);
    if (version != LatestSchemaVersion() && !(m_upgrading && version < LatestSchemaVersion()))
        refuse(Engine::PostgreSQL,
               QStringLiteral("The database %1 has schema version %2; this program needs version %3. "
                              "The schema owner brings it up to date with: Bramblecot_Main --upgrade-schema")
                   .arg(m_databaseCode)
                   .arg(version)
                   .arg(LatestSchemaVersion()),
               ErrProviderFailure);
}

void DatabaseConnection::setCommandTimeout(int seconds)
{
    m_timeout = seconds < 0 ? 0 : seconds;
}

void DatabaseConnection::applyTimeout()
{
    if (m_sqlite) {
        m_sqlite->timedOut = false;
        m_sqlite->deadlineMs = static_cast<qint64>(m_timeout) * 1000;
        m_sqlite->clock.start();
        return;
    }
    if (m_appliedTimeout == m_timeout)
        return;
    runPostgresCommand(QStringLiteral("SET statement_timeout = %1").arg(static_cast<qint64>(m_timeout) * 1000));
    m_appliedTimeout = m_timeout;
}

namespace {
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

void DatabaseConnection::beginReadOnly()
{
    if (m_readOnly)
        refuse(m_target.engine, QStringLiteral("A read-only scope is already open."));
    if (m_sqlite) {
        requireUsableTransaction();
        executeStatement(QStringLiteral("PRAGMA query_only = ON"));
        sqlite3_set_authorizer(m_sqlite->handle, &readOnlyAuthorizer, nullptr);
        m_readOnly = true;
        return;
    }
    // A unit of work already open could not be made read-only after its first statement.
    if (m_depth > 0)
        refuse(m_target.engine, QStringLiteral("A read-only scope cannot begin inside a transaction."));
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

void DatabaseConnection::endReadOnly()
{
    if (!m_readOnly)
        return;
    m_readOnly = false;
    if (m_sqlite) {
        sqlite3_set_authorizer(m_sqlite->handle, nullptr, nullptr);
        QSqlQuery query(m_db);
        query.exec(QStringLiteral("PRAGMA query_only = OFF"));
        return;
    }
    // Whatever ran inside is thrown away with the unit, also a unit the statement spoiled.
    while (m_depth > 0)
        rollbackTransaction();
    m_doomed = false;
}

PGconn* DatabaseConnection::postgresConnection() const
{
    if (!isOpen())
        return nullptr;
    return handleOf<PGconn*>(m_db.driver()->handle(), "PGconn*", "pg_conn*");
}

void DatabaseConnection::runPostgresCommand(const QString& sql)
{
    PGconn* connection = postgresConnection();
    if (!connection)
        refuse(m_target.engine, QStringLiteral("The connection is closed."), ErrProviderFailure);
    const PgResult result(PQexecParams(connection, sql.toUtf8().constData(), 0, nullptr, nullptr, nullptr, nullptr, 0));
    if (!succeeded(result.get()))
        fail(postgresError(connection, result.get(), QStringLiteral("Unable to create query")), sql);
}

void DatabaseConnection::runPostgres(const QString& sql, const std::vector<QVariant>& values, Recordset& result,
    const Procedure* declared, PreparedStatement* prepared)
{
    PGconn* connection = postgresConnection();
    if (!connection)
        refuse(m_target.engine, QStringLiteral("The connection is closed."), ErrProviderFailure);
    applyTimeout();
    const PostgresParameters parameters(values);
    // A text of more than one statement is refused by the server itself: the extended protocol
    // takes exactly one.
    PgResult pg;
    if (prepared) {
        pg.reset(PQexecPrepared(connection, prepared->serverName.constData(), parameters.count(), parameters.values(),
            parameters.lengths(), nullptr, 0));
    } else {
        // Without values a text runs as it is written ("?" is then an operator, as before).
        const QByteArray text = values.empty() ? sql.toUtf8() : NumberPlaceholders(sql);
        pg.reset(PQexecParams(connection, text.constData(), parameters.count(), parameters.types(), parameters.values(),
            parameters.lengths(), nullptr, 0));
    }
    if (!succeeded(pg.get()))
        fail(postgresError(connection, pg.get(), QStringLiteral("Unable to create query")), sql);
    if (PQresultStatus(pg.get()) == PGRES_TUPLES_OK)
        readPostgresResult(pg.get(), result, declared, prepared ? &prepared->columns : nullptr);
}

void DatabaseConnection::readPostgresResult(const PGresult* pg, Recordset& result, const Procedure* declared,
    std::optional<std::vector<Recordset::Column>>* columnCache)
{
    if (columnCache && columnCache->has_value()) {
        ReadPostgresRows(pg, result, **columnCache);
        return;
    }
    const int count = PQnfields(pg);
    std::vector<Recordset::Column> columns(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        Recordset::Column& column = columns[static_cast<size_t>(i)];
        column.name = QString::fromUtf8(PQfname(pg, i));
        if (!takeDeclaredType(declared, column))
            column.type = postgresColumnType(PQftype(pg, i), PQfmod(pg, i));
    }
    if (columnCache)
        *columnCache = columns;
    ReadPostgresRows(pg, result, columns);
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
    PGconn* connection = handleOf<PGconn*>(m_db.driver()->handle(), "PGconn*", "pg_conn*");
    if (!connection)
        return false;
    // A failure without an SQLSTATE did not come from the server. When the server went without a
    // word (an immediate restart) the client first fails to send and says so, while the
    // connection still counts as good until it reads the end of the stream: read it now, so the
    // command that found the connection broken is the one that says so.
    if (sqlState.isEmpty() && PQstatus(connection) == CONNECTION_OK && !PQconsumeInput(connection))
        return true;
    return PQstatus(connection) == CONNECTION_BAD;
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
    if ((m_sqlite && m_sqlite->timedOut) || (engine == Engine::PostgreSQL && native == QLatin1String("57014"))) {
        number = ErrQueryTimeout;
        description = QStringLiteral("Query timeout expired");
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
            refuse(m_target.engine,
                QStringLiteral("The connection to the database was lost and the open transaction has been rolled back; "
                               "its remaining commands were not run."),
                ErrProviderFailure);
        }
        reopen();
    }
    if (!isOpen())
        refuse(m_target.engine, QStringLiteral("The connection is closed."), ErrProviderFailure);
    if (m_doomed)
        refuse(m_target.engine, QStringLiteral("The transaction has been rolled back; its remaining commands were not run."));
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
        refuse(m_target.engine,
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
        refuse(m_target.engine, QStringLiteral("Could not find stored procedure '%1'.").arg(procedureName));
    std::vector<QVariant> values(procedure->parameters.size());
    std::vector<bool> given(procedure->parameters.size(), false);
    size_t position = 0;
    for (const ProcedureArgument& argument : arguments) {
        // Positional values (the parser leaves them unnamed) take the parameters in declared order.
        int index = 0;
        if (argument.name.isEmpty()) {
            if (position >= procedure->parameters.size())
                refuse(m_target.engine,
                    QStringLiteral("Procedure or function %1 has too many arguments specified.").arg(procedure->name));
            index = static_cast<int>(position++);
        } else {
            index = procedure->parameterIndex(argument.name);
            if (index < 0)
                refuse(m_target.engine,
                    QStringLiteral("@%1 is not a parameter for procedure %2.").arg(argument.name, procedure->name));
            if (given[static_cast<size_t>(index)])
                refuse(m_target.engine, QStringLiteral("Parameter '@%1' was supplied multiple times.").arg(argument.name));
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
        converted[i] = convertArgument(m_target.engine, parameter.name, arguments[i], parameter.type);
        refuseNulCharacter(m_target.engine, converted[i], parameter.name);
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
            writes = writes || statementWrites(m_sqlite->handle, statement->sql);
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
        refuseNulCharacter(m_target.engine, value, QString());
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
    if (!m_sqlite) {
        PGconn* connection = postgresConnection();
        if (!connection)
            refuse(m_target.engine, QStringLiteral("The connection is closed."), ErrProviderFailure);
        auto prepared = std::make_unique<PreparedStatement>();
        prepared->serverName = QByteArrayLiteral("bramblecot_") + QByteArray::number(++s_statementSerial);
        const PgResult pg(
            PQprepare(connection, prepared->serverName.constData(), NumberPlaceholders(sql).constData(), 0, nullptr));
        if (!succeeded(pg.get()))
            fail(postgresError(connection, pg.get(), QStringLiteral("Unable to prepare statement")), sql);
        return *m_prepared.emplace(sql, std::move(prepared)).first->second;
    }
    auto prepared = std::make_unique<PreparedStatement>(PreparedStatement { QSqlQuery(m_db), std::nullopt, {} });
    prepared->query.setForwardOnly(true);
    if (!prepared->query.prepare(sql))
        fail(prepared->query.lastError(), sql);
    return *m_prepared.emplace(sql, std::move(prepared)).first->second;
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
        PGconn* connection = postgresConnection();
        if (!connection)
            return;
        if (!commit) {
            PQclear(PQexecParams(connection, "ROLLBACK", 0, nullptr, nullptr, nullptr, nullptr, 0));
            return;
        }
        // The server answers a COMMIT of a unit it has already given up with ROLLBACK.
        const PgResult result(PQexecParams(connection, "COMMIT", 0, nullptr, nullptr, nullptr, nullptr, 0));
        if (succeeded(result.get()) && qstrcmp(PQcmdStatus(result.get()), "ROLLBACK") != 0)
            return;
        const QString what = QStringLiteral("Could not commit transaction");
        const QSqlError error = succeeded(result.get())
            ? QSqlError(QStringLiteral("QPSQL: ") + what, QString(), QSqlError::TransactionError)
            : postgresError(connection, result.get(), what, QSqlError::TransactionError);
        PQclear(PQexecParams(connection, "ROLLBACK", 0, nullptr, nullptr, nullptr, nullptr, 0));
        fail(error, QStringLiteral("COMMIT"));
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
        refuse(m_target.engine, QStringLiteral("The transaction has been rolled back; nothing was committed."));
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
