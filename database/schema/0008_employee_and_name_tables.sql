-- Employee categories and ranks, name suffixes and salutations.

CREATE TABLE Employee_Categories (
    Employee_Category_ID {ID},
    Employee_Category_Name {NAME} NOT NULL UNIQUE,
    Employee_Category_Code {NAME} NOT NULL UNIQUE
);

CREATE TABLE Ranks (
    Rank_ID {ID},
    Rank_Name {NAME} NOT NULL UNIQUE,
    Rank_Code {NAME} NOT NULL UNIQUE,
    Rank_Description {TEXT}
);

CREATE TABLE Suffixes (
    Suffix_ID {ID},
    Suffix_Name {NAME} NOT NULL UNIQUE,
    Suffix_Code {NAME} NOT NULL UNIQUE
);

CREATE TABLE Salutations (
    Salutation_ID {ID},
    Salutation_Name {NAME} NOT NULL UNIQUE,
    Salutation_Code {NAME} NOT NULL UNIQUE
);

-- The tables' record and search windows, and the tables as the windows and permissions name them.
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmEmployeeCategory', 'Employee Category');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmEmployeeCategories', 'Employee Categories');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmRank', 'Rank');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmRanks', 'Ranks');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmSuffix', 'Suffix');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmSuffixes', 'Suffixes');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmSalutation', 'Salutation');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmSalutations', 'Salutations');

INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission,
                       Single_Record_DB_App_Form_ID, Multiple_Records_DB_App_Form_ID)
SELECT 'Employee_Categories', 'Employee Categories', 'Employee Category', 'Employee_Category_ID', 1, s.DB_App_Form_ID, m.DB_App_Form_ID
FROM DB_App_Forms s, DB_App_Forms m WHERE s.DB_App_Form_Name = 'frmEmployeeCategory' AND m.DB_App_Form_Name = 'frmEmployeeCategories';

INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission,
                       Single_Record_DB_App_Form_ID, Multiple_Records_DB_App_Form_ID)
SELECT 'Ranks', 'Ranks', 'Rank', 'Rank_ID', 1, s.DB_App_Form_ID, m.DB_App_Form_ID
FROM DB_App_Forms s, DB_App_Forms m WHERE s.DB_App_Form_Name = 'frmRank' AND m.DB_App_Form_Name = 'frmRanks';

INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission,
                       Single_Record_DB_App_Form_ID, Multiple_Records_DB_App_Form_ID)
SELECT 'Suffixes', 'Suffixes', 'Suffix', 'Suffix_ID', 1, s.DB_App_Form_ID, m.DB_App_Form_ID
FROM DB_App_Forms s, DB_App_Forms m WHERE s.DB_App_Form_Name = 'frmSuffix' AND m.DB_App_Form_Name = 'frmSuffixes';

INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission,
                       Single_Record_DB_App_Form_ID, Multiple_Records_DB_App_Form_ID)
SELECT 'Salutations', 'Salutations', 'Salutation', 'Salutation_ID', 1, s.DB_App_Form_ID, m.DB_App_Form_ID
FROM DB_App_Forms s, DB_App_Forms m WHERE s.DB_App_Form_Name = 'frmSalutation' AND m.DB_App_Form_Name = 'frmSalutations';
