-- The action permission rows of the chosen user and actions, every criterion optional;
-- first column the identity.
-- @param DB_User_ID integer
-- @param DB_Action_ID integer
SELECT p.DB_Action_Permission_ID AS "DB_Action_Permission_ID",
       u.DB_User_Name AS "User",
       a.DB_Action_Name AS "Action",
       p.DB_Permission AS "Permission"
FROM DB_Action_Permissions p
JOIN DB_Users u ON u.DB_User_ID = p.DB_User_ID
JOIN DB_Actions a ON a.DB_Action_ID = p.DB_Action_ID
WHERE (:DB_User_ID IS NULL OR p.DB_User_ID = :DB_User_ID)
  AND (:DB_Action_ID IS NULL OR p.DB_Action_ID = :DB_Action_ID)
ORDER BY u.DB_User_Name, a.DB_Action_Name, p.DB_Action_Permission_ID
