-- The report permission rows of the chosen user and reports, every criterion optional;
-- first column the identity.
-- @param DB_User_ID integer
-- @param DB_Report_ID integer
SELECT p.DB_Report_Permission_ID AS "DB_Report_Permission_ID",
       u.DB_User_Name AS "User",
       r.DB_Report_Name AS "Report",
       p.DB_Permission AS "Permission"
FROM DB_Report_Permissions p
JOIN DB_Users u ON u.DB_User_ID = p.DB_User_ID
JOIN DB_Reports r ON r.DB_Report_ID = p.DB_Report_ID
WHERE (:DB_User_ID IS NULL OR p.DB_User_ID = :DB_User_ID)
  AND (:DB_Report_ID IS NULL OR p.DB_Report_ID = :DB_Report_ID)
ORDER BY u.DB_User_Name, r.DB_Report_Name, p.DB_Report_Permission_ID
