-- The salutations for pickers: identity and name, by name.
SELECT Salutation_ID, Salutation_Name
FROM Salutations
ORDER BY Salutation_Name, Salutation_ID
