-- The table permission rows of the chosen user and tables and table actions, every criterion optional;
-- first column the identity.
-- @param DB_User_ID integer
-- @param DB_Table_ID integer
-- @param DB_Table_Action_ID integer
SELECT p.DB_Table_Permission_ID AS "DB_Table_Permission_ID",
       u.DB_User_Name AS "User",
       t.DB_Table_Name AS "Table",
       ta.DB_Table_Action_Name AS "Table Action",
       p.DB_Permission AS "Permission"
FROM DB_Table_Permissions p
JOIN DB_Users u ON u.DB_User_ID = p.DB_User_ID
JOIN DB_Tables t ON t.DB_Table_ID = p.DB_Table_ID
JOIN DB_Table_Actions ta ON ta.DB_Table_Action_ID = p.DB_Table_Action_ID
WHERE (:DB_User_ID IS NULL OR p.DB_User_ID = :DB_User_ID)
  AND (:DB_Table_ID IS NULL OR p.DB_Table_ID = :DB_Table_ID)
  AND (:DB_Table_Action_ID IS NULL OR p.DB_Table_Action_ID = :DB_Table_Action_ID)
ORDER BY u.DB_User_Name, t.DB_Table_Name, ta.DB_Table_Action_Name, p.DB_Table_Permission_ID
