-- The property categories whose name and code begin with the given texts, every criterion optional; first column the identity.
-- @param Property_Category_Name text
-- @param Property_Category_Code text
SELECT t.Property_Category_ID AS "Property_Category_ID",
       t.Property_Category_Name AS "Name",
       t.Property_Category_Code AS "Code"
FROM Property_Categories t
WHERE (CAST(:Property_Category_Name AS TEXT) IS NULL OR lower(t.Property_Category_Name) LIKE lower(CAST(:Property_Category_Name AS TEXT)) || '%')
  AND (CAST(:Property_Category_Code AS TEXT) IS NULL OR lower(t.Property_Category_Code) LIKE lower(CAST(:Property_Category_Code AS TEXT)) || '%')
ORDER BY t.Property_Category_Name
