#pragma once

#include "core/OrderedDictionary.h"

#include <QString>
#include <QStringList>

// Quoting and assembling the SQL text the program builds itself. The builders place names and
// literals verbatim: the literals must already be valid SQL (SQLString, a field's DBValue) and the
// names come from the program's own tables and windows, never from user text.

// The text without leading and trailing space characters (tabs and line ends stay).
QString trimBlanks(const QString& text);

// "'" + the text without surrounding blanks + "'"; quotes inside are NOT doubled.
QString QuoteText(const QString& text);
// The SQL string literal of the text: quotes doubled, surrounding blanks removed. Never NULL.
QString SQLString(const QString& text);

// INSERT INTO table(k1, k2) CR LF VALUES(v1, v2)
QString BuildInsertSQL(const QString& tableName, const PairDictionary& pairs);
// UPDATE table CR LF SET k1 = v1, CR LF k2 = v2 (the caller appends its WHERE clause)
QString BuildUpdateSQL(const QString& tableName, const PairDictionary& pairs);
// procedure call + " " + @k1 = v1, CR LF @k2 = v2
QString BuildExecSQL(const QString& procedureCall, const PairDictionary& pairs);

// A name read from the database (DB_Tables.DB_ID_Field, DB_Table_Name) may enter a statement only
// when it is a plain identifier: a letter or "_" first, then letters, digits and "_", at most 63
// characters, so it needs no quoting on either engine and can carry no SQL of its own.
bool IsPlainIdentifier(const QString& name);
// The name itself; raises "The <what> <name> is not a plain name of letters, digits and
// underscores." when it is not one (what: "identity field of the table <Colors>", say).
QString RequirePlainIdentifier(const QString& name, const QString& what);

// "<" + text + ">", to set off a name or value inside a message.
QString AngleQuote(const QString& text);
// The text between double quotes, nothing escaped (a path on a command line).
QString Quote(const QString& text);
// The number floored at zero (a computed width or height during resizing).
double CompareIIf(double number);

// The statements of an SQL file: split at ";" that ends a line, outside strings, "--" comments
// and $$-quoted function bodies; comments are dropped.
QStringList SplitSqlStatements(const QString& text);
