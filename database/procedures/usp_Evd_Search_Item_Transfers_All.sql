-- The transfers whose item action is dated within the range (a "To" date includes that whole day),
-- both dates optional; first column the identity.
-- @param Transfer_Date_From date
-- @param Transfer_Date_To date
-- @columns Subject Text
SELECT tr.Item_Transfer_ID AS "Item_Transfer_ID",
       a.Item_Action_Date_Time AS "Transfer Date & Time",
       t.Item_Action_Type_Name_Past AS "Action",
       COALESCE('Item ' || i.Item_Number, 'Case ' || c.Case_Number, 'Batch ' || b.Batch_Number) AS "Subject",
       fl.Location_Name AS "From Location",
       fe.Employee AS "From Employee",
       tl.Location_Name AS "To Location",
       te.Employee AS "To Employee",
       tr.Item_Weight_Out AS "Weight Out",
       tr.Item_Weight_In AS "Weight In"
FROM Item_Transfers tr
JOIN Item_Actions a ON a.Item_Action_ID = tr.Item_Action_ID
JOIN Item_Action_Types t ON t.Item_Action_Type_ID = a.Item_Action_Type_ID
LEFT JOIN Items i ON i.Item_ID = a.Item_ID
LEFT JOIN Cases c ON c.Case_ID = a.Case_ID
LEFT JOIN Batches b ON b.Batch_ID = a.Batch_ID
LEFT JOIN Full_Name_Locations fl ON fl.Location_ID = tr.From_Location_ID
LEFT JOIN Full_Name_Locations tl ON tl.Location_ID = tr.To_Location_ID
LEFT JOIN vw_Evd_Employees fe ON fe.Employee_ID = tr.From_Employee_ID
LEFT JOIN vw_Evd_Employees te ON te.Employee_ID = tr.To_Employee_ID
WHERE (:Transfer_Date_From IS NULL OR a.Item_Action_Date_Time >= :Transfer_Date_From)
  AND (:Transfer_Date_To IS NULL OR a.Item_Action_Date_Time < DAY_AFTER(:Transfer_Date_To))
ORDER BY a.Item_Action_Date_Time DESC, tr.Item_Transfer_ID DESC
