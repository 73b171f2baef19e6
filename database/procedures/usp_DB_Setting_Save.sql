-- Stores one per-user setting. The program sends the value as its SQL literal text ('C:\Data'
-- with its quotes, 1 for True); the value is kept unwrapped, so the reader gets it back plain.
-- @param Setting_Name text
-- @param Setting_Value text
INSERT INTO DB_User_Settings (DB_Login_Name, DB_Setting_Name, DB_Setting_Value)
VALUES (SUSER_NAME(), :Setting_Name,
        CASE WHEN length(:Setting_Value) >= 2 AND substr(:Setting_Value, 1, 1) = ''''
                  AND substr(:Setting_Value, length(:Setting_Value), 1) = ''''
             THEN replace(substr(:Setting_Value, 2, length(:Setting_Value) - 2), '''''', '''')
             ELSE :Setting_Value END)
ON CONFLICT (DB_Login_Name, DB_Setting_Name) DO UPDATE SET DB_Setting_Value = excluded.DB_Setting_Value
