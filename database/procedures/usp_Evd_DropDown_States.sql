-- The states for pickers: identity and name, by name: those of the given country, or every
-- state when no country is given.
-- @param Country_ID integer
SELECT State_ID AS "State_ID", State_Name AS "State_Name"
FROM States
WHERE CAST(:Country_ID AS INTEGER) IS NULL OR Country_ID = :Country_ID
ORDER BY State_Name, State_ID
