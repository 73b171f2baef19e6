-- One case person type by its identity, with the columns of usp_Evd_Search_Case_Person_Types_All.
-- @param Case_Person_Type_ID integer
SELECT t.Case_Person_Type_ID AS "Case_Person_Type_ID",
       t.Case_Person_Type_Name AS "Name",
       t.Case_Person_Type_Code AS "Code"
FROM Case_Person_Types t
WHERE t.Case_Person_Type_ID = :Case_Person_Type_ID
