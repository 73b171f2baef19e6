-- Every table of the database with its columns in table order.
SELECT m.name AS "Table_Name", p.cid + 1 AS "Column_Order", p.name AS "Column_Name", p.type AS "Data_Type",
       CASE WHEN p."notnull" = 1 THEN 'No' ELSE 'Yes' END AS "Nullable", p.dflt_value AS "Default_Value",
       CASE WHEN p.pk > 0 THEN 'Yes' ELSE 'No' END AS "Primary_Key"
FROM sqlite_master m, pragma_table_info(m.name) p
WHERE m.type = 'table' AND m.name NOT LIKE 'sqlite\_%' ESCAPE '\'
ORDER BY m.name, p.cid
