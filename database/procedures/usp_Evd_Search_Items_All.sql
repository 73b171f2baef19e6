-- The items of the cases dated within the range (a "To" date includes that whole day) and,
-- optionally, of one case; every criterion optional; first column the identity.
-- @param Case_Date_From date
-- @param Case_Date_To date
-- @param Case_ID integer
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
WHERE (:Case_Date_From IS NULL OR c.Case_Date_Time >= :Case_Date_From)
  AND (:Case_Date_To IS NULL OR c.Case_Date_Time < DAY_AFTER(:Case_Date_To))
  AND (:Case_ID IS NULL OR i.Case_ID = :Case_ID)
ORDER BY c.Case_Date_Time DESC, i.Item_Number, i.Item_ID
