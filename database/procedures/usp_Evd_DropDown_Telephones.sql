-- The telephones for pickers: identity and "(area code) number x extention".
-- @columns Telephone Text
SELECT Telephone_ID AS "Telephone_ID",
       '(' || CAST(Telephone_Area_Code AS TEXT) || ') ' || CAST(Telephone_Number AS TEXT)
           || COALESCE(' x' || CAST(Telephone_Extention AS TEXT), '') AS "Telephone"
FROM Telephones
ORDER BY Telephone_Area_Code, Telephone_Number, Telephone_ID
