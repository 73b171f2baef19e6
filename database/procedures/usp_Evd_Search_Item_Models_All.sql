-- The item models whose name begins with the given text ("%" and "_" act as wildcards), with the
-- parent model's name; every criterion optional; first column the identity.
-- @param Item_Model_Name text
SELECT m.Item_Model_ID AS "Item_Model_ID",
       m.Item_Model_Name AS "Item Model Name",
       m.Item_Model_Code AS "Item Model Code",
       p.Item_Model_Name AS "Parent Model"
FROM Item_Models m
LEFT JOIN Item_Models p ON p.Item_Model_ID = m.Parent_Item_Model_ID
WHERE (CAST(:Item_Model_Name AS TEXT) IS NULL OR lower(m.Item_Model_Name) LIKE lower(CAST(:Item_Model_Name AS TEXT)) || '%')
ORDER BY m.Item_Model_Name, m.Item_Model_ID
