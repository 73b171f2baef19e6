-- The property types for pickers: identity and name, by name.
SELECT Property_Type_ID AS "Property_Type_ID", Property_Type_Name AS "Property_Type_Name"
FROM Property_Types
ORDER BY Property_Type_Name, Property_Type_ID
