-- The defaults of a new address or telephone: each column the current user's own default when set,
-- else the current database's. A default country or state whose row is gone reads as NULL, so a
-- picker shows no selection. No row when neither the user's row nor the database's exists.
-- @columns Country_ID Integer, State_ID Integer, City Text, Area_Code Text
SELECT (SELECT c.Country_ID FROM Countries c
        WHERE c.Country_ID = COALESCE(u.DB_User_Default_Country_ID, o.DB_Default_Country_ID)) AS "Country_ID",
       (SELECT s.State_ID FROM States s
        WHERE s.State_ID = COALESCE(u.DB_User_Default_State_ID, o.DB_Default_State_ID)) AS "State_ID",
       COALESCE(NULLIF(trim(u.DB_User_Default_City), ''), NULLIF(trim(o.DB_Default_City), '')) AS "City",
       COALESCE(NULLIF(trim(u.DB_User_Default_Area_Code), ''), NULLIF(trim(o.DB_Default_Area_Code), ''))
           AS "Area_Code"
FROM (SELECT 1 AS One) one
LEFT JOIN DB_Users u ON u.DB_User_Name = SUSER_NAME()
LEFT JOIN DB_App_Options o ON o.DB_Database_Code = DB_NAME()
WHERE u.DB_User_ID IS NOT NULL OR o.DB_App_Option_ID IS NOT NULL
