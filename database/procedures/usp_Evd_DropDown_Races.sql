-- The races for pickers: identity and name, by name.
SELECT Race_ID AS "Race_ID", Race_Name AS "Race_Name"
FROM Races
ORDER BY Race_Name, Race_ID
