#pragma once

#include <QString>

#include <utility>
#include <vector>

// The catalogue procedures of the list controls that are written in C++ rather than SQL:
//   usp_DB_Col_Columns_Width_Save (@DB_App_Form_Name, @DB_App_Grid_Name, @Column_Width_SQL):
//     keeps the current user's column widths of one grid; the widths arrive as the select text
//     the grid builds, which is read as data (never run) and refused unless every line is a
//     quoted column name and a number.
//   usp_DB_Limit_SP_To_IDs (@SP_Name, @ID_List): the rows of another catalogue procedure (called
//     without arguments) whose first column is one of the listed identities.
// The program calls this once at start-up, before the first window opens; calling it again is
// harmless.
void RegisterListControlProcedures();

// Reads the select text of the width save: lines "SELECT 'Name', 1800" and then
// "UNION SELECT 'Date', 1200.5", each ended by CR LF (the last one may lack it). Widths are
// rounded to whole twips. Throws AppError naming the first line it refuses.
std::vector<std::pair<QString, int>> ReadColumnWidthRows(const QString& selectText);
