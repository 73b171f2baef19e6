-- One table permission row by its identity, with the columns of usp_DB_Search_DB_Table_Permissions_All.
-- @param DB_Table_Permission_ID integer
SELECT p.DB_Table_Permission_ID AS "DB_Table_Permission_ID",
       u.DB_User_Name AS "User",
       t.DB_Table_Name AS "Table",
       ta.DB_Table_Action_Name AS "Table Action",
       p.DB_Permission AS "Permission"
FROM DB_Table_Permissions p
JOIN DB_Users u ON u.DB_User_ID = p.DB_User_ID
JOIN DB_Tables t ON t.DB_Table_ID = p.DB_Table_ID
JOIN DB_Table_Actions ta ON ta.DB_Table_Action_ID = p.DB_Table_Action_ID
WHERE p.DB_Table_Permission_ID = :DB_Table_Permission_ID
