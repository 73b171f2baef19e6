-- The states for pickers: identity and name, by name.
SELECT State_ID AS "State_ID", State_Name AS "State_Name"
FROM States
ORDER BY State_Name, State_ID
