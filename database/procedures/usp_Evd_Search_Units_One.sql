-- One unit by its identity, with the columns of usp_Evd_Search_Units_All.
-- @param Unit_ID integer
SELECT t.Unit_ID AS "Unit_ID",
       t.Unit_Name AS "Name",
       t.Unit_Code AS "Code",
       ut.Unit_Type_Name AS "Unit Type"
FROM Units t
JOIN Unit_Types ut ON ut.Unit_Type_ID = t.Unit_Type_ID
WHERE t.Unit_ID = :Unit_ID
