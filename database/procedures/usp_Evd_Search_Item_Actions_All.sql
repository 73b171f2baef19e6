-- The item actions dated within the range (a "To" date includes that whole day) and, optionally,
-- of one item, case or batch; every criterion optional; first column the identity. A case's
-- criterion also finds the actions on the items of that case.
-- @param Action_Date_From date
-- @param Action_Date_To date
-- @param Item_ID integer
-- @param Case_ID integer
-- @param Batch_ID integer
-- @columns Subject Text
SELECT a.Item_Action_ID AS "Item_Action_ID",
       a.Item_Action_Date_Time AS "Date & Time",
       t.Item_Action_Type_Name_Past AS "Action",
       COALESCE('Item ' || i.Item_Number, 'Case ' || c.Case_Number, 'Batch ' || b.Batch_Number) AS "Subject",
       e.Employee AS "Performed By",
       a.Item_Action_Description AS "Description"
FROM Item_Actions a
JOIN Item_Action_Types t ON t.Item_Action_Type_ID = a.Item_Action_Type_ID
LEFT JOIN Items i ON i.Item_ID = a.Item_ID
LEFT JOIN Cases c ON c.Case_ID = a.Case_ID
LEFT JOIN Batches b ON b.Batch_ID = a.Batch_ID
LEFT JOIN vw_Evd_Employees e ON e.Employee_ID = a.Performed_By_Employee_ID
WHERE (:Action_Date_From IS NULL OR a.Item_Action_Date_Time >= :Action_Date_From)
  AND (:Action_Date_To IS NULL OR a.Item_Action_Date_Time < DAY_AFTER(:Action_Date_To))
  AND (:Item_ID IS NULL OR a.Item_ID = :Item_ID)
  AND (:Case_ID IS NULL OR a.Case_ID = :Case_ID OR i.Case_ID = :Case_ID)
  AND (:Batch_ID IS NULL OR a.Batch_ID = :Batch_ID)
ORDER BY a.Item_Action_Date_Time DESC, a.Item_Action_ID DESC
