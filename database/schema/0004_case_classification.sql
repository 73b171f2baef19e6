-- The case classification tables: the role of a person in a case, the state of a case, the class of crime and the felony class.

CREATE TABLE Case_Person_Types (
    Case_Person_Type_ID {ID},
    Case_Person_Type_Name {NAME} NOT NULL UNIQUE,
    Case_Person_Type_Code {NAME} NOT NULL UNIQUE
);

CREATE TABLE Case_Statuses (
    Case_Status_ID {ID},
    Case_Status_Name {NAME} NOT NULL UNIQUE,
    Case_Status_Code {NAME} NOT NULL UNIQUE
);

CREATE TABLE Crime_Classes (
    Crime_Class_ID {ID},
    Crime_Class_Name {NAME} NOT NULL UNIQUE,
    Crime_Class_Code {NAME} NOT NULL UNIQUE
);

CREATE TABLE Felony_Classes (
    Felony_Class_ID {ID},
    Felony_Class_Name {NAME} NOT NULL UNIQUE,
    Felony_Class_Code {NAME} NOT NULL UNIQUE
);

-- The tables' record and search windows, and the tables as the windows and permissions name them.
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmCasePersonType', 'Case Person Type');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmCasePersonTypes', 'Case Person Types');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmCaseStatus', 'Case Status');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmCaseStatuses', 'Case Statuses');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmCrimeClass', 'Crime Class');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmCrimeClasses', 'Crime Classes');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmFelonyClass', 'Felony Class');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmFelonyClasses', 'Felony Classes');

INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission,
                       Single_Record_DB_App_Form_ID, Multiple_Records_DB_App_Form_ID)
SELECT 'Case_Person_Types', 'Case Person Types', 'Case Person Type', 'Case_Person_Type_ID', 1, s.DB_App_Form_ID, m.DB_App_Form_ID
FROM DB_App_Forms s, DB_App_Forms m WHERE s.DB_App_Form_Name = 'frmCasePersonType' AND m.DB_App_Form_Name = 'frmCasePersonTypes';

INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission,
                       Single_Record_DB_App_Form_ID, Multiple_Records_DB_App_Form_ID)
SELECT 'Case_Statuses', 'Case Statuses', 'Case Status', 'Case_Status_ID', 1, s.DB_App_Form_ID, m.DB_App_Form_ID
FROM DB_App_Forms s, DB_App_Forms m WHERE s.DB_App_Form_Name = 'frmCaseStatus' AND m.DB_App_Form_Name = 'frmCaseStatuses';

INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission,
                       Single_Record_DB_App_Form_ID, Multiple_Records_DB_App_Form_ID)
SELECT 'Crime_Classes', 'Crime Classes', 'Crime Class', 'Crime_Class_ID', 1, s.DB_App_Form_ID, m.DB_App_Form_ID
FROM DB_App_Forms s, DB_App_Forms m WHERE s.DB_App_Form_Name = 'frmCrimeClass' AND m.DB_App_Form_Name = 'frmCrimeClasses';

INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission,
                       Single_Record_DB_App_Form_ID, Multiple_Records_DB_App_Form_ID)
SELECT 'Felony_Classes', 'Felony Classes', 'Felony Class', 'Felony_Class_ID', 1, s.DB_App_Form_ID, m.DB_App_Form_ID
FROM DB_App_Forms s, DB_App_Forms m WHERE s.DB_App_Form_Name = 'frmFelonyClass' AND m.DB_App_Form_Name = 'frmFelonyClasses';
