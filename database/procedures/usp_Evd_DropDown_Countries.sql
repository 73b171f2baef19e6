-- The countries for pickers: identity and name, by name.
SELECT Country_ID AS "Country_ID", Country_Name AS "Country_Name"
FROM Countries
ORDER BY Country_Name, Country_ID
