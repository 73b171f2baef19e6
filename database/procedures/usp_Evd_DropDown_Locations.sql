-- The locations for pickers: identity and the full name through the parents ("Room 1 / Shelf 2"),
-- by that name, so sublocations stand under their location.
-- @columns Location_Name Text
SELECT l.Location_ID AS "Location_ID", f.Location_Name AS "Location_Name"
FROM Locations l
JOIN Full_Name_Locations f ON f.Location_ID = l.Location_ID
ORDER BY f.Location_Name, l.Location_ID
