-- One property category by its identity, with the columns of usp_Evd_Search_Property_Categories_All.
-- @param Property_Category_ID integer
SELECT t.Property_Category_ID AS "Property_Category_ID",
       t.Property_Category_Name AS "Name",
       t.Property_Category_Code AS "Code"
FROM Property_Categories t
WHERE t.Property_Category_ID = :Property_Category_ID
