-- The unit types for pickers: identity and name, by name.
SELECT Unit_Type_ID AS "Unit_Type_ID", Unit_Type_Name AS "Unit_Type_Name"
FROM Unit_Types
ORDER BY Unit_Type_Name, Unit_Type_ID
