-- The units whose name and code begin with the given texts, every criterion optional; first column the identity.
-- @param Unit_Name text
-- @param Unit_Code text
SELECT t.Unit_ID AS "Unit_ID",
       t.Unit_Name AS "Name",
       t.Unit_Code AS "Code",
       ut.Unit_Type_Name AS "Unit Type"
FROM Units t
JOIN Unit_Types ut ON ut.Unit_Type_ID = t.Unit_Type_ID
WHERE (CAST(:Unit_Name AS TEXT) IS NULL OR lower(t.Unit_Name) LIKE lower(CAST(:Unit_Name AS TEXT)) || '%')
  AND (CAST(:Unit_Code AS TEXT) IS NULL OR lower(t.Unit_Code) LIKE lower(CAST(:Unit_Code AS TEXT)) || '%')
ORDER BY t.Unit_Name
