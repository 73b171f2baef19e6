-- The cases for pickers: identity and case number, newest first.
SELECT Case_ID AS "Case_ID", Case_Number AS "Case_Number"
FROM Cases
ORDER BY Case_Date_Time DESC, Case_ID DESC
