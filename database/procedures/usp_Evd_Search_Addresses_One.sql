-- One address by identity, with the columns of usp_Evd_Search_Addresses_All.
-- @param Address_ID integer
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
WHERE a.Address_ID = :Address_ID
