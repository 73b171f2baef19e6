-- The address types for pickers: identity and name, by name.
SELECT Address_Type_ID AS "Address_Type_ID", Address_Type_Name AS "Address_Type_Name"
FROM Address_Types
ORDER BY Address_Type_Name, Address_Type_ID
