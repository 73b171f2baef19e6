-- The item actions that can carry an item transfer (those whose type keeps its details in
-- Item_Transfers), newest first: identity and "<subject> - <past-tense type> <date and time>".
-- @columns Item_Action Text
SELECT a.Item_Action_ID AS "Item_Action_ID",
       COALESCE('Item ' || i.Item_Number, 'Case ' || c.Case_Number, 'Batch ' || b.Batch_Number) || ' - '
           || t.Item_Action_Type_Name_Past || ' ' || substr(CAST(a.Item_Action_Date_Time AS TEXT), 1, 16) AS "Item_Action"
FROM Item_Actions a
JOIN Item_Action_Types t ON t.Item_Action_Type_ID = a.Item_Action_Type_ID
JOIN DB_Tables d ON d.DB_Table_ID = t.Related_DB_Table_ID
LEFT JOIN Items i ON i.Item_ID = a.Item_ID
LEFT JOIN Cases c ON c.Case_ID = a.Case_ID
LEFT JOIN Batches b ON b.Batch_ID = a.Batch_ID
WHERE lower(d.DB_Table_Name) = 'item_transfers'
ORDER BY a.Item_Action_Date_Time DESC, a.Item_Action_ID DESC
