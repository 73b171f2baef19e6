-- When and by whom a report or export was made.
-- @columns Time DateTime, User Text
SELECT GETDATE() AS "Time", SUSER_NAME() AS "User"
