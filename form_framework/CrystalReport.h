#pragma once

#include <QString>

// Opens the report viewer window on a report file of the Reports folder with the statement for its
// data: the start parameters "ReportFile" (the full path), "SQL" and "RecordName" (what the report
// is of, such as the item number: printed pages are named after the report and it, "Chain of
// Custody - 2024-0015-01"; empty for a report of no one record). A missing file shows "Cannot find
// Crystal Report <path>" and opens nothing. An action of its own: nothing is thrown, a failure is
// reported once; true when the viewer window was opened.
bool ShowCrystalReport(const QString& reportFileName, const QString& statement, const QString& recordName = {});

// The window class ShowCrystalReport opens: the library of the report viewer names it when it
// registers its windows.
void SetReportViewerWindow(const QString& windowName);
