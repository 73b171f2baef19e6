-- Every table of the database with its columns in table order.
SELECT c.table_name::text AS "Table_Name", c.ordinal_position::integer AS "Column_Order",
       c.column_name::text AS "Column_Name", c.data_type::text AS "Data_Type",
       CASE WHEN c.is_nullable = 'YES' THEN 'Yes' ELSE 'No' END AS "Nullable", c.column_default::text AS "Default_Value",
       CASE WHEN EXISTS (SELECT 1 FROM information_schema.key_column_usage k
                         JOIN information_schema.table_constraints tc
                           ON tc.constraint_name = k.constraint_name AND tc.table_schema = k.table_schema
                         WHERE tc.constraint_type = 'PRIMARY KEY' AND k.table_schema = c.table_schema
                           AND k.table_name = c.table_name AND k.column_name = c.column_name)
            THEN 'Yes' ELSE 'No' END AS "Primary_Key"
FROM information_schema.columns c
JOIN information_schema.tables t ON t.table_schema = c.table_schema AND t.table_name = c.table_name
WHERE c.table_schema = current_schema() AND t.table_type = 'BASE TABLE'
ORDER BY c.table_name, c.ordinal_position
