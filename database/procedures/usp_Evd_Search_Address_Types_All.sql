-- The address types whose name and code begin with the given texts, every criterion optional; first column the identity.
-- @param Address_Type_Name text
-- @param Address_Type_Code text
SELECT t.Address_Type_ID AS "Address_Type_ID",
       t.Address_Type_Name AS "Name",
       t.Address_Type_Code AS "Code"
FROM Address_Types t
WHERE (CAST(:Address_Type_Name AS TEXT) IS NULL OR lower(t.Address_Type_Name) LIKE lower(CAST(:Address_Type_Name AS TEXT)) || '%')
  AND (CAST(:Address_Type_Code AS TEXT) IS NULL OR lower(t.Address_Type_Code) LIKE lower(CAST(:Address_Type_Code AS TEXT)) || '%')
ORDER BY t.Address_Type_Name
