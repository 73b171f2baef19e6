-- The reports for pickers: identity and name, by name.
SELECT DB_Report_ID AS "DB_Report_ID", DB_Report_Name AS "DB_Report_Name"
FROM DB_Reports
ORDER BY DB_Report_Name, DB_Report_ID
