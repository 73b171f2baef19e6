-- The currency types whose name and code begin with the given texts, every criterion optional; first column the identity.
-- @param Currency_Type_Name text
-- @param Currency_Type_Code text
SELECT t.Currency_Type_ID AS "Currency_Type_ID",
       t.Currency_Type_Name AS "Name",
       t.Currency_Type_Code AS "Code",
       t.Currency_Type_Number AS "Number"
FROM Currency_Types t
WHERE (CAST(:Currency_Type_Name AS TEXT) IS NULL OR lower(t.Currency_Type_Name) LIKE lower(CAST(:Currency_Type_Name AS TEXT)) || '%')
  AND (CAST(:Currency_Type_Code AS TEXT) IS NULL OR lower(t.Currency_Type_Code) LIKE lower(CAST(:Currency_Type_Code AS TEXT)) || '%')
ORDER BY t.Currency_Type_Name
