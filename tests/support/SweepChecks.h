#pragma once

// The per-table checks of the sweeps a new table enters, shared by the sweeps over the whole
// schema and by the test that adds a table by the recipe: one piece of code says what a table
// must satisfy.

#include <QString>
#include <QStringList>

class DatabaseConnection;

// The search pair "..._All" and "..._One": "_All" runs and lists a row of the sample data, "_One"
// takes the identity "_All" gives first, by name, and returns that row with the same columns
// (names, order and logical types). Failures name the procedures.
void ExpectSearchPairAgrees(DatabaseConnection& connection, const QString& allName, const QString& oneName);

// The newest change-log row of a table: its old and new values and the name it gives the table.
struct LoggedChange {
    QString oldValues;
    QString newValues;
    QString table;
};
LoggedChange LastLoggedChange(DatabaseConnection& connection, const QString& table);
// The keys of a flat JSON object in the order they are written (QJsonObject would sort them).
QStringList JsonKeysInOrder(const QString& json);

// One change of the table's first row is logged under the table's declared name, with old and new
// values whose keys are its columns in order, as `declared` (an embedded database, which keeps the
// spelling of its CREATE TABLE) names them. The table must hold a row: the sample rows give it one.
void ExpectChangeLogKeysAsDeclared(
    DatabaseConnection& connection, DatabaseConnection& declared, const QString& table, const QString& identity);
