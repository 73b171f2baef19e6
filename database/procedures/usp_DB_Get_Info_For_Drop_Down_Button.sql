-- What the "..." button of a picker needs of the table it serves: the name of one record in
-- messages and the names of the table's record and search windows (NULL when it has none).
-- @param DB_Table_Name text
SELECT t.DB_Record_Good_Name AS "DB_Record_Good_Name",
       s.DB_App_Form_Name AS "Single_Record_Form",
       m.DB_App_Form_Name AS "Multiple_Records_Form"
FROM DB_Tables t
LEFT JOIN DB_App_Forms s ON s.DB_App_Form_ID = t.Single_Record_DB_App_Form_ID
LEFT JOIN DB_App_Forms m ON m.DB_App_Form_ID = t.Multiple_Records_DB_App_Form_ID
WHERE t.DB_Table_Name = :DB_Table_Name
