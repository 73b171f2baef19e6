-- The engine's own checks: the file's integrity ("ok" when sound), then every row whose foreign
-- key finds no parent row.
SELECT integrity_check AS "Integrity_Check" FROM pragma_integrity_check;
SELECT f."table" AS "Table_Name", f.rowid AS "Row_ID", f.parent AS "Parent_Table", f.fkid AS "Foreign_Key"
FROM pragma_foreign_key_check f
