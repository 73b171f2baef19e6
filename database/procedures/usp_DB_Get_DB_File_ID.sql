-- The identity of a file of the register, found by its folder text and file name and registered
-- (folder first, as usp_DB_Get_DB_Folder_ID does) when it is not there yet. Paths compare exactly
-- (letter case counts). No row when either text is empty.
-- @param DB_Folder_Name text
-- @param DB_File_Name text
INSERT INTO DB_Folders (DB_Folder_Name)
SELECT trim(CAST(:DB_Folder_Name AS TEXT))
WHERE trim(CAST(:DB_Folder_Name AS TEXT)) <> '' AND trim(CAST(:DB_File_Name AS TEXT)) <> ''
ON CONFLICT (DB_Folder_Name) DO NOTHING;
INSERT INTO DB_Files (DB_Folder_ID, DB_File_Name)
SELECT f.DB_Folder_ID, trim(CAST(:DB_File_Name AS TEXT))
FROM DB_Folders f
WHERE f.DB_Folder_Name = trim(CAST(:DB_Folder_Name AS TEXT)) AND trim(CAST(:DB_File_Name AS TEXT)) <> ''
ON CONFLICT (DB_Folder_ID, DB_File_Name) DO NOTHING;
SELECT n.DB_File_ID AS "DB_File_ID"
FROM DB_Files n
JOIN DB_Folders f ON f.DB_Folder_ID = n.DB_Folder_ID
WHERE f.DB_Folder_Name = trim(CAST(:DB_Folder_Name AS TEXT)) AND n.DB_File_Name = trim(CAST(:DB_File_Name AS TEXT))
