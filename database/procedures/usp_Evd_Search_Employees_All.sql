-- The employees whose person's first and last names and whose payroll number begin with the given
-- texts ("%" and "_" act as wildcards), every criterion optional; first column the identity.
-- @param First_Name text
-- @param Last_Name text
-- @param Payroll_Number text
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
WHERE (CAST(:First_Name AS TEXT) IS NULL OR lower(p.First_Name) LIKE lower(CAST(:First_Name AS TEXT)) || '%')
  AND (CAST(:Last_Name AS TEXT) IS NULL OR lower(p.Last_Name) LIKE lower(CAST(:Last_Name AS TEXT)) || '%')
  AND (CAST(:Payroll_Number AS TEXT) IS NULL
       OR lower(e.Payroll_Number) LIKE lower(CAST(:Payroll_Number AS TEXT)) || '%')
ORDER BY p.Last_Name, p.First_Name, e.Payroll_Number, e.Employee_ID
