#pragma once

#include "OrderedDictionary.h"

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

// "<" + text + ">", to set off a name or value inside a message.
QString AngleQuote(const QString& text);
// The text between double quotes, nothing escaped (a path on a command line).
QString Quote(const QString& text);
// The number floored at zero (a computed width or height during resizing).
double CompareIIf(double number);

// The statements of an SQL file: split at ";" that ends a line, outside strings, "--" comments
// and $$-quoted function bodies; comments are dropped.
QStringList SplitSqlStatements(const QString& text);
