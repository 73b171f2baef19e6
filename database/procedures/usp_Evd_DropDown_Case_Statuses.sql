-- The case statuses for pickers: identity and name, by name.
SELECT Case_Status_ID AS "Case_Status_ID", Case_Status_Name AS "Case_Status_Name"
FROM Case_Statuses
ORDER BY Case_Status_Name, Case_Status_ID
