#pragma once

#include <QString>

class zFieldBase;
struct DeclaredTable;

// The windows of items and of the two trees they hang on: frmItem and frmItems, frmItemModel and
// frmItemModels, frmLocation and frmLocations. Registered by RegisterItemWindows
// (custody/CustodyWindows.h).
DeclaredTable ItemsTable();
DeclaredTable ItemModelsTable();
DeclaredTable LocationsTable();

// The two halves of a pair rule, asked of the first field A of a pair that must be filled
// together: "<A> cannot be populated if <B> is empty" when only A is filled, "<A> is required if
// <B> is populated" when only B is; "" otherwise. A picker counts as empty with no entry chosen.
QString RequireEmptyDependency(zFieldBase* first, zFieldBase* second);
QString RequireDependency(zFieldBase* first, zFieldBase* second);
