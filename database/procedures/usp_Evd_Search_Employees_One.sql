-- One employee by identity, with the columns of usp_Evd_Search_Employees_All.
-- @param Employee_ID integer
SELECT e.Employee_ID AS "Employee_ID",
       e.Payroll_Number AS "Payroll Number",
       p.Last_Name AS "Last Name",
       p.First_Name AS "First Name",
       c.Employee_Category_Name AS "Category",
       r.Rank_Name AS "Rank",
       e.Title AS "Title / Position",
       e.Badge_Number AS "Badge Number",
       e.Employed_Since AS "Employed Since"
FROM Employees e
LEFT JOIN People p ON p.Person_ID = e.Person_ID
LEFT JOIN Employee_Categories c ON c.Employee_Category_ID = e.Employee_Category_ID
LEFT JOIN Ranks r ON r.Rank_ID = e.Rank_ID
WHERE e.Employee_ID = :Employee_ID
