-- One unit type by its identity, with the columns of usp_Evd_Search_Unit_Types_All.
-- @param Unit_Type_ID integer
SELECT t.Unit_Type_ID AS "Unit_Type_ID",
       t.Unit_Type_Name AS "Name",
       t.Unit_Type_Code AS "Code"
FROM Unit_Types t
WHERE t.Unit_Type_ID = :Unit_Type_ID
