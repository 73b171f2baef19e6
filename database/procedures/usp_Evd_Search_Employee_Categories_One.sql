-- One employee category by its identity, with the columns of usp_Evd_Search_Employee_Categories_All.
-- @param Employee_Category_ID integer
SELECT t.Employee_Category_ID AS "Employee_Category_ID",
       t.Employee_Category_Name AS "Name",
       t.Employee_Category_Code AS "Code"
FROM Employee_Categories t
WHERE t.Employee_Category_ID = :Employee_Category_ID
