-- The column widths (twips) the current user left in one grid of one window; no rows when the
-- user never closed that window with the grid filled.
-- @param DB_App_Form_Name text
-- @param DB_App_Grid_Name text
SELECT DB_Column_Name AS "DB_App_Column_Name", DB_Width_Twips AS "DB_App_Column_Width"
FROM DB_Column_Widths
WHERE DB_Login_Name = SUSER_NAME()
  AND DB_App_Form_Name = :DB_App_Form_Name
  AND DB_App_Grid_Name = :DB_App_Grid_Name
ORDER BY DB_Column_Width_ID
