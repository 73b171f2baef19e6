-- Stores one setting for usp_DB_Setting_Save. Only the statement of the setting's own store
-- runs, so a clerk saving a setting of their own needs no right on the database's options (the
-- server checks the rights of every statement it is given, whether or not it would change a row).
-- The value arrives as its SQL literal text ('C:\Data' with its quotes, 1 for True).
CREATE OR REPLACE FUNCTION bramblecot_setting_save(setting_name citext, setting_value citext) RETURNS integer
LANGUAGE plpgsql SET search_path = public, pg_temp AS $$
DECLARE
    plain text := setting_value::text;
BEGIN
    IF length(plain) >= 2 AND left(plain, 1) = '''' AND right(plain, 1) = '''' THEN
        plain := replace(substr(plain, 2, length(plain) - 2), '''''', '''');
    END IF;
    IF setting_name = 'DB_Prompt_Database_Switch' THEN
        UPDATE DB_Users SET DB_Prompt_Database_Switch = CASE WHEN trim(plain)::numeric <> 0 THEN 1 ELSE 0 END
        WHERE DB_User_Name = SUSER_NAME();
    ELSIF setting_name = 'DB_Background_Color' THEN
        UPDATE DB_App_Options SET DB_Background_Color = trim(plain)::integer WHERE DB_Database_Code = DB_NAME();
    ELSE
        INSERT INTO DB_User_Settings (DB_Login_Name, DB_Setting_Name, DB_Setting_Value)
        VALUES (SUSER_NAME(), setting_name, plain)
        ON CONFLICT (DB_Login_Name, DB_Setting_Name) DO UPDATE SET DB_Setting_Value = excluded.DB_Setting_Value;
    END IF;
    RETURN 1;
END
$$;
