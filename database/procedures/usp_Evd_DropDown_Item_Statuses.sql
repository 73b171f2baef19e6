-- The item statuses for pickers: identity and name, by name.
SELECT Item_Status_ID AS "Item_Status_ID", Item_Status_Name AS "Item_Status_Name"
FROM Item_Statuses
ORDER BY Item_Status_Name, Item_Status_ID
