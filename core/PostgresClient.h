#pragma once

#include "core/Recordset.h"

#include <QByteArray>
#include <QHash>
#include <QSqlError>
#include <QString>
#include <QVariant>

#include <optional>
#include <vector>

struct pg_conn;

// What the connection asks of PostgreSQL's client library, libpq, on the Qt driver's own
// connection. The one implementation (core/postgres/) is the only code calling libpq; the program
// has it in the module bramblecot_postgres.so in its folder and loads it the first time it opens
// a PostgreSQL connection, so start-up never maps libpq nor what it pulls in (Kerberos, LDAP,
// TLS). The tests and benchmarks link it in (postgres_linked).
//
// A call that fails returns the error as the program's error handling reads it (the server's text
// ending in its SQLSTATE in parentheses, the SQLSTATE as the native code); success returns an
// invalid QSqlError.
class PostgresClient {
public:
    virtual ~PostgresClient() = default;

    // Prepares `sql` (positional "?" placeholders) on the server under `name`.
    virtual QSqlError prepare(pg_conn* connection, const QByteArray& name, const QString& sql) = 0;
    // Runs one statement through the extended query protocol, which takes exactly one: the one
    // prepared under `preparedName`, or else `sql` itself (its "?" placeholders numbered when there
    // are values; without values "?" stays an operator). A result with rows becomes a new result
    // set of `result`: its columns are `*columnCache` when that holds them, else named by the server
    // and typed by `declaredTypes` (lower-case names) or by the server's types, and then kept in
    // `*columnCache` when given.
    virtual QSqlError run(pg_conn* connection, const QString& sql, const std::vector<QVariant>& values,
        const QByteArray& preparedName, const QHash<QString, ColumnType>* declaredTypes,
        std::optional<std::vector<Recordset::Column>>* columnCache, Recordset& result)
        = 0;
    // Ends the open transaction. A COMMIT the server answers with ROLLBACK (a unit it had already
    // given up) fails; the unit is then rolled back. A rollback never fails.
    virtual QSqlError endTransaction(pg_conn* connection, bool commit) = 0;
    // Whether the connection is broken. When a failure came with no SQLSTATE it did not come from
    // the server: the end of the stream is read first, so a server that went away without a word
    // is noticed by the command that found it.
    virtual bool isBroken(pg_conn* connection, bool failedWithoutSqlState) = 0;
    // `text` as a quoted identifier or string literal for this connection; empty, with `error`
    // set, when it cannot be quoted.
    virtual QString quoted(pg_conn* connection, const QString& text, bool identifier, QString& error) = 0;
    // The SCRAM-SHA-256 verifier of `password` for `role`, computed here so that the password
    // itself never travels; empty, with `error` set, when it cannot be computed.
    virtual QString passwordVerifier(
        pg_conn* connection, const QString& password, const QString& role, QString& error)
        = 0;
};

// The module's file in the program folder.
QString PostgresModuleFile();

// The client: the one a program linked in (UsePostgresClient), else the module loaded from the
// program folder on first use. Throws AppError ("The PostgreSQL engine could not be loaded: ...")
// when the module is missing or broken.
PostgresClient& RequirePostgresClient();

// A program that links the client in (the tests and benchmarks) uses that one.
void UsePostgresClient(PostgresClient& client);

// The Qt PostgreSQL driver's connection handle, checked by its type name; null when the driver
// gives none.
pg_conn* PostgresHandle(const QVariant& driverHandle);
