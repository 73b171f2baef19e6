-- The case statuses whose name and code begin with the given texts, every criterion optional; first column the identity.
-- @param Case_Status_Name text
-- @param Case_Status_Code text
SELECT t.Case_Status_ID AS "Case_Status_ID",
       t.Case_Status_Name AS "Name",
       t.Case_Status_Code AS "Code"
FROM Case_Statuses t
WHERE (CAST(:Case_Status_Name AS TEXT) IS NULL OR lower(t.Case_Status_Name) LIKE lower(CAST(:Case_Status_Name AS TEXT)) || '%')
  AND (CAST(:Case_Status_Code AS TEXT) IS NULL OR lower(t.Case_Status_Code) LIKE lower(CAST(:Case_Status_Code AS TEXT)) || '%')
ORDER BY t.Case_Status_Name
