-- Colours (what each applies to and its screen colour), currency types, unit types and units.

CREATE TABLE Colors (
    Color_ID {ID},
    Color_Name {NAME} NOT NULL UNIQUE,
    Appllies_To_Eyes {BIT} NOT NULL DEFAULT 1,
    Appllies_To_Hair {BIT} NOT NULL DEFAULT 1,
    Appllies_To_Items {BIT} NOT NULL DEFAULT 1,
    Color_RGB_Value INTEGER CHECK (Color_RGB_Value BETWEEN 0 AND 16777215)
);

CREATE TABLE Currency_Types (
    Currency_Type_ID {ID},
    Currency_Type_Name {NAME} NOT NULL UNIQUE,
    Currency_Type_Code {NAME} NOT NULL UNIQUE,
    Currency_Type_Number INTEGER NOT NULL UNIQUE CHECK (Currency_Type_Number BETWEEN 1 AND 999)
);

CREATE TABLE Unit_Types (
    Unit_Type_ID {ID},
    Unit_Type_Name {NAME} NOT NULL UNIQUE,
    Unit_Type_Code {NAME} NOT NULL UNIQUE
);

CREATE TABLE Units (
    Unit_ID {ID},
    Unit_Type_ID INTEGER NOT NULL REFERENCES Unit_Types (Unit_Type_ID),
    Unit_Name {NAME} NOT NULL UNIQUE,
    Unit_Code {NAME} NOT NULL
);

-- The tables' record and search windows, and the tables as the windows and permissions name them.
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmColor', 'Color');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmColors', 'Colors');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmCurrencyType', 'Currency Type');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmCurrencyTypes', 'Currency Types');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmUnitType', 'Unit Type');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmUnitTypes', 'Unit Types');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmUnit', 'Unit');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmUnits', 'Units');

INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission,
                       Single_Record_DB_App_Form_ID, Multiple_Records_DB_App_Form_ID)
SELECT 'Colors', 'Colors', 'Color', 'Color_ID', 1, s.DB_App_Form_ID, m.DB_App_Form_ID
FROM DB_App_Forms s, DB_App_Forms m WHERE s.DB_App_Form_Name = 'frmColor' AND m.DB_App_Form_Name = 'frmColors';

INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission,
                       Single_Record_DB_App_Form_ID, Multiple_Records_DB_App_Form_ID)
SELECT 'Currency_Types', 'Currency Types', 'Currency Type', 'Currency_Type_ID', 1, s.DB_App_Form_ID, m.DB_App_Form_ID
FROM DB_App_Forms s, DB_App_Forms m WHERE s.DB_App_Form_Name = 'frmCurrencyType' AND m.DB_App_Form_Name = 'frmCurrencyTypes';

INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission,
                       Single_Record_DB_App_Form_ID, Multiple_Records_DB_App_Form_ID)
SELECT 'Unit_Types', 'Unit Types', 'Unit Type', 'Unit_Type_ID', 1, s.DB_App_Form_ID, m.DB_App_Form_ID
FROM DB_App_Forms s, DB_App_Forms m WHERE s.DB_App_Form_Name = 'frmUnitType' AND m.DB_App_Form_Name = 'frmUnitTypes';

INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission,
                       Single_Record_DB_App_Form_ID, Multiple_Records_DB_App_Form_ID)
SELECT 'Units', 'Units', 'Unit', 'Unit_ID', 1, s.DB_App_Form_ID, m.DB_App_Form_ID
FROM DB_App_Forms s, DB_App_Forms m WHERE s.DB_App_Form_Name = 'frmUnit' AND m.DB_App_Form_Name = 'frmUnits';

-- The unit pickers ask for the units of the types W (weights) and L (lengths).
INSERT INTO Unit_Types (Unit_Type_Name, Unit_Type_Code) VALUES ('Weight', 'W');
INSERT INTO Unit_Types (Unit_Type_Name, Unit_Type_Code) VALUES ('Length', 'L');
