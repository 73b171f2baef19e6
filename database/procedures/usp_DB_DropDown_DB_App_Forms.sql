-- The program's windows for pickers: identity and window name, by name.
SELECT DB_App_Form_ID AS "DB_App_Form_ID", DB_App_Form_Name AS "DB_App_Form_Name"
FROM DB_App_Forms
ORDER BY DB_App_Form_Name, DB_App_Form_ID
