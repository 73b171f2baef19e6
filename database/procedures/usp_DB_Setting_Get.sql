-- The value of one per-user setting as plain text. The prompt on a database switch is the
-- current user's column and the background colour the current database's option; any other
-- setting is the user's own value, else the database's default. Without the user's row or the
-- database's options row (a copied embedded file is named anew) the columns' own defaults answer.
-- No row when nothing knows the name.
-- @param Setting_Name text
SELECT Setting_Value AS "Setting_Value"
FROM (SELECT CAST(DB_Prompt_Database_Switch AS TEXT) AS Setting_Value, 0 AS Priority
      FROM DB_Users
      WHERE lower(:Setting_Name) = 'db_prompt_database_switch' AND DB_User_Name = SUSER_NAME()
      UNION ALL
      SELECT CAST(DB_Background_Color AS TEXT), 0
      FROM DB_App_Options
      WHERE lower(:Setting_Name) = 'db_background_color' AND DB_Database_Code = DB_NAME()
      UNION ALL
      SELECT DB_Setting_Value, 1
      FROM DB_User_Settings
      WHERE DB_Login_Name = SUSER_NAME() AND DB_Setting_Name = :Setting_Name
        AND lower(:Setting_Name) NOT IN ('db_prompt_database_switch', 'db_background_color')
      UNION ALL
      SELECT DB_Setting_Value, 2
      FROM DB_Setting_Defaults
      WHERE DB_Setting_Name = :Setting_Name
        AND lower(:Setting_Name) NOT IN ('db_prompt_database_switch', 'db_background_color')
      UNION ALL
      SELECT '1', 3
      WHERE lower(:Setting_Name) = 'db_prompt_database_switch'
      UNION ALL
      SELECT '12632256', 3
      WHERE lower(:Setting_Name) = 'db_background_color') Candidates
ORDER BY Priority
LIMIT 1
