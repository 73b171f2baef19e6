-- The programs that write to the database, for pickers, by name.
SELECT DB_Application_ID AS "DB_Application_ID", DB_Application_Name AS "DB_Application_Name"
FROM DB_Applications
ORDER BY DB_Application_Name, DB_Application_ID
