-- An embedded database has no server: the one row of this program's own process.
-- @columns spid Integer, Login_Time DateTime, Last_Batch DateTime
SELECT PROCESS_ID() AS "spid", SUSER_NAME() AS "Login_Name", HOST_NAME() AS "Host_Name",
       (SELECT file FROM pragma_database_list WHERE name = 'main') AS "Database", APP_NAME() AS "Program",
       'runnable' AS "Status", LOGIN_TIME() AS "Login_Time", NULL AS "Last_Batch", NULL AS "Command"
