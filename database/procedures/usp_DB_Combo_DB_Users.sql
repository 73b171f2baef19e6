-- The database users for pickers: identity and user name, by name.
SELECT DB_User_ID AS "DB_User_ID", DB_User_Name AS "DB_User_Name"
FROM DB_Users
ORDER BY DB_User_Name, DB_User_ID
