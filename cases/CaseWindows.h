#pragma once

#include <QString>

class DeclaredRecordWindow;
struct DeclaredTable;

// The windows of cases and of the people linked to them: frmCase and frmCases, frmCasePerson and
// frmCasePeople. Registered with the window registry by RegisterCaseWindows.
DeclaredTable CasesTable();
DeclaredTable CasePeopleTable();
void RegisterCaseWindows();

// Fills an empty case number from the case date as "YYYYMMDD"; a number already there is kept.
void SetDefaultCaseNumber(DeclaredRecordWindow& window);
