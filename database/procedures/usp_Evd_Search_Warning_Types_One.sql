-- One warning type by its identity, with the columns of usp_Evd_Search_Warning_Types_All.
-- @param Warning_Type_ID integer
SELECT t.Warning_Type_ID AS "Warning_Type_ID",
       t.Warning_Type_Name AS "Name",
       t.Warning_Type_Code AS "Code"
FROM Warning_Types t
WHERE t.Warning_Type_ID = :Warning_Type_ID
