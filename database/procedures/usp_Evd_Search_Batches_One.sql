-- One batch by identity, with the columns of usp_Evd_Search_Batches_All.
-- @param Batch_ID integer
SELECT b.Batch_ID AS "Batch_ID",
       b.Batch_Number AS "Batch Number",
       b.Created_Date_Time AS "Created On",
       t.Batch_Type_Name AS "Batch Type",
       e.Employee AS "Created By",
       b.Batch_Description AS "Description"
FROM Batches b
LEFT JOIN Batch_Types t ON t.Batch_Type_ID = b.Batch_Type_ID
LEFT JOIN vw_Evd_Employees e ON e.Employee_ID = b.Created_By_Employee_ID
WHERE b.Batch_ID = :Batch_ID
