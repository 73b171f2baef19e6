-- The people whose first and last names begin with the given texts ("%" and "_" act as wildcards),
-- every criterion optional; first column the identity.
-- @param First_Name text
-- @param Last_Name text
SELECT p.Person_ID AS "Person_ID",
       p.Last_Name AS "Last Name",
       p.First_Name AS "First Name",
       p.Middle_Name AS "Middle Name",
       p.Nickname AS "Nickname",
       p.Date_Of_Birth AS "Date of Birth",
       g.Gender_Name AS "Gender",
       p.SSN AS "SSN"
FROM People p
LEFT JOIN Genders g ON g.Gender_ID = p.Gender_ID
WHERE (CAST(:First_Name AS TEXT) IS NULL OR lower(p.First_Name) LIKE lower(CAST(:First_Name AS TEXT)) || '%')
  AND (CAST(:Last_Name AS TEXT) IS NULL OR lower(p.Last_Name) LIKE lower(CAST(:Last_Name AS TEXT)) || '%')
ORDER BY p.Last_Name, p.First_Name, p.Person_ID
