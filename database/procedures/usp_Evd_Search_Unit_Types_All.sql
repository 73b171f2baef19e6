-- The unit types whose name and code begin with the given texts, every criterion optional; first column the identity.
-- @param Unit_Type_Name text
-- @param Unit_Type_Code text
SELECT t.Unit_Type_ID AS "Unit_Type_ID",
       t.Unit_Type_Name AS "Name",
       t.Unit_Type_Code AS "Code"
FROM Unit_Types t
WHERE (CAST(:Unit_Type_Name AS TEXT) IS NULL OR lower(t.Unit_Type_Name) LIKE lower(CAST(:Unit_Type_Name AS TEXT)) || '%')
  AND (CAST(:Unit_Type_Code AS TEXT) IS NULL OR lower(t.Unit_Type_Code) LIKE lower(CAST(:Unit_Type_Code AS TEXT)) || '%')
ORDER BY t.Unit_Type_Name
