-- The genders whose name and code begin with the given texts, every criterion optional; first column the identity.
-- @param Gender_Name text
-- @param Gender_Code text
SELECT t.Gender_ID AS "Gender_ID",
       t.Gender_Name AS "Name",
       t.Gender_Code AS "Code"
FROM Genders t
WHERE (CAST(:Gender_Name AS TEXT) IS NULL OR lower(t.Gender_Name) LIKE lower(CAST(:Gender_Name AS TEXT)) || '%')
  AND (CAST(:Gender_Code AS TEXT) IS NULL OR lower(t.Gender_Code) LIKE lower(CAST(:Gender_Code AS TEXT)) || '%')
ORDER BY t.Gender_Name
