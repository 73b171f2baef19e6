-- One batch item by identity, with the columns of usp_Evd_Search_Batch_Items_All.
-- @param Batch_Item_ID integer
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
WHERE bi.Batch_Item_ID = :Batch_Item_ID
