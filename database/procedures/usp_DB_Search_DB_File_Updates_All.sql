-- The file updates whose file name begins with the given text (no text: every row); first column the identity.
-- @param DB_File_Name text
SELECT u.DB_File_Update_ID AS "DB_File_Update_ID",
       n.DB_File_Name AS "File Name",
       u.File_Version AS "File Version",
       u.File_Date_Time AS "File Date & Time",
       s.DB_Folder_Name AS "Server Folder",
       c.DB_Folder_Name AS "Client Folder",
       u.Delete_Only AS "Delete Only",
       u.Update_On_Start AS "Update On Start"
FROM DB_File_Updates u
JOIN DB_File_Names n ON n.DB_File_Name_ID = u.DB_File_Name_ID
JOIN DB_Folders s ON s.DB_Folder_ID = u.Server_DB_Folder_ID
JOIN DB_Folders c ON c.DB_Folder_ID = u.Client_DB_Folder_ID
WHERE (CAST(:DB_File_Name AS TEXT) IS NULL OR lower(n.DB_File_Name) LIKE lower(CAST(:DB_File_Name AS TEXT)) || '%')
ORDER BY n.DB_File_Name, u.DB_File_Update_ID
