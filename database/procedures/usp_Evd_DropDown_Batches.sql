-- The batches for pickers: identity and batch number, by number.
SELECT Batch_ID AS "Batch_ID", Batch_Number AS "Batch_Number"
FROM Batches
ORDER BY Batch_Number, Batch_ID
