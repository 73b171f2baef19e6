-- The report windows and file tools: the kinds of table action and the programs the change log
-- names, the tools' windows, and the server's process list as the table its View permission guards.

CREATE TABLE DB_Operations (
    DB_Operation_ID {ID},
    DB_Operation_Name {NAME} NOT NULL UNIQUE
);

CREATE TABLE DB_Applications (
    DB_Application_ID {ID},
    DB_Application_Name {NAME} NOT NULL UNIQUE
);

-- The names the change log writes, in this order, so the identities are the same everywhere.
INSERT INTO DB_Operations (DB_Operation_Name) VALUES ('Insert');
INSERT INTO DB_Operations (DB_Operation_Name) VALUES ('Update');
INSERT INTO DB_Operations (DB_Operation_Name) VALUES ('Delete');
INSERT INTO DB_Applications (DB_Application_Name) VALUES ('Bramblecot_Main');
INSERT INTO DB_Applications (DB_Application_Name) VALUES ('Bramblecot');

INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmCrystal', 'View Report');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmReplaceText', 'Replace Text');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmRenameFiles', 'Rename Files');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmRepAllTables', 'All Tables');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmRepDBChanges', 'Database Changes');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmSQL2Excel', 'SQL statement to Excel report');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmCurrentActivity', 'Current Activity');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmTest', 'Test');

-- Not a table of ours: the key of the current-activity window's View permission, which only
-- administrators pass by default.
INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission,
                       Multiple_Records_DB_App_Form_ID)
SELECT 'master..sysprocesses', 'Current Activity', 'Server Process', 'spid', 0, m.DB_App_Form_ID
FROM DB_App_Forms m WHERE m.DB_App_Form_Name = 'frmCurrentActivity';
