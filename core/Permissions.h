#pragma once

#include <QString>
#include <QStringList>

// May the current user run a report, execute a named action, or perform a table action ("View",
// "Add", "Edit", "Delete")? A code or table the database does not know is refused with its own
// message whatever the flag; a refusal is shown only when asked for.
bool CheckReportPermission(const QString& reportCode, bool showRefusal);
bool CheckActionPermission(const QString& actionCode, bool showRefusal);
bool CheckTablePermission(const QString& tableAction, const QString& tableName, bool showRefusal);

// The columns of their own DB_Users row that every user may change, whatever their table
// permissions: the names and defaults of the user-options window. The log-in, the employee the
// user is and the administrator flag are the administrators' to set. The server grants the same.
const QStringList& OwnUserRecordColumns();

// Is the update of these columns of the row `identity` of `tableName` the current user's change
// of their own user record, within OwnUserRecordColumns()?
bool IsOwnUserRecordChange(const QString& tableName, int identity, const QStringList& columns);
