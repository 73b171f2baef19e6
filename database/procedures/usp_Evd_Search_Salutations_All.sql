-- The salutations whose name and code begin with the given texts, every criterion optional; first column the identity.
-- @param Salutation_Name text
-- @param Salutation_Code text
SELECT t.Salutation_ID AS "Salutation_ID",
       t.Salutation_Name AS "Name",
       t.Salutation_Code AS "Code"
FROM Salutations t
WHERE (CAST(:Salutation_Name AS TEXT) IS NULL OR lower(t.Salutation_Name) LIKE lower(CAST(:Salutation_Name AS TEXT)) || '%')
  AND (CAST(:Salutation_Code AS TEXT) IS NULL OR lower(t.Salutation_Code) LIKE lower(CAST(:Salutation_Code AS TEXT)) || '%')
ORDER BY t.Salutation_Name
