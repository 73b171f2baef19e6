-- The chain positions for pickers: identity and name, in chain order (beginning, middle, end).
SELECT Item_Action_Time_ID AS "Item_Action_Time_ID", Item_Action_Time_Name AS "Item_Action_Time_Name"
FROM Item_Action_Times
ORDER BY Item_Action_Time_ID
