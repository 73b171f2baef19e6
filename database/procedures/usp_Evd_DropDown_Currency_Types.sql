-- The currency types for pickers: identity and name, by name.
SELECT Currency_Type_ID AS "Currency_Type_ID", Currency_Type_Name AS "Currency_Type_Name"
FROM Currency_Types
ORDER BY Currency_Type_Name, Currency_Type_ID
