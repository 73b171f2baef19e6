-- The countries whose name and codes begin with the given texts, every criterion optional; first column the identity.
-- @param Country_Name text
-- @param Country_Code_2 text
-- @param Country_Code_3 text
SELECT t.Country_ID AS "Country_ID",
       t.Country_Name AS "Name",
       t.Country_Code_2 AS "Code 2",
       t.Country_Code_3 AS "Code 3",
       t.Country_Number_3 AS "Number",
       t.Country_Telephone_Prefix AS "Telephone Prefix"
FROM Countries t
WHERE (CAST(:Country_Name AS TEXT) IS NULL OR lower(t.Country_Name) LIKE lower(CAST(:Country_Name AS TEXT)) || '%')
  AND (CAST(:Country_Code_2 AS TEXT) IS NULL OR lower(t.Country_Code_2) LIKE lower(CAST(:Country_Code_2 AS TEXT)) || '%')
  AND (CAST(:Country_Code_3 AS TEXT) IS NULL OR lower(t.Country_Code_3) LIKE lower(CAST(:Country_Code_3 AS TEXT)) || '%')
ORDER BY t.Country_Name
