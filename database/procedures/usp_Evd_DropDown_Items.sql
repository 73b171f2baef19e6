-- The items for pickers: identity and item number, by number.
SELECT Item_ID AS "Item_ID", Item_Number AS "Item_Number"
FROM Items
ORDER BY Item_Number, Item_ID
