-- One case status by its identity, with the columns of usp_Evd_Search_Case_Statuses_All.
-- @param Case_Status_ID integer
SELECT t.Case_Status_ID AS "Case_Status_ID",
       t.Case_Status_Name AS "Name",
       t.Case_Status_Code AS "Code"
FROM Case_Statuses t
WHERE t.Case_Status_ID = :Case_Status_ID
