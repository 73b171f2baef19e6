#pragma once

#include <QString>

// May the current user run a report, execute a named action, or perform a table action ("View",
// "Add", "Edit", "Delete")? A code or table the database does not know is refused with its own
// message whatever the flag; a refusal is shown only when asked for.
bool CheckReportPermission(const QString& reportCode, bool showRefusal);
bool CheckActionPermission(const QString& actionCode, bool showRefusal);
bool CheckTablePermission(const QString& tableAction, const QString& tableName, bool showRefusal);
