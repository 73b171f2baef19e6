#include "core/postgres/LibpqClient.h"

#include "core/postgres/PostgresStatements.h"

#include <libpq-fe.h>

#include <memory>

namespace {

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

void readResult(const PGresult* pg, Recordset& result, const QHash<QString, ColumnType>* declaredTypes,
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
        const auto declared
            = declaredTypes ? declaredTypes->constFind(column.name.toLower()) : QHash<QString, ColumnType>::const_iterator();
        column.type = declaredTypes && declared != declaredTypes->constEnd() ? declared.value()
                                                                             : postgresColumnType(PQftype(pg, i), PQfmod(pg, i));
    }
    if (columnCache)
        *columnCache = columns;
    ReadPostgresRows(pg, result, columns);
}

// A text the client made, freed once read; when it made none, `error` says why (never empty).
QString taken(char* text, PGconn* connection, const char* otherwise, QString& error)
{
    if (!text) {
        error = QString::fromUtf8(PQerrorMessage(connection)).trimmed();
        if (error.isEmpty())
            error = QString::fromLatin1(otherwise);
        return {};
    }
    const QString result = QString::fromUtf8(text);
    PQfreemem(text);
    return result;
}

class Libpq final : public PostgresClient {
public:
    QSqlError prepare(pg_conn* connection, const QByteArray& name, const QString& sql) override
    {
        const PgResult pg(PQprepare(connection, name.constData(), NumberPlaceholders(sql).constData(), 0, nullptr));
        if (!succeeded(pg.get()))
            return postgresError(connection, pg.get(), QStringLiteral("Unable to prepare statement"));
        return {};
    }

    QSqlError run(pg_conn* connection, const QString& sql, const std::vector<QVariant>& values,
        const QByteArray& preparedName, const QHash<QString, ColumnType>* declaredTypes,
        std::optional<std::vector<Recordset::Column>>* columnCache, Recordset& result) override
    {
        const PostgresParameters parameters(values);
        PgResult pg;
        if (!preparedName.isEmpty()) {
            pg.reset(PQexecPrepared(connection, preparedName.constData(), parameters.count(), parameters.values(),
                parameters.lengths(), nullptr, 0));
        } else {
            const QByteArray text = values.empty() ? sql.toUtf8() : NumberPlaceholders(sql);
            pg.reset(PQexecParams(connection, text.constData(), parameters.count(), parameters.types(),
                parameters.values(), parameters.lengths(), nullptr, 0));
        }
        if (!succeeded(pg.get()))
            return postgresError(connection, pg.get(), QStringLiteral("Unable to create query"));
        if (PQresultStatus(pg.get()) == PGRES_TUPLES_OK)
            readResult(pg.get(), result, declaredTypes, columnCache);
        return {};
    }

    QSqlError endTransaction(pg_conn* connection, bool commit) override
    {
        if (!commit) {
            PQclear(PQexecParams(connection, "ROLLBACK", 0, nullptr, nullptr, nullptr, nullptr, 0));
            return {};
        }
        const PgResult result(PQexecParams(connection, "COMMIT", 0, nullptr, nullptr, nullptr, nullptr, 0));
        if (succeeded(result.get()) && qstrcmp(PQcmdStatus(result.get()), "ROLLBACK") != 0)
            return {};
        const QString what = QStringLiteral("Could not commit transaction");
        const QSqlError error = succeeded(result.get())
            ? QSqlError(QStringLiteral("QPSQL: ") + what, QString(), QSqlError::TransactionError)
            : postgresError(connection, result.get(), what, QSqlError::TransactionError);
        PQclear(PQexecParams(connection, "ROLLBACK", 0, nullptr, nullptr, nullptr, nullptr, 0));
        return error;
    }

    bool isBroken(pg_conn* connection, bool failedWithoutSqlState) override
    {
        // While the connection still counts as good the client may merely have failed to send:
        // reading the end of the stream tells.
        if (failedWithoutSqlState && PQstatus(connection) == CONNECTION_OK && !PQconsumeInput(connection))
            return true;
        return PQstatus(connection) == CONNECTION_BAD;
    }

    QString quoted(pg_conn* connection, const QString& text, bool identifier, QString& error) override
    {
        const QByteArray utf8 = text.toUtf8();
        char* quoted = identifier ? PQescapeIdentifier(connection, utf8.constData(), static_cast<size_t>(utf8.size()))
                                  : PQescapeLiteral(connection, utf8.constData(), static_cast<size_t>(utf8.size()));
        return taken(quoted, connection, "The text could not be quoted.", error);
    }

    QString passwordVerifier(pg_conn* connection, const QString& password, const QString& role, QString& error) override
    {
        const QByteArray utf8 = password.toUtf8();
        const QByteArray name = role.toUtf8();
        char* verifier = PQencryptPasswordConn(connection, utf8.constData(), name.constData(), "scram-sha-256");
        return taken(verifier, connection, "The password verifier could not be computed.", error);
    }
};

} // namespace

PostgresClient& LibpqClient()
{
    static Libpq client;
    return client;
}
