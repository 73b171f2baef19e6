#pragma once

#include "declared_windows/DeclaredTable.h"

#include <vector>

// The lookup tables, each declared once, grouped as the tables belong together.
std::vector<DeclaredTable> CaseClassificationTables();
std::vector<DeclaredTable> PropertyClassificationTables();
std::vector<DeclaredTable> ColourCurrencyUnitTables();
std::vector<DeclaredTable> NotificationGenderRaceTables();
std::vector<DeclaredTable> EmployeeAndNameTables();
std::vector<DeclaredTable> AddressTelephoneTypeTables();
std::vector<DeclaredTable> CountryStateTables();

// Every lookup table above.
std::vector<DeclaredTable> ReferenceTables();
// Registers the record and search window of every lookup table with the form registry.
void RegisterReferenceTableForms();
