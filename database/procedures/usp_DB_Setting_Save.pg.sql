-- Stores one per-user setting: see usp_DB_Setting_Save.sql. The server checks the rights of
-- every statement it is given, so the choice of store is made in bramblecot_setting_save, which
-- runs only the statement of the setting's own store.
-- @param Setting_Name text
-- @param Setting_Value text
-- @columns Saved Integer
SELECT bramblecot_setting_save(:Setting_Name, :Setting_Value) AS "Saved"
