-- Countries, with their codes, number and telephone prefix, and the states of each country.

CREATE TABLE Countries (
    Country_ID {ID},
    Country_Name {NAME} NOT NULL UNIQUE,
    Country_Code_2 {NAME} NOT NULL UNIQUE,
    Country_Code_3 {NAME} NOT NULL UNIQUE,
    Country_Number_3 INTEGER NOT NULL CHECK (Country_Number_3 BETWEEN 1 AND 999),
    Country_Telephone_Prefix {TEXT}
);

CREATE TABLE States (
    State_ID {ID},
    Country_ID INTEGER NOT NULL REFERENCES Countries (Country_ID),
    State_Name {NAME} NOT NULL UNIQUE,
    State_Code {NAME} NOT NULL
);

-- The tables' record and search windows, and the tables as the windows and permissions name them.
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmCountry', 'Country');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmCountries', 'Countries');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmState', 'State');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmStates', 'States');

INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission,
                       Single_Record_DB_App_Form_ID, Multiple_Records_DB_App_Form_ID)
SELECT 'Countries', 'Countries', 'Country', 'Country_ID', 1, s.DB_App_Form_ID, m.DB_App_Form_ID
FROM DB_App_Forms s, DB_App_Forms m WHERE s.DB_App_Form_Name = 'frmCountry' AND m.DB_App_Form_Name = 'frmCountries';

INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission,
                       Single_Record_DB_App_Form_ID, Multiple_Records_DB_App_Form_ID)
SELECT 'States', 'States', 'State', 'State_ID', 1, s.DB_App_Form_ID, m.DB_App_Form_ID
FROM DB_App_Forms s, DB_App_Forms m WHERE s.DB_App_Form_Name = 'frmState' AND m.DB_App_Form_Name = 'frmStates';
