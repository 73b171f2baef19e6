-- The change log of one record, oldest change first.
-- @param DB_Table_Name text
-- @param DB_PK integer
SELECT DB_Change_Time AS "Date/Time",
       DB_Operation AS "Operation",
       DB_Login_Name AS "User",
       DB_Host_Name AS "Host",
       DB_App_Name AS "Program",
       DB_Old_Values AS "Old Values",
       DB_New_Values AS "New Values"
FROM DB_Change_Log
WHERE DB_Table_Name = :DB_Table_Name AND DB_PK = :DB_PK
ORDER BY DB_Change_Log_ID
