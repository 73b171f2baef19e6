-- One action permission row by its identity, with the columns of usp_DB_Search_DB_Action_Permissions_All.
-- @param DB_Action_Permission_ID integer
SELECT p.DB_Action_Permission_ID AS "DB_Action_Permission_ID",
       u.DB_User_Name AS "User",
       a.DB_Action_Name AS "Action",
       p.DB_Permission AS "Permission"
FROM DB_Action_Permissions p
JOIN DB_Users u ON u.DB_User_ID = p.DB_User_ID
JOIN DB_Actions a ON a.DB_Action_ID = p.DB_Action_ID
WHERE p.DB_Action_Permission_ID = :DB_Action_Permission_ID
