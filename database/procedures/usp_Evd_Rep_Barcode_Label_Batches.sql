-- The barcode label of a batch: its record code (B- and ten digits), number, type and creation
-- date.
-- @param Batch_ID integer
SELECT 'B-' || substr('0000000000' || CAST(b.Batch_ID AS TEXT), length(CAST(b.Batch_ID AS TEXT)) + 1) AS "Batch_Barcode",
       b.Batch_Number AS "Batch_Number",
       bt.Batch_Type_Name AS "Batch_Type",
       b.Created_Date_Time AS "Created_Date_Time"
FROM Batches b
LEFT JOIN Batch_Types bt ON bt.Batch_Type_ID = b.Batch_Type_ID
WHERE b.Batch_ID = :Batch_ID
ORDER BY b.Batch_ID
