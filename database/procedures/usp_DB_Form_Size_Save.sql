-- Keeps the size of a window for the current user, in twips.
-- @param DB_App_Form_Name text
-- @param DB_Width_Twips integer
-- @param DB_Height_Twips integer
INSERT INTO DB_Form_Sizes (DB_Login_Name, DB_App_Form_Name, DB_Width_Twips, DB_Height_Twips)
VALUES (SUSER_NAME(), :DB_App_Form_Name, :DB_Width_Twips, :DB_Height_Twips)
ON CONFLICT (DB_Login_Name, DB_App_Form_Name)
DO UPDATE SET DB_Width_Twips = excluded.DB_Width_Twips, DB_Height_Twips = excluded.DB_Height_Twips
