-- One salutation by its identity, with the columns of usp_Evd_Search_Salutations_All.
-- @param Salutation_ID integer
SELECT t.Salutation_ID AS "Salutation_ID",
       t.Salutation_Name AS "Name",
       t.Salutation_Code AS "Code"
FROM Salutations t
WHERE t.Salutation_ID = :Salutation_ID
