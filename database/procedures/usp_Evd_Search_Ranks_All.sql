-- The ranks whose name and code begin with the given texts, every criterion optional; first column the identity.
-- @param Rank_Name text
-- @param Rank_Code text
SELECT t.Rank_ID AS "Rank_ID",
       t.Rank_Name AS "Name",
       t.Rank_Code AS "Code",
       t.Rank_Description AS "Description"
FROM Ranks t
WHERE (CAST(:Rank_Name AS TEXT) IS NULL OR lower(t.Rank_Name) LIKE lower(CAST(:Rank_Name AS TEXT)) || '%')
  AND (CAST(:Rank_Code AS TEXT) IS NULL OR lower(t.Rank_Code) LIKE lower(CAST(:Rank_Code AS TEXT)) || '%')
ORDER BY t.Rank_Name
