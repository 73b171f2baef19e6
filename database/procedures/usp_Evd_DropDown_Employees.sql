-- The employees for pickers: identity and the name a clerk reads, by that name.
-- @columns Employee Text
SELECT Employee_ID AS "Employee_ID", Employee AS "Employee"
FROM vw_Evd_Employees
ORDER BY lower(Employee), Employee_ID
