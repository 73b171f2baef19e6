-- One color by its identity, with the columns of usp_Evd_Search_Colors_All.
-- @param Color_ID integer
SELECT t.Color_ID AS "Color_ID",
       t.Color_Name AS "Name",
       t.Appllies_To_Eyes AS "Eyes",
       t.Appllies_To_Hair AS "Hair",
       t.Appllies_To_Items AS "Items",
       t.Color_RGB_Value AS "RGB Value"
FROM Colors t
WHERE t.Color_ID = :Color_ID
