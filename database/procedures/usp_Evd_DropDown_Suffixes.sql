-- The suffixes for pickers: identity and name, by name.
SELECT Suffix_ID AS "Suffix_ID", Suffix_Name AS "Suffix_Name"
FROM Suffixes
ORDER BY Suffix_Name, Suffix_ID
