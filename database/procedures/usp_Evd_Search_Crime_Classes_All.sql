-- The crime classes whose name and code begin with the given texts, every criterion optional; first column the identity.
-- @param Crime_Class_Name text
-- @param Crime_Class_Code text
SELECT t.Crime_Class_ID AS "Crime_Class_ID",
       t.Crime_Class_Name AS "Name",
       t.Crime_Class_Code AS "Code"
FROM Crime_Classes t
WHERE (CAST(:Crime_Class_Name AS TEXT) IS NULL OR lower(t.Crime_Class_Name) LIKE lower(CAST(:Crime_Class_Name AS TEXT)) || '%')
  AND (CAST(:Crime_Class_Code AS TEXT) IS NULL OR lower(t.Crime_Class_Code) LIKE lower(CAST(:Crime_Class_Code AS TEXT)) || '%')
ORDER BY t.Crime_Class_Name
