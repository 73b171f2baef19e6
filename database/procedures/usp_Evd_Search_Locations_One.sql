-- One location by identity, with the columns of usp_Evd_Search_Locations_All.
-- @param Location_ID integer
-- @columns Full_Name Text
SELECT l.Location_ID AS "Location_ID",
       l.Location_Name AS "Location Name",
       l.Location_Code AS "Location Code",
       f.Location_Name AS "Full_Name"
FROM Locations l
LEFT JOIN Full_Name_Locations f ON f.Location_ID = l.Location_ID
WHERE l.Location_ID = :Location_ID
