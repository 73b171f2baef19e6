-- The telephone types for pickers: identity and name, by name.
SELECT Telephone_Type_ID AS "Telephone_Type_ID", Telephone_Type_Name AS "Telephone_Type_Name"
FROM Telephone_Types
ORDER BY Telephone_Type_Name, Telephone_Type_ID
