-- The telephone types whose name and code begin with the given texts, every criterion optional; first column the identity.
-- @param Telephone_Type_Name text
-- @param Telephone_Type_Code text
SELECT t.Telephone_Type_ID AS "Telephone_Type_ID",
       t.Telephone_Type_Name AS "Name",
       t.Telephone_Type_Code AS "Code"
FROM Telephone_Types t
WHERE (CAST(:Telephone_Type_Name AS TEXT) IS NULL OR lower(t.Telephone_Type_Name) LIKE lower(CAST(:Telephone_Type_Name AS TEXT)) || '%')
  AND (CAST(:Telephone_Type_Code AS TEXT) IS NULL OR lower(t.Telephone_Type_Code) LIKE lower(CAST(:Telephone_Type_Code AS TEXT)) || '%')
ORDER BY t.Telephone_Type_Name
