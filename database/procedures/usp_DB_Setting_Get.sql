-- The value of one per-user setting as plain text: the user's own value, else the database's
-- default. No row when neither knows the name.
-- @param Setting_Name text
SELECT Setting_Value AS "Setting_Value"
FROM (SELECT DB_Setting_Value AS Setting_Value, 1 AS Priority
      FROM DB_User_Settings
      WHERE DB_Login_Name = SUSER_NAME() AND DB_Setting_Name = :Setting_Name
      UNION ALL
      SELECT DB_Setting_Value, 2
      FROM DB_Setting_Defaults
      WHERE DB_Setting_Name = :Setting_Name) Candidates
ORDER BY Priority
LIMIT 1
