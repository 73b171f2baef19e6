-- The actions whose action name begins with the given text (no text: every row); first column the identity.
-- @param DB_Action_Name text
SELECT t.DB_Action_ID AS "DB_Action_ID",
       t.DB_Action_Name AS "Action Name",
       t.DB_Action_Code AS "Action Code",
       t.DB_Default_Permission AS "Default Permission"
FROM DB_Actions t
WHERE (CAST(:DB_Action_Name AS TEXT) IS NULL OR lower(t.DB_Action_Name) LIKE lower(CAST(:DB_Action_Name AS TEXT)) || '%')
ORDER BY t.DB_Action_Name, t.DB_Action_ID
