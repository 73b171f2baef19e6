-- May the current user run the report? An administrator may; otherwise the user's own
-- permission row decides, else the report's default. No row for an unknown code.
-- @param DB_Report_Code text
-- @columns Permission Boolean
SELECT CASE WHEN COALESCE(u.DB_Sys_Admin, 0) = 1 THEN 1
            WHEN p.DB_Permission IS NOT NULL THEN p.DB_Permission
            ELSE r.DB_Default_Permission END AS "Permission",
       r.DB_Report_Name AS "DB_Report_Name"
FROM DB_Reports r
LEFT JOIN DB_Users u ON u.DB_User_Name = SUSER_NAME()
LEFT JOIN DB_Report_Permissions p ON p.DB_Report_ID = r.DB_Report_ID AND p.DB_User_ID = u.DB_User_ID
WHERE r.DB_Report_Code = :DB_Report_Code
