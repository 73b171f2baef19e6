-- One item by identity, with the columns of usp_Evd_Search_Items_All.
-- @param Item_ID integer
SELECT i.Item_ID AS "Item_ID",
       i.Item_Number AS "Item Number",
       c.Case_Number AS "Case Number",
       c.Case_Date_Time AS "Case Date & Time",
       s.Item_Status_Name AS "Item Status",
       t.Property_Type_Name AS "Property Type",
       i.Item_Description AS "Description"
FROM Items i
JOIN Cases c ON c.Case_ID = i.Case_ID
LEFT JOIN Item_Statuses s ON s.Item_Status_ID = i.Item_Status_ID
LEFT JOIN Property_Types t ON t.Property_Type_ID = i.Property_Type_ID
WHERE i.Item_ID = :Item_ID
