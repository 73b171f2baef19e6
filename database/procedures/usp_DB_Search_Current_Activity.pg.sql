-- The server's processes on this database as far as the log-in may see them (other users'
-- statements show only to members of pg_read_all_stats), one row per process.
SELECT a.pid AS "spid", a.usename::text AS "Login_Name", COALESCE(a.client_hostname, host(a.client_addr), '') AS "Host_Name",
       a.datname::text AS "Database", a.application_name AS "Program", a.state AS "Status",
       a.backend_start::timestamp(0) AS "Login_Time", a.query_start::timestamp(0) AS "Last_Batch", a.query AS "Command"
FROM pg_stat_activity a
WHERE a.datname = current_database()
ORDER BY a.pid
