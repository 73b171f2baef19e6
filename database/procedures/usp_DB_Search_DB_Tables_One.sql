-- One of the tables by its identity, with the columns of usp_DB_Search_DB_Tables_All.
-- @param DB_Table_ID integer
SELECT t.DB_Table_ID AS "DB_Table_ID",
       t.DB_Table_Name AS "Table Name",
       t.DB_Table_Good_Name AS "Table Good Name",
       t.DB_Record_Good_Name AS "Record Good Name",
       t.DB_Default_Permission AS "Default Permission"
FROM DB_Tables t
WHERE t.DB_Table_ID = :DB_Table_ID
