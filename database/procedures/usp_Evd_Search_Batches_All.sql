-- The batches whose number begins with the given text, in any letter case (no text: every batch);
-- first column the identity.
-- @param Batch_Number text
SELECT b.Batch_ID AS "Batch_ID",
       b.Batch_Number AS "Batch Number",
       b.Created_Date_Time AS "Created On",
       t.Batch_Type_Name AS "Batch Type",
       e.Employee AS "Created By",
       b.Batch_Description AS "Description"
FROM Batches b
LEFT JOIN Batch_Types t ON t.Batch_Type_ID = b.Batch_Type_ID
LEFT JOIN vw_Evd_Employees e ON e.Employee_ID = b.Created_By_Employee_ID
WHERE (CAST(:Batch_Number AS TEXT) IS NULL OR lower(b.Batch_Number) LIKE lower(CAST(:Batch_Number AS TEXT)) || '%')
ORDER BY b.Batch_Number, b.Batch_ID
