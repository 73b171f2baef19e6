#pragma once

#include <QString>

// Opens the report viewer window (frmCrystal) on a report file of the Reports folder with the
// statement for its data: the start parameters "ReportFile" (the full path) and "SQL". A missing
// file shows "Cannot find Crystal Report <path>" and opens nothing.
void ShowCrystalReport(const QString& reportFileName, const QString& statement);
