-- The table actions for pickers, in their own order (View, Add, Edit, Delete).
SELECT DB_Table_Action_ID AS "DB_Table_Action_ID", DB_Table_Action_Name AS "DB_Table_Action_Name"
FROM DB_Table_Actions
ORDER BY DB_Table_Action_ID
