-- One item model by identity, with the columns of usp_Evd_Search_Item_Models_All.
-- @param Item_Model_ID integer
SELECT m.Item_Model_ID AS "Item_Model_ID",
       m.Item_Model_Name AS "Item Model Name",
       m.Item_Model_Code AS "Item Model Code",
       p.Item_Model_Name AS "Parent Model"
FROM Item_Models m
LEFT JOIN Item_Models p ON p.Item_Model_ID = m.Parent_Item_Model_ID
WHERE m.Item_Model_ID = :Item_Model_ID
