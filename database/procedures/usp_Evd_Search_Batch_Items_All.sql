-- The batch items of the batches created within the range (a "To" date includes that whole day),
-- optionally of one batch, of one item (its own memberships and those of its case) or of one case
-- (its own and those of its items); every criterion optional; first column the identity. The case
-- column shows the case of an item membership too.
-- @param Batch_ID integer
-- @param Batch_Date_From date
-- @param Batch_Date_To date
-- @param Item_ID integer
-- @param Case_ID integer
SELECT bi.Batch_Item_ID AS "Batch_Item_ID",
       b.Batch_Number AS "Batch Number",
       b.Created_Date_Time AS "Batch Date & Time",
       t.Batch_Type_Name AS "Batch Type",
       i.Item_Number AS "Item Number",
       c.Case_Number AS "Case Number",
       a.Batch_Item_Action_Name AS "Action",
       bi.Action_Date_Time AS "Action Date & Time"
FROM Batch_Items bi
JOIN Batches b ON b.Batch_ID = bi.Batch_ID
LEFT JOIN Batch_Types t ON t.Batch_Type_ID = b.Batch_Type_ID
LEFT JOIN Items i ON i.Item_ID = bi.Item_ID
LEFT JOIN Cases c ON c.Case_ID = COALESCE(bi.Case_ID, i.Case_ID)
LEFT JOIN Batch_Item_Actions a ON a.Batch_Item_Action_ID = bi.Batch_Item_Action_ID
WHERE (:Batch_ID IS NULL OR bi.Batch_ID = :Batch_ID)
  AND (:Batch_Date_From IS NULL OR b.Created_Date_Time >= :Batch_Date_From)
  AND (:Batch_Date_To IS NULL OR b.Created_Date_Time < DAY_AFTER(:Batch_Date_To))
  AND (:Item_ID IS NULL
       OR bi.Batch_Item_ID IN (SELECT x.Batch_Item_ID FROM Batch_Items x WHERE x.Item_ID = :Item_ID
                               UNION ALL
                               SELECT x.Batch_Item_ID FROM Batch_Items x JOIN Items xi ON xi.Case_ID = x.Case_ID
                               WHERE xi.Item_ID = :Item_ID))
  AND (:Case_ID IS NULL
       OR bi.Batch_Item_ID IN (SELECT x.Batch_Item_ID FROM Batch_Items x WHERE x.Case_ID = :Case_ID
                               UNION ALL
                               SELECT x.Batch_Item_ID FROM Batch_Items x JOIN Items xi ON xi.Item_ID = x.Item_ID
                               WHERE xi.Case_ID = :Case_ID))
ORDER BY b.Batch_Number, bi.Batch_Item_ID
