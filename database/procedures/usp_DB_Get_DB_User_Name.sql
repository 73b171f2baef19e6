-- The current user's system name.
SELECT DB_User_Name FROM DB_Users WHERE DB_User_Name = SUSER_NAME()
