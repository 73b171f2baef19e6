-- One of the users by its identity, with the columns of usp_DB_Search_DB_Users_All.
-- @param DB_User_ID integer
SELECT t.DB_User_ID AS "DB_User_ID",
       t.DB_User_Name AS "System Name",
       t.DB_Last_Name AS "Last Name",
       t.DB_First_Name AS "First Name",
       t.DB_Sys_Admin AS "Sys Admin"
FROM DB_Users t
WHERE t.DB_User_ID = :DB_User_ID
