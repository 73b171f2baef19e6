-- One of the actions by its identity, with the columns of usp_DB_Search_DB_Actions_All.
-- @param DB_Action_ID integer
SELECT t.DB_Action_ID AS "DB_Action_ID",
       t.DB_Action_Name AS "Action Name",
       t.DB_Action_Code AS "Action Code",
       t.DB_Default_Permission AS "Default Permission"
FROM DB_Actions t
WHERE t.DB_Action_ID = :DB_Action_ID
