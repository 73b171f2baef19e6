-- Every one of the reports; first column the identity.
SELECT t.DB_Report_ID AS "DB_Report_ID",
       t.DB_Report_Name AS "Report Name",
       t.DB_Report_Code AS "Report Code",
       t.DB_Default_Permission AS "Default Permission"
FROM DB_Reports t
ORDER BY t.DB_Report_Name, t.DB_Report_ID
