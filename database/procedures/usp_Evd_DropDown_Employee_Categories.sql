-- The employee categories for pickers: identity and name, by name.
SELECT Employee_Category_ID AS "Employee_Category_ID", Employee_Category_Name AS "Employee_Category_Name"
FROM Employee_Categories
ORDER BY Employee_Category_Name, Employee_Category_ID
