-- The server enforces every validated constraint itself; what can be broken is a constraint that
-- was added without checking the existing rows. First "ok" or one line per such constraint, then
-- the foreign keys among them (no single row is named: the whole constraint is in doubt).
SELECT 'ok' AS "Integrity_Check"
WHERE NOT EXISTS (SELECT 1 FROM pg_constraint c JOIN pg_namespace n ON n.oid = c.connamespace
                  WHERE n.nspname = current_schema() AND c.conrelid <> 0 AND NOT c.convalidated)
UNION ALL
SELECT 'Constraint ' || c.conname || ' of ' || c.conrelid::regclass::text || ' is not validated'
FROM pg_constraint c JOIN pg_namespace n ON n.oid = c.connamespace
WHERE n.nspname = current_schema() AND c.conrelid <> 0 AND NOT c.convalidated;
SELECT c.conrelid::regclass::text AS "Table_Name", NULL::text AS "Row_ID", c.confrelid::regclass::text AS "Parent_Table",
       c.conname::text AS "Foreign_Key"
FROM pg_constraint c JOIN pg_namespace n ON n.oid = c.connamespace
WHERE n.nspname = current_schema() AND c.contype = 'f' AND NOT c.convalidated
ORDER BY 1, 4
