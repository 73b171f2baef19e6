-- Stores one per-user setting. The program sends the value as its SQL literal text ('C:\Data'
-- with its quotes, 1 for True); the value is kept unwrapped, so the reader gets it back plain.
-- The prompt on a database switch goes into the current user's row, the background colour into
-- the current database's options, every other setting into the user's own settings.
-- @param Setting_Name text
-- @param Setting_Value text
-- @columns Saved Integer
UPDATE DB_Users
SET DB_Prompt_Database_Switch = CASE WHEN CAST(trim(:Setting_Value, ' ''') AS REAL) <> 0 THEN 1 ELSE 0 END
WHERE lower(:Setting_Name) = 'db_prompt_database_switch' AND DB_User_Name = SUSER_NAME();
UPDATE DB_App_Options
SET DB_Background_Color = CAST(trim(:Setting_Value, ' ''') AS INTEGER)
WHERE lower(:Setting_Name) = 'db_background_color' AND DB_Database_Code = DB_NAME();
INSERT INTO DB_User_Settings (DB_Login_Name, DB_Setting_Name, DB_Setting_Value)
SELECT SUSER_NAME(), :Setting_Name,
       CASE WHEN length(:Setting_Value) >= 2 AND substr(:Setting_Value, 1, 1) = ''''
                 AND substr(:Setting_Value, length(:Setting_Value), 1) = ''''
            THEN replace(substr(:Setting_Value, 2, length(:Setting_Value) - 2), '''''', '''')
            ELSE :Setting_Value END
WHERE lower(:Setting_Name) NOT IN ('db_prompt_database_switch', 'db_background_color')
ON CONFLICT (DB_Login_Name, DB_Setting_Name) DO UPDATE SET DB_Setting_Value = excluded.DB_Setting_Value;
SELECT 1 AS "Saved"
