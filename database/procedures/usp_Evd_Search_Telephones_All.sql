-- The telephones whose number and area code begin with the given texts ("%" and "_" act as
-- wildcards), every criterion optional; first column the identity.
-- @param Telephone_Number text
-- @param Telephone_Area_Code text
SELECT t.Telephone_ID AS "Telephone_ID",
       c.Country_Name AS "Country",
       t.Telephone_Area_Code AS "Area Code",
       t.Telephone_Number AS "Telephone Number",
       t.Telephone_Extention AS "Extention"
FROM Telephones t
LEFT JOIN Countries c ON c.Country_ID = t.Country_ID
WHERE (CAST(:Telephone_Number AS TEXT) IS NULL
       OR lower(t.Telephone_Number) LIKE lower(CAST(:Telephone_Number AS TEXT)) || '%')
  AND (CAST(:Telephone_Area_Code AS TEXT) IS NULL
       OR lower(t.Telephone_Area_Code) LIKE lower(CAST(:Telephone_Area_Code AS TEXT)) || '%')
ORDER BY t.Telephone_Area_Code, t.Telephone_Number, t.Telephone_ID
