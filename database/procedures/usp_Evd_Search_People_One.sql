-- One person by identity, with the columns of usp_Evd_Search_People_All.
-- @param Person_ID integer
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
WHERE p.Person_ID = :Person_ID
