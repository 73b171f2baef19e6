-- The locations whose own name begins with the given text ("%" and "_" act as wildcards), with the
-- full name through the parents; every criterion optional; first column the identity.
-- @param Location_Name text
-- @columns Full_Name Text
SELECT l.Location_ID AS "Location_ID",
       l.Location_Name AS "Location Name",
       l.Location_Code AS "Location Code",
       f.Location_Name AS "Full_Name"
FROM Locations l
LEFT JOIN Full_Name_Locations f ON f.Location_ID = l.Location_ID
WHERE (CAST(:Location_Name AS TEXT) IS NULL OR lower(l.Location_Name) LIKE lower(CAST(:Location_Name AS TEXT)) || '%')
ORDER BY f.Location_Name, l.Location_ID
