-- The colors whose name begins with the given texts, every criterion optional; first column the identity.
-- @param Color_Name text
SELECT t.Color_ID AS "Color_ID",
       t.Color_Name AS "Name",
       t.Appllies_To_Eyes AS "Eyes",
       t.Appllies_To_Hair AS "Hair",
       t.Appllies_To_Items AS "Items",
       t.Color_RGB_Value AS "RGB Value"
FROM Colors t
WHERE (CAST(:Color_Name AS TEXT) IS NULL OR lower(t.Color_Name) LIKE lower(CAST(:Color_Name AS TEXT)) || '%')
ORDER BY t.Color_Name
