-- People, and the employees, addresses and telephones that refer to them or stand beside them.
-- Lengths and ranges are those the windows allow, so a row written past the windows keeps them too.

CREATE TABLE People (
    Person_ID {ID},
    Salutation_ID INTEGER REFERENCES Salutations (Salutation_ID),
    First_Name {NAME} NOT NULL CHECK (length(First_Name) <= 50),
    Middle_Name {NAME} CHECK (length(Middle_Name) <= 50),
    Last_Name {NAME} NOT NULL CHECK (length(Last_Name) <= 50),
    Suffix_ID INTEGER REFERENCES Suffixes (Suffix_ID),
    Nickname {NAME} CHECK (length(Nickname) <= 50),
    Date_Of_Birth {DATE} CHECK (Date_Of_Birth BETWEEN '1850-12-31' AND '2050-01-01'),
    Date_Of_Death {DATE} CHECK (Date_Of_Death BETWEEN '1850-12-31' AND '2050-01-01'),
    Gender_ID INTEGER REFERENCES Genders (Gender_ID),
    Person_Height DOUBLE PRECISION CHECK (Person_Height > 0 AND Person_Height < 250),
    Person_Height_Unit_ID INTEGER REFERENCES Units (Unit_ID),
    Person_Weight DOUBLE PRECISION CHECK (Person_Weight > 0 AND Person_Weight < 600),
    Person_Weight_Unit_ID INTEGER REFERENCES Units (Unit_ID),
    Eye_Color_ID INTEGER REFERENCES Colors (Color_ID),
    Hair_Color_ID INTEGER REFERENCES Colors (Color_ID),
    Race_ID INTEGER REFERENCES Races (Race_ID),
    SSN {NAME} CHECK (length(SSN) <= 9)
);

CREATE INDEX People_Last_Name ON People (Last_Name);

CREATE TABLE Addresses (
    Address_ID {ID},
    Country_ID INTEGER NOT NULL REFERENCES Countries (Country_ID),
    Street_Address_1 {NAME} NOT NULL CHECK (length(Street_Address_1) <= 50),
    Street_Address_2 {NAME} CHECK (length(Street_Address_2) <= 50),
    City {NAME} NOT NULL CHECK (length(City) <= 50),
    State_ID INTEGER REFERENCES States (State_ID),
    State_Other {NAME} CHECK (length(State_Other) <= 50),
    ZIP {NAME} CHECK (length(ZIP) <= 10)
);

CREATE TABLE Telephones (
    Telephone_ID {ID},
    Country_ID INTEGER NOT NULL REFERENCES Countries (Country_ID),
    Telephone_Area_Code {NAME} NOT NULL CHECK (length(Telephone_Area_Code) <= 10),
    Telephone_Number {NAME} NOT NULL CHECK (length(Telephone_Number) <= 10),
    Telephone_Extention {NAME} CHECK (length(Telephone_Extention) <= 5)
);

-- Employees grows from its first two columns. Columns are added (a rebuild would break the users
-- that refer to it), all nullable: "an employee is a person" is the window's rule, and rows of the
-- earlier table have no person yet. Payroll numbers and persons become unique, without regard to
-- letter case as names are compared; a database holding the same payroll number twice stops here
-- rather than losing a row.
ALTER TABLE Employees ADD COLUMN Person_ID INTEGER REFERENCES People (Person_ID);
ALTER TABLE Employees ADD COLUMN Employee_Category_ID INTEGER REFERENCES Employee_Categories (Employee_Category_ID);
ALTER TABLE Employees ADD COLUMN Title {NAME} CHECK (length(Title) <= 30);
ALTER TABLE Employees ADD COLUMN Rank_ID INTEGER REFERENCES Ranks (Rank_ID);
ALTER TABLE Employees ADD COLUMN Badge_Number {NAME} CHECK (length(Badge_Number) <= 30);
ALTER TABLE Employees ADD COLUMN Badge_Bar_Code {NAME} CHECK (length(Badge_Bar_Code) <= 30);
ALTER TABLE Employees ADD COLUMN Employed_Since {DATE} CHECK (Employed_Since BETWEEN '1850-12-31' AND '2050-01-01');

