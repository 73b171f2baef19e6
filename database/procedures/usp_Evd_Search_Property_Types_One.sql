-- One property type by its identity, with the columns of usp_Evd_Search_Property_Types_All.
-- @param Property_Type_ID integer
SELECT t.Property_Type_ID AS "Property_Type_ID",
       t.Property_Type_Name AS "Name",
       t.Property_Type_Code AS "Code",
       t.Days_Until_Review AS "Days Until Review"
FROM Property_Types t
WHERE t.Property_Type_ID = :Property_Type_ID
