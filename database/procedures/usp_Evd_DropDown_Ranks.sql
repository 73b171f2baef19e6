-- The ranks for pickers: identity and name, by name.
SELECT Rank_ID AS "Rank_ID", Rank_Name AS "Rank_Name"
FROM Ranks
ORDER BY Rank_Name, Rank_ID
