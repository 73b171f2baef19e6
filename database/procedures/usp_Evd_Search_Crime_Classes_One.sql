-- One crime class by its identity, with the columns of usp_Evd_Search_Crime_Classes_All.
-- @param Crime_Class_ID integer
SELECT t.Crime_Class_ID AS "Crime_Class_ID",
       t.Crime_Class_Name AS "Name",
       t.Crime_Class_Code AS "Code"
FROM Crime_Classes t
WHERE t.Crime_Class_ID = :Crime_Class_ID
