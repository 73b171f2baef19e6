-- One gender by its identity, with the columns of usp_Evd_Search_Genders_All.
-- @param Gender_ID integer
SELECT t.Gender_ID AS "Gender_ID",
       t.Gender_Name AS "Name",
       t.Gender_Code AS "Code"
FROM Genders t
WHERE t.Gender_ID = :Gender_ID
