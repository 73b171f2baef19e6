-- The size the current user last gave a window, in twips; no row when never saved.
-- @param DB_App_Form_Name text
SELECT DB_Width_Twips AS "DB_Width_Twips", DB_Height_Twips AS "DB_Height_Twips"
FROM DB_Form_Sizes
WHERE DB_Login_Name = SUSER_NAME() AND DB_App_Form_Name = :DB_App_Form_Name
