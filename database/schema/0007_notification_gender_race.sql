-- Notification types (with their report and text), genders and races.

CREATE TABLE Notification_Types (
    Notification_Type_ID {ID},
    Notification_Type_Name {NAME} NOT NULL UNIQUE,
    Notification_Type_Code {NAME} NOT NULL UNIQUE,
    Report_Name {NAME} UNIQUE,
    Notification_Text {TEXT}
);

CREATE TABLE Genders (
    Gender_ID {ID},
    Gender_Name {NAME} NOT NULL UNIQUE,
    Gender_Code {NAME} NOT NULL UNIQUE
);

CREATE TABLE Races (
    Race_ID {ID},
    Race_Name {NAME} NOT NULL UNIQUE,
    Race_Code {NAME} NOT NULL UNIQUE,
    Race_Description {TEXT}
);

-- The tables' record and search windows, and the tables as the windows and permissions name them.
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmNotificationType', 'Notification Type');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmNotificationTypes', 'Notification Types');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmGender', 'Gender');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmGenders', 'Genders');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmRace', 'Race');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmRaces', 'Races');

INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission,
                       Single_Record_DB_App_Form_ID, Multiple_Records_DB_App_Form_ID)
SELECT 'Notification_Types', 'Notification Types', 'Notification Type', 'Notification_Type_ID', 1, s.DB_App_Form_ID, m.DB_App_Form_ID
FROM DB_App_Forms s, DB_App_Forms m WHERE s.DB_App_Form_Name = 'frmNotificationType' AND m.DB_App_Form_Name = 'frmNotificationTypes';

INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission,
                       Single_Record_DB_App_Form_ID, Multiple_Records_DB_App_Form_ID)
SELECT 'Genders', 'Genders', 'Gender', 'Gender_ID', 1, s.DB_App_Form_ID, m.DB_App_Form_ID
FROM DB_App_Forms s, DB_App_Forms m WHERE s.DB_App_Form_Name = 'frmGender' AND m.DB_App_Form_Name = 'frmGenders';

INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission,
                       Single_Record_DB_App_Form_ID, Multiple_Records_DB_App_Form_ID)
SELECT 'Races', 'Races', 'Race', 'Race_ID', 1, s.DB_App_Form_ID, m.DB_App_Form_ID
FROM DB_App_Forms s, DB_App_Forms m WHERE s.DB_App_Form_Name = 'frmRace' AND m.DB_App_Form_Name = 'frmRaces';
