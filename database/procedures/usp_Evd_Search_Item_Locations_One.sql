-- One item location by identity, with the columns of usp_Evd_Search_Item_Locations_All.
-- @param Item_Location_ID integer
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
WHERE il.Item_Location_ID = :Item_Location_ID
