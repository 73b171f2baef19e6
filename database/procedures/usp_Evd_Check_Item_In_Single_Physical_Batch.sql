-- An item or case stands in one physical batch at a time. When the batch is physical: another
-- physical batch that holds the item or its whole case, by its number. Batches of other types
-- group freely. The membership being edited is left out. Any row is a finding.
-- @param Batch_Item_ID integer
-- @param Batch_ID integer
-- @param Item_ID integer
SELECT b.Batch_Number AS "Batch_Number"
FROM Batch_Items bi
JOIN Batches b ON b.Batch_ID = bi.Batch_ID
JOIN Batch_Types t ON t.Batch_Type_ID = b.Batch_Type_ID
WHERE bi.Batch_ID <> :Batch_ID
  AND t.Physical_Batch = 1
  AND (:Batch_Item_ID IS NULL OR bi.Batch_Item_ID <> :Batch_Item_ID)
  AND (bi.Item_ID = :Item_ID
       OR bi.Case_ID IN (SELECT i.Case_ID FROM Items i WHERE i.Item_ID = :Item_ID))
  AND EXISTS (SELECT 1 FROM Batches tb JOIN Batch_Types tt ON tt.Batch_Type_ID = tb.Batch_Type_ID
              WHERE tb.Batch_ID = :Batch_ID AND tt.Physical_Batch = 1)
ORDER BY b.Batch_Number, b.Batch_ID
LIMIT 1
