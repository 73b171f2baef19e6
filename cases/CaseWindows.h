#pragma once

#include <QString>

#include <vector>

class DeclaredRecordWindow;
struct DeclaredTable;

// The windows of cases and of the people linked to them: frmCase and frmCases, frmCasePerson and
// frmCasePeople. Registered with the window registry by RegisterCaseWindows.
DeclaredTable CasesTable();
DeclaredTable CasePeopleTable();
void RegisterCaseWindows();

// Every table the cases library declares (people, employees, addresses, telephones, cases, case
// people, notifications): what the declarations sweep checks. A new declared window is added here.
std::vector<DeclaredTable> CaseDeclarations();

// Fills an empty case number from the case date as "YYYYMMDD"; a number already there is kept.
void SetDefaultCaseNumber(DeclaredRecordWindow& window);
