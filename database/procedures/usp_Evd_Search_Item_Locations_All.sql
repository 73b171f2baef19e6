-- The item locations whose item action is dated within the range (a "To" date includes that whole day),
-- both dates optional; first column the identity.
-- @param Action_Date_From date
-- @param Action_Date_To date
-- @columns Subject Text, Location Text
SELECT il.Item_Location_ID AS "Item_Location_ID",
       a.Item_Action_Date_Time AS "Action Date & Time",
       t.Item_Action_Type_Name_Past AS "Action",
       COALESCE('Item ' || i.Item_Number, 'Case ' || c.Case_Number, 'Batch ' || b.Batch_Number) AS "Subject",
       l.Location_Name AS "Location"
FROM Item_Locations il
JOIN Item_Actions a ON a.Item_Action_ID = il.Item_Action_ID
JOIN Item_Action_Types t ON t.Item_Action_Type_ID = a.Item_Action_Type_ID
LEFT JOIN Items i ON i.Item_ID = a.Item_ID
LEFT JOIN Cases c ON c.Case_ID = a.Case_ID
LEFT JOIN Batches b ON b.Batch_ID = a.Batch_ID
LEFT JOIN Full_Name_Locations l ON l.Location_ID = il.Location_ID
WHERE (:Action_Date_From IS NULL OR a.Item_Action_Date_Time >= :Action_Date_From)
  AND (:Action_Date_To IS NULL OR a.Item_Action_Date_Time < DAY_AFTER(:Action_Date_To))
ORDER BY a.Item_Action_Date_Time DESC, il.Item_Location_ID DESC
