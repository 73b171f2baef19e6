-- May the current user execute the action? An administrator may; otherwise the user's own
-- permission row decides, else the action's default. No row for an unknown code.
-- @param DB_Action_Code text
-- @columns Permission Boolean
SELECT CASE WHEN COALESCE(u.DB_Sys_Admin, 0) = 1 THEN 1
            WHEN p.DB_Permission IS NOT NULL THEN p.DB_Permission
            ELSE a.DB_Default_Permission END AS "Permission",
       a.DB_Action_Name AS "DB_Action_Name"
FROM DB_Actions a
LEFT JOIN DB_Users u ON u.DB_User_Name = SUSER_NAME()
LEFT JOIN DB_Action_Permissions p ON p.DB_Action_ID = a.DB_Action_ID AND p.DB_User_ID = u.DB_User_ID
WHERE a.DB_Action_Code = :DB_Action_Code
