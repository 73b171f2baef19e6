-- A membership of the batch that already takes in the item: the item itself, or its whole case.
-- The membership being edited is left out. Any row is a finding.
-- @param Batch_Item_ID integer
-- @param Batch_ID integer
-- @param Item_ID integer
SELECT bi.Batch_Item_ID AS "Batch_Item_ID"
FROM Batch_Items bi
WHERE bi.Batch_ID = :Batch_ID
  AND (:Batch_Item_ID IS NULL OR bi.Batch_Item_ID <> :Batch_Item_ID)
  AND (bi.Item_ID = :Item_ID
       OR bi.Case_ID IN (SELECT i.Case_ID FROM Items i WHERE i.Item_ID = :Item_ID))
LIMIT 1
