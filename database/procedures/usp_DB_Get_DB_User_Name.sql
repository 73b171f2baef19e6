-- The current user's system name and their first and last name.
-- @columns FLName Text
SELECT DB_User_Name AS "DB_User_Name",
       TRIM(COALESCE(DB_First_Name, '') || ' ' || COALESCE(DB_Last_Name, '')) AS "FLName"
FROM DB_Users WHERE DB_User_Name = SUSER_NAME()
