-- The files of one item, or of every item; first column the identity.
-- @param Item_ID integer
-- @columns File Text
SELECT x.Item_File_ID AS "Item_File_ID",
       i.Item_Number AS "Item Number",
       CASE WHEN f.DB_Folder_Name LIKE '%/' THEN CAST(f.DB_Folder_Name AS TEXT) || CAST(n.DB_File_Name AS TEXT)
            ELSE CAST(f.DB_Folder_Name AS TEXT) || '/' || CAST(n.DB_File_Name AS TEXT)
       END AS "File"
FROM Item_Files x
JOIN Items i ON i.Item_ID = x.Item_ID
JOIN DB_Files n ON n.DB_File_ID = x.DB_File_ID
JOIN DB_Folders f ON f.DB_Folder_ID = n.DB_Folder_ID
WHERE (:Item_ID IS NULL OR x.Item_ID = :Item_ID)
ORDER BY i.Item_Number, x.Item_File_ID
