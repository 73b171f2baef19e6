-- A property room of real size: a location's full name is worked out for that location alone, and
-- the change log is found by its time.
--
-- The full name walks from the location up to its root; a look-up of one location (a scanned
-- code, a picker's row) no longer walks the whole tree. The walk still stops at a depth of 32, so
-- a cycle stored past the windows never hangs a look-up; the name is that of the walk's last step,
-- as before. Made anew, as SQLite cannot replace a view; on the server the grants every upgrade
-- ends with give it back to the users.

DROP VIEW Full_Name_Locations;
CREATE VIEW Full_Name_Locations AS
SELECT l.Location_ID AS Location_ID,
       (WITH RECURSIVE Walk (Parent_Location_ID, Full_Name, Depth) AS (
            SELECT l.Parent_Location_ID, CAST(l.Location_Name AS TEXT), 1
            UNION ALL
            SELECT p.Parent_Location_ID, CAST(p.Location_Name AS TEXT) || ' / ' || w.Full_Name, w.Depth + 1
            FROM Walk w
            JOIN Locations p ON p.Location_ID = w.Parent_Location_ID
            WHERE w.Depth < 32
        )
        SELECT w.Full_Name FROM Walk w ORDER BY w.Depth DESC LIMIT 1) AS Location_Name
FROM Locations l;

-- The Database Changes report reads the log by its time.
CREATE INDEX DB_Change_Log_Time ON DB_Change_Log (DB_Change_Time);
