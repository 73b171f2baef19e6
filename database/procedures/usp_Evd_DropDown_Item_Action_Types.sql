-- The item action types for pickers: identity and present-tense name, in their sort order.
SELECT Item_Action_Type_ID AS "Item_Action_Type_ID", Item_Action_Type_Name_Present AS "Item_Action_Type_Name_Present"
FROM Item_Action_Types
ORDER BY COALESCE(Item_Action_Type_Order, 30001), Item_Action_Type_Name_Present, Item_Action_Type_ID
