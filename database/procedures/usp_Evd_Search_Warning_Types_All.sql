-- The warning types whose name and code begin with the given texts, every criterion optional; first column the identity.
-- @param Warning_Type_Name text
-- @param Warning_Type_Code text
SELECT t.Warning_Type_ID AS "Warning_Type_ID",
       t.Warning_Type_Name AS "Name",
       t.Warning_Type_Code AS "Code"
FROM Warning_Types t
WHERE (CAST(:Warning_Type_Name AS TEXT) IS NULL OR lower(t.Warning_Type_Name) LIKE lower(CAST(:Warning_Type_Name AS TEXT)) || '%')
  AND (CAST(:Warning_Type_Code AS TEXT) IS NULL OR lower(t.Warning_Type_Code) LIKE lower(CAST(:Warning_Type_Code AS TEXT)) || '%')
ORDER BY t.Warning_Type_Name
