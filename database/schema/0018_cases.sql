-- Cases of the property room and the people linked to them. Lengths and ranges are those the
-- windows allow, so a row written past the windows keeps them too.

CREATE TABLE Cases (
    Case_ID {ID},
    Case_Date_Time {DATETIME} NOT NULL CHECK (Case_Date_Time >= '1950-12-31' AND Case_Date_Time < '2050-01-02'),
    Case_Number {NAME} NOT NULL CHECK (length(Case_Number) <= 30),
    Case_Status_ID INTEGER REFERENCES Case_Statuses (Case_Status_ID),
    Connect_Up_Case_ID INTEGER REFERENCES Cases (Case_ID) CHECK (Connect_Up_Case_ID <> Case_ID),
    Invoice_Number {TEXT} CHECK (length(Invoice_Number) <= 10),
    Crime_Class_ID INTEGER NOT NULL REFERENCES Crime_Classes (Crime_Class_ID),
    Felony_Class_ID INTEGER NOT NULL REFERENCES Felony_Classes (Felony_Class_ID),
    Original_Incident_Address_ID INTEGER REFERENCES Addresses (Address_ID),
    Original_Incident_Location {TEXT} CHECK (length(Original_Incident_Location) <= 50),
    Obtained_Date_Time {DATETIME} CHECK (Obtained_Date_Time >= '1950-12-31' AND Obtained_Date_Time < '2050-01-02'),
    Obtained_Address_ID INTEGER REFERENCES Addresses (Address_ID),
    Obtained_Location {TEXT} CHECK (length(Obtained_Location) <= 50),
    Collecting_Employee_ID INTEGER REFERENCES Employees (Employee_ID),
    Default_Property_Category_ID INTEGER NOT NULL REFERENCES Property_Categories (Property_Category_ID),
    Default_Submitting_Employee_ID INTEGER NOT NULL REFERENCES Employees (Employee_ID),
    Case_Notes {TEXT} CHECK (length(Case_Notes) <= 200)
);

-- Case numbers are unique without regard to letter case, as names are compared.
CREATE UNIQUE INDEX Cases_Case_Number ON Cases (Case_Number);
CREATE INDEX Cases_Case_Date_Time ON Cases (Case_Date_Time);

CREATE TABLE Case_People (
    Case_Person_ID {ID},
    Case_ID INTEGER NOT NULL REFERENCES Cases (Case_ID),
    Case_Person_Type_ID INTEGER NOT NULL REFERENCES Case_Person_Types (Case_Person_Type_ID),
    Person_ID INTEGER NOT NULL REFERENCES People (Person_ID),
    Address_Type_ID INTEGER REFERENCES Address_Types (Address_Type_ID),
    Address_ID INTEGER REFERENCES Addresses (Address_ID),
    Telephone_Type_ID INTEGER REFERENCES Telephone_Types (Telephone_Type_ID),
    Telephone_ID INTEGER REFERENCES Telephones (Telephone_ID)
);

CREATE INDEX Case_People_Case_ID ON Case_People (Case_ID);
CREATE INDEX Case_People_Person_ID ON Case_People (Person_ID);

INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmCase', 'Case');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmCases', 'Cases');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmCasePerson', 'Case Person');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmCasePeople', 'Case People');

INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission,
                       Single_Record_DB_App_Form_ID, Multiple_Records_DB_App_Form_ID)
SELECT 'Cases', 'Cases', 'Case', 'Case_ID', 1, s.DB_App_Form_ID, m.DB_App_Form_ID
FROM DB_App_Forms s, DB_App_Forms m WHERE s.DB_App_Form_Name = 'frmCase' AND m.DB_App_Form_Name = 'frmCases';

INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission,
                       Single_Record_DB_App_Form_ID, Multiple_Records_DB_App_Form_ID)
SELECT 'Case_People', 'Case People', 'Case Person', 'Case_Person_ID', 1, s.DB_App_Form_ID, m.DB_App_Form_ID
FROM DB_App_Forms s, DB_App_Forms m WHERE s.DB_App_Form_Name = 'frmCasePerson' AND m.DB_App_Form_Name = 'frmCasePeople';
