-- May the current user perform the table action (View, Add, Edit, Delete) on the table? An
-- administrator may; otherwise the user's own permission row decides, else the table's default.
-- No row when the table or the action is unknown.
-- @param DB_Table_Action_Name text
-- @param DB_Table_Name text
-- @columns Permission Boolean
SELECT CASE WHEN COALESCE(u.DB_Sys_Admin, 0) = 1 THEN 1
            WHEN p.DB_Permission IS NOT NULL THEN p.DB_Permission
            ELSE t.DB_Default_Permission END AS "Permission",
       t.DB_Record_Good_Name AS "DB_Record_Good_Name",
       t.DB_Table_Good_Name AS "DB_Table_Good_Name"
FROM DB_Tables t
JOIN DB_Table_Actions ta ON ta.DB_Table_Action_Name = :DB_Table_Action_Name
LEFT JOIN DB_Users u ON u.DB_User_Name = SUSER_NAME()
LEFT JOIN DB_Table_Permissions p
       ON p.DB_Table_ID = t.DB_Table_ID AND p.DB_Table_Action_ID = ta.DB_Table_Action_ID AND p.DB_User_ID = u.DB_User_ID
WHERE t.DB_Table_Name = :DB_Table_Name
