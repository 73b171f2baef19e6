-- One of the reports by its identity, with the columns of usp_DB_Search_DB_Reports_All.
-- @param DB_Report_ID integer
SELECT t.DB_Report_ID AS "DB_Report_ID",
       t.DB_Report_Name AS "Report Name",
       t.DB_Report_Code AS "Report Code",
       t.DB_Default_Permission AS "Default Permission"
FROM DB_Reports t
WHERE t.DB_Report_ID = :DB_Report_ID
