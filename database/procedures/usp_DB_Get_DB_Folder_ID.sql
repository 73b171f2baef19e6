-- The identity of a folder of the register, found by its text without leading or trailing blanks
-- and registered when it is not there yet. Paths compare exactly (letter case counts). No row
-- for an empty text.
-- @param DB_Folder_Name text
INSERT INTO DB_Folders (DB_Folder_Name)
SELECT trim(CAST(:DB_Folder_Name AS TEXT))
WHERE trim(CAST(:DB_Folder_Name AS TEXT)) <> ''
ON CONFLICT (DB_Folder_Name) DO NOTHING;
SELECT DB_Folder_ID AS "DB_Folder_ID"
FROM DB_Folders
WHERE DB_Folder_Name = trim(CAST(:DB_Folder_Name AS TEXT))
