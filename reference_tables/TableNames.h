#pragma once

class zComboBoxText;

// The table pickers list each table by the name the program shows everywhere ("Item Actions");
// a table's internal name typed in one ("Item_Actions") chooses that table as well, when the
// picker is left. Tables are the schema's, so no table picker offers to add one.
void ResolveTypedTableNames(zComboBoxText* picker);
