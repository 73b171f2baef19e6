-- The case person types whose name and code begin with the given texts, every criterion optional; first column the identity.
-- @param Case_Person_Type_Name text
-- @param Case_Person_Type_Code text
SELECT t.Case_Person_Type_ID AS "Case_Person_Type_ID",
       t.Case_Person_Type_Name AS "Name",
       t.Case_Person_Type_Code AS "Code"
FROM Case_Person_Types t
WHERE (CAST(:Case_Person_Type_Name AS TEXT) IS NULL OR lower(t.Case_Person_Type_Name) LIKE lower(CAST(:Case_Person_Type_Name AS TEXT)) || '%')
  AND (CAST(:Case_Person_Type_Code AS TEXT) IS NULL OR lower(t.Case_Person_Type_Code) LIKE lower(CAST(:Case_Person_Type_Code AS TEXT)) || '%')
ORDER BY t.Case_Person_Type_Name
