-- The genders for pickers: identity and name, by name.
SELECT Gender_ID AS "Gender_ID", Gender_Name AS "Gender_Name"
FROM Genders
ORDER BY Gender_Name, Gender_ID
