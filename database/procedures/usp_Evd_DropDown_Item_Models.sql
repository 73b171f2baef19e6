-- The item models for pickers: identity and the model's own name, by name. A typed name is looked
-- up against this bare name, so the list shows it as stored.
SELECT Item_Model_ID AS "Item_Model_ID", Item_Model_Name AS "Item_Model_Name"
FROM Item_Models
ORDER BY Item_Model_Name, Item_Model_ID
