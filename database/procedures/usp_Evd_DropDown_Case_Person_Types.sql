-- The case person types for pickers: identity and name, by name.
SELECT Case_Person_Type_ID AS "Case_Person_Type_ID", Case_Person_Type_Name AS "Case_Person_Type_Name"
FROM Case_Person_Types
ORDER BY Case_Person_Type_Name, Case_Person_Type_ID
