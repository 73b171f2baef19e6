-- The chain position code (BC, MC or EC) of one item action's type. No row for an unknown action.
-- @param Item_Action_ID integer
SELECT tm.Item_Action_Time_Code AS "Item_Action_Time_Code"
FROM Item_Actions a
JOIN Item_Action_Types t ON t.Item_Action_Type_ID = a.Item_Action_Type_ID
JOIN Item_Action_Times tm ON tm.Item_Action_Time_ID = t.Item_Action_Time_ID
WHERE a.Item_Action_ID = :Item_Action_ID
