#pragma once

#include <QString>

class Recordset;
struct WorkbookRequest;

// Writes the workbook of every result set of the recordset (from its first one) with
// libxlsxwriter into `file`, a scratch file the program then moves to `path` (named in the
// messages). "" when written, else why not.
QString WriteWorkbookFile(const QString& file, const QString& path, Recordset& recordset, const WorkbookRequest& request);