DROP INDEX Employees_Payroll_Number;
CREATE UNIQUE INDEX Employees_Payroll_Number ON Employees (Payroll_Number);
CREATE UNIQUE INDEX Employees_Person_ID ON Employees (Person_ID);

-- An employee as a clerk reads one: "Last, First Middle (payroll number)"; an employee of the
-- earlier table without a person reads as the payroll number.
CREATE VIEW vw_Evd_Employees AS
SELECT e.Employee_ID AS Employee_ID,
       CASE WHEN p.Person_ID IS NULL THEN CAST(e.Payroll_Number AS TEXT)
            ELSE CAST(p.Last_Name AS TEXT) || ', ' || CAST(p.First_Name AS TEXT)
                 || COALESCE(' ' || CAST(p.Middle_Name AS TEXT), '')
                 || COALESCE(' (' || CAST(e.Payroll_Number AS TEXT) || ')', '')
       END AS Employee
FROM Employees e
LEFT JOIN People p ON p.Person_ID = e.Person_ID;

-- The page addresses of the map actions; {Address} is the address on one line, percent-encoded.
INSERT INTO DB_Setting_Defaults (DB_Setting_Name, DB_Setting_Value)
VALUES ('DB_URL_Map_Yahoo', 'https://search.yahoo.com/local/s?p={Address}');
INSERT INTO DB_Setting_Defaults (DB_Setting_Name, DB_Setting_Value)
VALUES ('DB_URL_Map_MapQuest', 'https://www.mapquest.com/search/results?query={Address}');

-- The tables' record and search windows, and the tables as the windows and permissions name them.
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmPerson', 'Person');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmPeople', 'People');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmEmployee', 'Employee');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmEmployees', 'Employees');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmAddress', 'Address');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmAddresses', 'Addresses');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmTelephone', 'Telephone');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmTelephones', 'Telephones');

INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission,
                       Single_Record_DB_App_Form_ID, Multiple_Records_DB_App_Form_ID)
SELECT 'People', 'People', 'Person', 'Person_ID', 1, s.DB_App_Form_ID, m.DB_App_Form_ID
FROM DB_App_Forms s, DB_App_Forms m WHERE s.DB_App_Form_Name = 'frmPerson' AND m.DB_App_Form_Name = 'frmPeople';

INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission,
                       Single_Record_DB_App_Form_ID, Multiple_Records_DB_App_Form_ID)
SELECT 'Addresses', 'Addresses', 'Address', 'Address_ID', 1, s.DB_App_Form_ID, m.DB_App_Form_ID
FROM DB_App_Forms s, DB_App_Forms m WHERE s.DB_App_Form_Name = 'frmAddress' AND m.DB_App_Form_Name = 'frmAddresses';

INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission,
                       Single_Record_DB_App_Form_ID, Multiple_Records_DB_App_Form_ID)
SELECT 'Telephones', 'Telephones', 'Telephone', 'Telephone_ID', 1, s.DB_App_Form_ID, m.DB_App_Form_ID
FROM DB_App_Forms s, DB_App_Forms m WHERE s.DB_App_Form_Name = 'frmTelephone' AND m.DB_App_Form_Name = 'frmTelephones';

-- The employees' row exists since the first schema; it gains its windows.
UPDATE DB_Tables
SET Single_Record_DB_App_Form_ID = (SELECT DB_App_Form_ID FROM DB_App_Forms WHERE DB_App_Form_Name = 'frmEmployee'),
    Multiple_Records_DB_App_Form_ID = (SELECT DB_App_Form_ID FROM DB_App_Forms WHERE DB_App_Form_Name = 'frmEmployees')
WHERE DB_Table_Name = 'Employees';
