-- The warning types for pickers: identity and name, by name.
SELECT Warning_Type_ID AS "Warning_Type_ID", Warning_Type_Name AS "Warning_Type_Name"
FROM Warning_Types
ORDER BY Warning_Type_Name, Warning_Type_ID
