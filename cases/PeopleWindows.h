#pragma once

#include "declared_windows/DeclaredTable.h"

#include <vector>

// The windows of people, employees, addresses and telephones: each a record and a search window
// of the lookup patterns, declared with the few hooks of their own (name and address splits, the
// measurement-unit pair rule, the default geography, the map and employee actions).
std::vector<DeclaredTable> PeopleTables();
// Registers the eight windows with the form registry.
void RegisterPeopleForms();

// The information box of an action whose related row or map address is gone: nothing opens.
void ShowRelatedRecordGone();

// The pair rule of a measurement and its unit: "" when both or neither are given, else the
// message without its full stop ("Height Unit is required if Height is populated").
class zFieldBase;
QString MeasurementUnitMessage(zFieldBase* unit, zFieldBase* measurement);
