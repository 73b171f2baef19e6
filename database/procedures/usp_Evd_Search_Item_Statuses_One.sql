-- One item status by its identity, with the columns of usp_Evd_Search_Item_Statuses_All.
-- @param Item_Status_ID integer
SELECT t.Item_Status_ID AS "Item_Status_ID",
       t.Item_Status_Name AS "Name",
       t.Item_Status_Code AS "Code"
FROM Item_Statuses t
WHERE t.Item_Status_ID = :Item_Status_ID
