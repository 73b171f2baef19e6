-- One telephone by identity, with the columns of usp_Evd_Search_Telephones_All.
-- @param Telephone_ID integer
SELECT t.Telephone_ID AS "Telephone_ID",
       c.Country_Name AS "Country",
       t.Telephone_Area_Code AS "Area Code",
       t.Telephone_Number AS "Telephone Number",
       t.Telephone_Extention AS "Extention"
FROM Telephones t
LEFT JOIN Countries c ON c.Country_ID = t.Country_ID
WHERE t.Telephone_ID = :Telephone_ID
