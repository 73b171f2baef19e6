-- 1 when the current user's own record is complete, 0 when the user should fill it in. A log-in
-- without a record gets an empty one here, so the user's own record can always be opened.
INSERT INTO DB_Users (DB_User_Name)
SELECT SUSER_NAME()
WHERE NOT EXISTS (SELECT 1 FROM DB_Users WHERE DB_User_Name = SUSER_NAME());
SELECT CASE WHEN EXISTS (SELECT 1 FROM DB_Users
                         WHERE DB_User_Name = SUSER_NAME()
                           AND COALESCE(DB_Last_Name, '') <> '' AND COALESCE(DB_First_Name, '') <> '')
            THEN 1 ELSE 0 END AS "User_Complete"
