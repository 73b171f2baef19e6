-- One item action by identity, with the columns of usp_Evd_Search_Item_Actions_All.
-- @param Item_Action_ID integer
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
WHERE a.Item_Action_ID = :Item_Action_ID
