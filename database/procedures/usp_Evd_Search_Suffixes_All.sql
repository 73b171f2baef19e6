-- The suffixes whose name and code begin with the given texts, every criterion optional; first column the identity.
-- @param Suffix_Name text
-- @param Suffix_Code text
SELECT t.Suffix_ID AS "Suffix_ID",
       t.Suffix_Name AS "Name",
       t.Suffix_Code AS "Code"
FROM Suffixes t
WHERE (CAST(:Suffix_Name AS TEXT) IS NULL OR lower(t.Suffix_Name) LIKE lower(CAST(:Suffix_Name AS TEXT)) || '%')
  AND (CAST(:Suffix_Code AS TEXT) IS NULL OR lower(t.Suffix_Code) LIKE lower(CAST(:Suffix_Code AS TEXT)) || '%')
ORDER BY t.Suffix_Name
