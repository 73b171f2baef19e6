-- One file update by its identity, with the columns of usp_DB_Search_DB_File_Updates_All.
-- @param DB_File_Update_ID integer
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
WHERE u.DB_File_Update_ID = :DB_File_Update_ID
