-- The users whose system name begins with the given text (no text: every row); first column the identity.
-- @param DB_User_Name text
SELECT t.DB_User_ID AS "DB_User_ID",
       t.DB_User_Name AS "System Name",
       t.DB_Last_Name AS "Last Name",
       t.DB_First_Name AS "First Name",
       t.DB_Sys_Admin AS "Sys Admin"
FROM DB_Users t
WHERE (CAST(:DB_User_Name AS TEXT) IS NULL OR lower(t.DB_User_Name) LIKE lower(CAST(:DB_User_Name AS TEXT)) || '%')
ORDER BY t.DB_User_Name, t.DB_User_ID
