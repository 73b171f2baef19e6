-- The colours that apply to hair, for their pickers: identity and name, by name.
SELECT Color_ID AS "Color_ID", Color_Name AS "Color_Name"
FROM Colors
WHERE Appllies_To_Hair = 1
ORDER BY Color_Name, Color_ID
