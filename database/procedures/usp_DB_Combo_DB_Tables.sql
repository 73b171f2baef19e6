-- The tables the program knows for pickers: identity and table name, by name.
SELECT DB_Table_ID AS "DB_Table_ID", DB_Table_Name AS "DB_Table_Name"
FROM DB_Tables
ORDER BY DB_Table_Name, DB_Table_ID
