-- Where one item action keeps its details: the table named by its type (Null when the type names
-- none) and that action's row in it (Null when there is none yet, or the table is not one of the
-- detail tables). No row for an unknown action.
-- @param Item_Action_ID integer
-- @columns DB_Table_Name Text, Detail_ID Integer
SELECT d.DB_Table_Name AS "DB_Table_Name",
       CASE lower(d.DB_Table_Name)
           WHEN 'item_transfers' THEN (SELECT tr.Item_Transfer_ID FROM Item_Transfers tr WHERE tr.Item_Action_ID = a.Item_Action_ID)
           WHEN 'item_locations' THEN (SELECT il.Item_Location_ID FROM Item_Locations il WHERE il.Item_Action_ID = a.Item_Action_ID)
       END AS "Detail_ID"
FROM Item_Actions a
JOIN Item_Action_Types t ON t.Item_Action_Type_ID = a.Item_Action_Type_ID
LEFT JOIN DB_Tables d ON d.DB_Table_ID = t.Related_DB_Table_ID
WHERE a.Item_Action_ID = :Item_Action_ID
