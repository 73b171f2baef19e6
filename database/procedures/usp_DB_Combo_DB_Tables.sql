-- The tables the program knows for pickers: identity and the name the program shows for the
-- table ("Item Actions", not "Item_Actions"), by that name.
SELECT DB_Table_ID AS "DB_Table_ID", DB_Table_Good_Name AS "DB_Table_Good_Name"
FROM DB_Tables
ORDER BY DB_Table_Good_Name, DB_Table_ID
