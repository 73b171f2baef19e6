-- The search window that serves a table.
-- @param DB_Table_Name text
SELECT f.DB_App_Form_Name AS "DB_App_Form_Name"
FROM DB_Tables t
JOIN DB_App_Forms f ON f.DB_App_Form_ID = t.Multiple_Records_DB_App_Form_ID
WHERE t.DB_Table_Name = :DB_Table_Name
