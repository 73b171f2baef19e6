-- The current user's own record.
SELECT DB_User_ID AS "DB_User_ID" FROM DB_Users WHERE DB_User_Name = SUSER_NAME()
