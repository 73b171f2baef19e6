-- The batch types for pickers: identity and name, by name.
SELECT Batch_Type_ID AS "Batch_Type_ID", Batch_Type_Name AS "Batch_Type_Name"
FROM Batch_Types
ORDER BY Batch_Type_Name, Batch_Type_ID
