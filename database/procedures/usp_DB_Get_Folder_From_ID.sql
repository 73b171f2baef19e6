-- The text of a folder of the register by its identity; no row for an unknown identity.
-- @param DB_Folder_ID integer
SELECT DB_Folder_Name AS "DB_Folder_Name"
FROM DB_Folders
WHERE DB_Folder_ID = :DB_Folder_ID
