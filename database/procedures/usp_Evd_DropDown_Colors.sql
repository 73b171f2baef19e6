-- The colors for pickers: identity and name, by name.
SELECT Color_ID AS "Color_ID", Color_Name AS "Color_Name"
FROM Colors
ORDER BY Color_Name, Color_ID
