-- The employee categories whose name and code begin with the given texts, every criterion optional; first column the identity.
-- @param Employee_Category_Name text
-- @param Employee_Category_Code text
SELECT t.Employee_Category_ID AS "Employee_Category_ID",
       t.Employee_Category_Name AS "Name",
       t.Employee_Category_Code AS "Code"
FROM Employee_Categories t
WHERE (CAST(:Employee_Category_Name AS TEXT) IS NULL OR lower(t.Employee_Category_Name) LIKE lower(CAST(:Employee_Category_Name AS TEXT)) || '%')
  AND (CAST(:Employee_Category_Code AS TEXT) IS NULL OR lower(t.Employee_Category_Code) LIKE lower(CAST(:Employee_Category_Code AS TEXT)) || '%')
ORDER BY t.Employee_Category_Name
