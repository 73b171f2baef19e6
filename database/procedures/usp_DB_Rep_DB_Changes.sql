-- The recorded changes, newest first, filtered by whichever criteria are given. The log keeps
-- names, so each identity is matched through its table's name; a "To" date takes in that whole day.
-- @param DB_User_ID integer
-- @param DB_Table_ID integer
-- @param DB_Operation_ID integer
-- @param DB_Application_ID integer
-- @param Change_Date_From date
-- @param Change_Date_To date
SELECT c.DB_Change_Time AS "Date/Time",
       c.DB_Table_Name AS "Table",
       c.DB_PK AS "Record ID",
       c.DB_Operation AS "Operation",
       c.DB_Login_Name AS "User",
       c.DB_Host_Name AS "Host",
       c.DB_App_Name AS "Program",
       c.DB_Old_Values AS "Old Values",
       c.DB_New_Values AS "New Values"
FROM DB_Change_Log c
WHERE (:DB_User_ID IS NULL OR EXISTS (SELECT 1 FROM DB_Users u
           WHERE u.DB_User_ID = :DB_User_ID AND lower(u.DB_User_Name) = lower(c.DB_Login_Name)))
  AND (:DB_Table_ID IS NULL OR EXISTS (SELECT 1 FROM DB_Tables t
           WHERE t.DB_Table_ID = :DB_Table_ID AND lower(t.DB_Table_Name) = lower(c.DB_Table_Name)))
  AND (:DB_Operation_ID IS NULL OR EXISTS (SELECT 1 FROM DB_Operations o
           WHERE o.DB_Operation_ID = :DB_Operation_ID AND lower(o.DB_Operation_Name) = lower(c.DB_Operation)))
  AND (:DB_Application_ID IS NULL OR EXISTS (SELECT 1 FROM DB_Applications a
           WHERE a.DB_Application_ID = :DB_Application_ID AND a.DB_Application_Name = c.DB_App_Name))
  AND (:Change_Date_From IS NULL OR c.DB_Change_Time >= :Change_Date_From)
  AND (:Change_Date_To IS NULL OR c.DB_Change_Time < DAY_AFTER(:Change_Date_To))
ORDER BY c.DB_Change_Log_ID DESC
