-- One item action type by identity, with the columns of usp_Evd_Search_Item_Action_Types_All.
-- @param Item_Action_Type_ID integer
SELECT t.Item_Action_Type_ID AS "Item_Action_Type_ID",
       t.Item_Action_Type_Name_Present AS "Action - Present",
       t.Item_Action_Type_Name_Past AS "Action - Past",
       t.Item_Action_Type_Code AS "Code",
       tm.Item_Action_Time_Name AS "Chain Position",
       t.Item_Action_Type_Order AS "Sort Order",
       d.DB_Table_Name AS "Related Table"
FROM Item_Action_Types t
JOIN Item_Action_Times tm ON tm.Item_Action_Time_ID = t.Item_Action_Time_ID
LEFT JOIN DB_Tables d ON d.DB_Table_ID = t.Related_DB_Table_ID
WHERE t.Item_Action_Type_ID = :Item_Action_Type_ID
