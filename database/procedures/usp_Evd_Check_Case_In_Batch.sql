-- A membership of the batch that already takes in the case: the case itself, or one of its items
-- (adding the whole case would hold that item twice). The membership being edited is left out.
-- Any row is a finding.
-- @param Batch_Item_ID integer
-- @param Batch_ID integer
-- @param Case_ID integer
SELECT bi.Batch_Item_ID AS "Batch_Item_ID"
FROM Batch_Items bi
WHERE bi.Batch_ID = :Batch_ID
  AND (:Batch_Item_ID IS NULL OR bi.Batch_Item_ID <> :Batch_Item_ID)
  AND (bi.Case_ID = :Case_ID
       OR bi.Item_ID IN (SELECT i.Item_ID FROM Items i WHERE i.Case_ID = :Case_ID))
LIMIT 1
