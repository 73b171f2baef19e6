-- The server enforces every validated constraint itself; what can be broken is a constraint that
-- was added without checking the existing rows. First the constraints of every table with their
-- state, then those not validated.
SELECT c.conrelid::regclass::text AS "Table_Name", c.conname::text AS "Constraint_Name",
       CASE c.contype WHEN 'p' THEN 'Primary Key' WHEN 'f' THEN 'Foreign Key' WHEN 'u' THEN 'Unique'
                      WHEN 'c' THEN 'Check' ELSE c.contype::text END AS "Constraint_Type",
       CASE WHEN c.convalidated THEN 'Yes' ELSE 'No' END AS "Validated"
FROM pg_constraint c JOIN pg_namespace n ON n.oid = c.connamespace
WHERE n.nspname = current_schema() AND c.conrelid <> 0
ORDER BY 1, 2;
SELECT c.conrelid::regclass::text AS "Table_Name", c.conname::text AS "Constraint_Name"
FROM pg_constraint c JOIN pg_namespace n ON n.oid = c.connamespace
WHERE n.nspname = current_schema() AND c.conrelid <> 0 AND NOT c.convalidated
ORDER BY 1, 2
