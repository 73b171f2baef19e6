-- The races whose name and code begin with the given texts, every criterion optional; first column the identity.
-- @param Race_Name text
-- @param Race_Code text
SELECT t.Race_ID AS "Race_ID",
       t.Race_Name AS "Name",
       t.Race_Code AS "Code",
       t.Race_Description AS "Description"
FROM Races t
WHERE (CAST(:Race_Name AS TEXT) IS NULL OR lower(t.Race_Name) LIKE lower(CAST(:Race_Name AS TEXT)) || '%')
  AND (CAST(:Race_Code AS TEXT) IS NULL OR lower(t.Race_Code) LIKE lower(CAST(:Race_Code AS TEXT)) || '%')
ORDER BY t.Race_Name
