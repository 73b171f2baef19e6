-- The full path of a file of the register by its identity: its folder, one "/" and its name (a
-- folder that already ends in "/", the root, gets none). No row for an unknown identity.
-- @param DB_File_ID integer
-- @columns File_Path Text
SELECT CASE WHEN f.DB_Folder_Name LIKE '%/' THEN CAST(f.DB_Folder_Name AS TEXT) || CAST(n.DB_File_Name AS TEXT)
            ELSE CAST(f.DB_Folder_Name AS TEXT) || '/' || CAST(n.DB_File_Name AS TEXT)
       END AS "File_Path"
FROM DB_Files n
JOIN DB_Folders f ON f.DB_Folder_ID = n.DB_Folder_ID
WHERE n.DB_File_ID = :DB_File_ID
