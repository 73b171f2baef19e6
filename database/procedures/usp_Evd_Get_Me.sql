-- The employee the current user is.
SELECT Employee_ID AS "Employee_ID" FROM DB_Users WHERE DB_User_Name = SUSER_NAME()
