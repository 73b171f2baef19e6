-- The addresses whose street lines and city begin with the given texts ("%" and "_" act as
-- wildcards), every criterion optional; first column the identity. State is the chosen state's
-- code, else the other state written as text.
-- @param Street_Address_1 text
-- @param Street_Address_2 text
-- @param City text
-- @columns State Text
SELECT a.Address_ID AS "Address_ID",
       a.Street_Address_1 AS "Street Address 1",
       a.Street_Address_2 AS "Street Address 2",
       a.City AS "City",
       COALESCE(CAST(s.State_Code AS TEXT), CAST(a.State_Other AS TEXT)) AS "State",
       a.ZIP AS "ZIP",
       c.Country_Name AS "Country"
FROM Addresses a
LEFT JOIN States s ON s.State_ID = a.State_ID
LEFT JOIN Countries c ON c.Country_ID = a.Country_ID
WHERE (CAST(:Street_Address_1 AS TEXT) IS NULL
       OR lower(a.Street_Address_1) LIKE lower(CAST(:Street_Address_1 AS TEXT)) || '%')
  AND (CAST(:Street_Address_2 AS TEXT) IS NULL
       OR lower(a.Street_Address_2) LIKE lower(CAST(:Street_Address_2 AS TEXT)) || '%')
  AND (CAST(:City AS TEXT) IS NULL OR lower(a.City) LIKE lower(CAST(:City AS TEXT)) || '%')
ORDER BY a.City, a.Street_Address_1, a.Address_ID
