-- One telephone type by its identity, with the columns of usp_Evd_Search_Telephone_Types_All.
-- @param Telephone_Type_ID integer
SELECT t.Telephone_Type_ID AS "Telephone_Type_ID",
       t.Telephone_Type_Name AS "Name",
       t.Telephone_Type_Code AS "Code"
FROM Telephone_Types t
WHERE t.Telephone_Type_ID = :Telephone_Type_ID
