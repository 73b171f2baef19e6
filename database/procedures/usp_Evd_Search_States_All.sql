-- The states whose name and code begin with the given texts, every criterion optional; first column the identity.
-- @param State_Name text
-- @param State_Code text
SELECT t.State_ID AS "State_ID",
       t.State_Name AS "Name",
       t.State_Code AS "Code",
       c.Country_Name AS "Country"
FROM States t
JOIN Countries c ON c.Country_ID = t.Country_ID
WHERE (CAST(:State_Name AS TEXT) IS NULL OR lower(t.State_Name) LIKE lower(CAST(:State_Name AS TEXT)) || '%')
  AND (CAST(:State_Code AS TEXT) IS NULL OR lower(t.State_Code) LIKE lower(CAST(:State_Code AS TEXT)) || '%')
ORDER BY t.State_Name
