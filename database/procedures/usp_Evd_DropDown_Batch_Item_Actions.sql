-- The batch item actions for pickers: identity and name, by name.
SELECT Batch_Item_Action_ID AS "Batch_Item_Action_ID", Batch_Item_Action_Name AS "Batch_Item_Action_Name"
FROM Batch_Item_Actions
ORDER BY Batch_Item_Action_Name, Batch_Item_Action_ID
