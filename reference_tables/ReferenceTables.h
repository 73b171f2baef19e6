#pragma once

#include "reference_tables/LookupTable.h"

#include <vector>

// The lookup tables, each declared once, grouped as the tables belong together.
std::vector<LookupTable> CaseClassificationTables();
std::vector<LookupTable> PropertyClassificationTables();
std::vector<LookupTable> ColourCurrencyUnitTables();
std::vector<LookupTable> NotificationGenderRaceTables();
std::vector<LookupTable> EmployeeAndNameTables();
std::vector<LookupTable> AddressTelephoneTypeTables();
std::vector<LookupTable> CountryStateTables();

// Every lookup table above.
std::vector<LookupTable> ReferenceTables();
// Registers the record and search window of every lookup table with the form registry.
void RegisterReferenceTableForms();
