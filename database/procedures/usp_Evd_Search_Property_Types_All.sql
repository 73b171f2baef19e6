-- The property types whose name and code begin with the given texts, every criterion optional; first column the identity.
-- @param Property_Type_Name text
-- @param Property_Type_Code text
SELECT t.Property_Type_ID AS "Property_Type_ID",
       t.Property_Type_Name AS "Name",
       t.Property_Type_Code AS "Code",
       t.Days_Until_Review AS "Days Until Review"
FROM Property_Types t
WHERE (CAST(:Property_Type_Name AS TEXT) IS NULL OR lower(t.Property_Type_Name) LIKE lower(CAST(:Property_Type_Name AS TEXT)) || '%')
  AND (CAST(:Property_Type_Code AS TEXT) IS NULL OR lower(t.Property_Type_Code) LIKE lower(CAST(:Property_Type_Code AS TEXT)) || '%')
ORDER BY t.Property_Type_Name
