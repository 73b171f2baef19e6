-- One report permission row by its identity, with the columns of usp_DB_Search_DB_Report_Permissions_All.
-- @param DB_Report_Permission_ID integer
SELECT p.DB_Report_Permission_ID AS "DB_Report_Permission_ID",
       u.DB_User_Name AS "User",
       r.DB_Report_Name AS "Report",
       p.DB_Permission AS "Permission"
FROM DB_Report_Permissions p
JOIN DB_Users u ON u.DB_User_ID = p.DB_User_ID
JOIN DB_Reports r ON r.DB_Report_ID = p.DB_Report_ID
WHERE p.DB_Report_Permission_ID = :DB_Report_Permission_ID
