-- Address types and telephone types.

CREATE TABLE Address_Types (
    Address_Type_ID {ID},
    Address_Type_Name {NAME} NOT NULL UNIQUE,
    Address_Type_Code {NAME} NOT NULL UNIQUE
);

CREATE TABLE Telephone_Types (
    Telephone_Type_ID {ID},
    Telephone_Type_Name {NAME} NOT NULL UNIQUE,
    Telephone_Type_Code {NAME} NOT NULL UNIQUE
);

-- The tables' record and search windows, and the tables as the windows and permissions name them.
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmAddressType', 'Address Type');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmAddressTypes', 'Address Types');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmTelephoneType', 'Telephone Type');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmTelephoneTypes', 'Telephone Types');

INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission,
                       Single_Record_DB_App_Form_ID, Multiple_Records_DB_App_Form_ID)
SELECT 'Address_Types', 'Address Types', 'Address Type', 'Address_Type_ID', 1, s.DB_App_Form_ID, m.DB_App_Form_ID
FROM DB_App_Forms s, DB_App_Forms m WHERE s.DB_App_Form_Name = 'frmAddressType' AND m.DB_App_Form_Name = 'frmAddressTypes';

INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission,
                       Single_Record_DB_App_Form_ID, Multiple_Records_DB_App_Form_ID)
SELECT 'Telephone_Types', 'Telephone Types', 'Telephone Type', 'Telephone_Type_ID', 1, s.DB_App_Form_ID, m.DB_App_Form_ID
FROM DB_App_Forms s, DB_App_Forms m WHERE s.DB_App_Form_Name = 'frmTelephoneType' AND m.DB_App_Form_Name = 'frmTelephoneTypes';
