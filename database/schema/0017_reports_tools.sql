-- The report windows and file tools: the kinds of table action and the programs the change log
-- names, the tools' windows, and the server's process list as the table its View permission guards.
-- Written to run again over itself (a database brought back to an earlier version is upgraded anew).

CREATE TABLE IF NOT EXISTS DB_Operations (
    DB_Operation_ID {ID},
    DB_Operation_Name {NAME} NOT NULL UNIQUE
);

CREATE TABLE IF NOT EXISTS DB_Applications (
    DB_Application_ID {ID},
    DB_Application_Name {NAME} NOT NULL UNIQUE
);

-- The names the change log writes, in this order, so the identities are the same everywhere.
INSERT INTO DB_Operations (DB_Operation_Name) SELECT 'Insert'
WHERE NOT EXISTS (SELECT 1 FROM DB_Operations WHERE DB_Operation_Name = 'Insert');
INSERT INTO DB_Operations (DB_Operation_Name) SELECT 'Update'
WHERE NOT EXISTS (SELECT 1 FROM DB_Operations WHERE DB_Operation_Name = 'Update');
INSERT INTO DB_Operations (DB_Operation_Name) SELECT 'Delete'
WHERE NOT EXISTS (SELECT 1 FROM DB_Operations WHERE DB_Operation_Name = 'Delete');
INSERT INTO DB_Applications (DB_Application_Name) SELECT 'Bramblecot_Main'
WHERE NOT EXISTS (SELECT 1 FROM DB_Applications WHERE DB_Application_Name = 'Bramblecot_Main');
INSERT INTO DB_Applications (DB_Application_Name) SELECT 'Bramblecot'
WHERE NOT EXISTS (SELECT 1 FROM DB_Applications WHERE DB_Application_Name = 'Bramblecot');

INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) SELECT 'frmCrystal', 'View Report'
WHERE NOT EXISTS (SELECT 1 FROM DB_App_Forms WHERE DB_App_Form_Name = 'frmCrystal');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) SELECT 'frmReplaceText', 'Replace Text'
WHERE NOT EXISTS (SELECT 1 FROM DB_App_Forms WHERE DB_App_Form_Name = 'frmReplaceText');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) SELECT 'frmRenameFiles', 'Rename Files'
WHERE NOT EXISTS (SELECT 1 FROM DB_App_Forms WHERE DB_App_Form_Name = 'frmRenameFiles');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) SELECT 'frmRepAllTables', 'All Tables'
WHERE NOT EXISTS (SELECT 1 FROM DB_App_Forms WHERE DB_App_Form_Name = 'frmRepAllTables');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) SELECT 'frmRepDBChanges', 'Database Changes'
WHERE NOT EXISTS (SELECT 1 FROM DB_App_Forms WHERE DB_App_Form_Name = 'frmRepDBChanges');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) SELECT 'frmSQL2Excel', 'SQL statement to Excel report'
WHERE NOT EXISTS (SELECT 1 FROM DB_App_Forms WHERE DB_App_Form_Name = 'frmSQL2Excel');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) SELECT 'frmCurrentActivity', 'Current Activity'
WHERE NOT EXISTS (SELECT 1 FROM DB_App_Forms WHERE DB_App_Form_Name = 'frmCurrentActivity');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) SELECT 'frmTest', 'Test'
WHERE NOT EXISTS (SELECT 1 FROM DB_App_Forms WHERE DB_App_Form_Name = 'frmTest');

-- Not a table of ours: the key of the current-activity window's View permission, which only
-- administrators pass by default. The window opens from its own menu key, so the row names none.
INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission)
SELECT 'master..sysprocesses', 'Current Activity', 'Server Process', 'spid', 0
WHERE NOT EXISTS (SELECT 1 FROM DB_Tables WHERE DB_Table_Name = 'master..sysprocesses');
