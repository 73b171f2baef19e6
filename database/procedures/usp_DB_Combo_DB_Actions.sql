-- The actions for pickers: identity and name, by name.
SELECT DB_Action_ID AS "DB_Action_ID", DB_Action_Name AS "DB_Action_Name"
FROM DB_Actions
ORDER BY DB_Action_Name, DB_Action_ID
