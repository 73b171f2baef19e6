-- The felony classes whose name and code begin with the given texts, every criterion optional; first column the identity.
-- @param Felony_Class_Name text
-- @param Felony_Class_Code text
SELECT t.Felony_Class_ID AS "Felony_Class_ID",
       t.Felony_Class_Name AS "Name",
       t.Felony_Class_Code AS "Code"
FROM Felony_Classes t
WHERE (CAST(:Felony_Class_Name AS TEXT) IS NULL OR lower(t.Felony_Class_Name) LIKE lower(CAST(:Felony_Class_Name AS TEXT)) || '%')
  AND (CAST(:Felony_Class_Code AS TEXT) IS NULL OR lower(t.Felony_Class_Code) LIKE lower(CAST(:Felony_Class_Code AS TEXT)) || '%')
ORDER BY t.Felony_Class_Name
