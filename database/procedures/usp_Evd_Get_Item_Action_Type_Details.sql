-- A readable summary of one item action type for the item action window: its names, code, chain
-- position and the table that keeps its details. No row for an unknown type.
-- @param Item_Action_Type_ID integer
-- @columns Details Text
SELECT t.Item_Action_Type_Name_Present || ' / ' || t.Item_Action_Type_Name_Past
       || ' (' || t.Item_Action_Type_Code || ')'
       || '; Chain: ' || tm.Item_Action_Time_Name
       || '; Details: ' || COALESCE(d.DB_Table_Good_Name, 'none')
       || COALESCE('; ' || t.Comments, '') AS "Details"
FROM Item_Action_Types t
JOIN Item_Action_Times tm ON tm.Item_Action_Time_ID = t.Item_Action_Time_ID
LEFT JOIN DB_Tables d ON d.DB_Table_ID = t.Related_DB_Table_ID
WHERE t.Item_Action_Type_ID = :Item_Action_Type_ID
