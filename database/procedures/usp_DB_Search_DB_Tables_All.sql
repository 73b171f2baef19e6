-- The tables whose table name begins with the given text (no text: every row); first column the identity.
-- @param DB_Table_Name text
SELECT t.DB_Table_ID AS "DB_Table_ID",
       t.DB_Table_Name AS "Table Name",
       t.DB_Table_Good_Name AS "Table Good Name",
       t.DB_Record_Good_Name AS "Record Good Name",
       t.DB_Default_Permission AS "Default Permission"
FROM DB_Tables t
WHERE (CAST(:DB_Table_Name AS TEXT) IS NULL OR lower(t.DB_Table_Name) LIKE lower(CAST(:DB_Table_Name AS TEXT)) || '%')
ORDER BY t.DB_Table_Name, t.DB_Table_ID
