-- One felony class by its identity, with the columns of usp_Evd_Search_Felony_Classes_All.
-- @param Felony_Class_ID integer
SELECT t.Felony_Class_ID AS "Felony_Class_ID",
       t.Felony_Class_Name AS "Name",
       t.Felony_Class_Code AS "Code"
FROM Felony_Classes t
WHERE t.Felony_Class_ID = :Felony_Class_ID
