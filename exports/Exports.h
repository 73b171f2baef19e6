#pragma once

#include "core/ColumnType.h"

#include <QVariant>

#include <QString>

class Recordset;

// Query results turned into exports for the user.

// "Created on <time> by <user>", both as the database gives them (usp_DB_Rep_Signature); the
// time in the fixed pattern "MM/dd/yyyy hh:mm:ss AM". A null user leaves the text ending in " by ".
// Throws when the query fails (already reported when an action encloses it).
QString ReportSignature();

// The rows of the recordset's current result set as clip text: values separated by TAB, every
// row ended by CR LF, null as an empty text. Dates and times in the fixed patterns, numbers with
// "." and no grouping, Booleans as "True" and "False".
// One value as the exports write it: numbers with ".", dates with the fixed patterns, True/False.
QString ValueText(const QVariant& value, ColumnType type);

QString ClipText(const Recordset& recordset);

// Runs the statement and shows every result set as tab-separated text in a new text viewer:
// title, subtitle, signature, database, the statement, then per result set its field names and
// rows. An action of its own: a failing query or a missing text viewer is reported once, nothing is
// thrown and the result is false.
bool ExportToText(const QString& statement, const QString& title, const QString& subtitle);
