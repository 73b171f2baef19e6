-- The salutations for pickers: identity and name, by name.
SELECT Salutation_ID AS "Salutation_ID", Salutation_Name AS "Salutation_Name"
FROM Salutations
ORDER BY Salutation_Name, Salutation_ID
