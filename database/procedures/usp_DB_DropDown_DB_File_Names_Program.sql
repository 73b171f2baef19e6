-- The program's own files for pickers: identity and file name, by name.
SELECT DB_File_Name_ID AS "DB_File_Name_ID", DB_File_Name AS "DB_File_Name"
FROM DB_File_Names
WHERE DB_Program_File = 1
ORDER BY DB_File_Name, DB_File_Name_ID
