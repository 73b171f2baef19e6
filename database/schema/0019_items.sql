-- Items of property and evidence, with the two trees they hang on: item models (manufacturers and
-- their models) and storage locations (locations and their sublocations). Lengths and ranges are
-- those the windows allow, so a row written past the windows keeps them too.

CREATE TABLE Item_Models (
    Item_Model_ID {ID},
    Item_Model_Name {NAME} NOT NULL CHECK (length(Item_Model_Name) <= 50),
    Item_Model_Code {TEXT} CHECK (length(Item_Model_Code) <= 20),
    Parent_Item_Model_ID INTEGER REFERENCES Item_Models (Item_Model_ID)
);

CREATE INDEX Item_Models_Name ON Item_Models (Item_Model_Name);
CREATE INDEX Item_Models_Parent ON Item_Models (Parent_Item_Model_ID);

CREATE TABLE Locations (
    Location_ID {ID},
    Location_Name {NAME} NOT NULL CHECK (length(Location_Name) <= 50),
    Location_Code {TEXT} NOT NULL CHECK (length(Location_Code) <= 20),
    Parent_Location_ID INTEGER REFERENCES Locations (Location_ID)
);

CREATE INDEX Locations_Name ON Locations (Location_Name);
CREATE INDEX Locations_Parent ON Locations (Parent_Location_ID);

CREATE TABLE Items (
    Item_ID {ID},
    Case_ID INTEGER NOT NULL REFERENCES Cases (Case_ID),
    Item_Number {NAME} NOT NULL CHECK (length(Item_Number) <= 30),
    Item_Status_ID INTEGER REFERENCES Item_Statuses (Item_Status_ID),
    Item_Description {TEXT} CHECK (length(Item_Description) <= 200),
    Property_Category_ID INTEGER REFERENCES Property_Categories (Property_Category_ID),
    Property_Type_ID INTEGER REFERENCES Property_Types (Property_Type_ID),
    Item_Model_ID INTEGER REFERENCES Item_Models (Item_Model_ID),
    Year_Made INTEGER CHECK (Year_Made BETWEEN 1800 AND 2050),
    Item_Color_ID INTEGER REFERENCES Colors (Color_ID),
    Warning_Type_ID INTEGER REFERENCES Warning_Types (Warning_Type_ID),
    Serial_Number {TEXT} CHECK (length(Serial_Number) <= 50),
    Item_UPN INTEGER CHECK (Item_UPN > 0 AND Item_UPN <= 10000000),
    Currency_Type_ID INTEGER REFERENCES Currency_Types (Currency_Type_ID),
    Currency_Total {MONEY} CHECK (Currency_Total > 0 AND Currency_Total <= 10000000),
    Item_Weight NUMERIC(9,3) CHECK (Item_Weight > 0 AND Item_Weight < 100000),
    Item_Weight_Unit_ID INTEGER REFERENCES Units (Unit_ID),
    Item_Review_Date {DATE} CHECK (Item_Review_Date >= '1950-12-31' AND Item_Review_Date < '2050-01-02'),
    Item_Notes {TEXT} CHECK (length(Item_Notes) <= 200)
);

-- Item numbers are unique without regard to letter case, as names are compared.
CREATE UNIQUE INDEX Items_Item_Number ON Items (Item_Number);
CREATE INDEX Items_Case_ID ON Items (Case_ID);

-- A location's full name through its parents ("Room 1 / Shelf 2 / Bin 3"). The walk stops at a
-- depth of 32, so a cycle stored past the windows never hangs a look-up.
CREATE VIEW Full_Name_Locations AS
WITH RECURSIVE Walk (Location_ID, Parent_Location_ID, Full_Name, Depth) AS (
    SELECT Location_ID, Parent_Location_ID, CAST(Location_Name AS TEXT), 1
    FROM Locations
    UNION ALL
    SELECT w.Location_ID, p.Parent_Location_ID, CAST(p.Location_Name AS TEXT) || ' / ' || w.Full_Name, w.Depth + 1
    FROM Walk w
    JOIN Locations p ON p.Location_ID = w.Parent_Location_ID
    WHERE w.Depth < 32
)
SELECT Location_ID AS Location_ID, Full_Name AS Location_Name
FROM Walk w
WHERE w.Parent_Location_ID IS NULL
   OR w.Depth = 32
   OR NOT EXISTS (SELECT 1 FROM Locations p WHERE p.Location_ID = w.Parent_Location_ID);

INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmItem', 'Item');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmItems', 'Items');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmItemModel', 'Item Model');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmItemModels', 'Item Models');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmLocation', 'Location');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmLocations', 'Locations');

INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission,
                       Single_Record_DB_App_Form_ID, Multiple_Records_DB_App_Form_ID)
SELECT 'Items', 'Items', 'Item', 'Item_ID', 1, s.DB_App_Form_ID, m.DB_App_Form_ID
FROM DB_App_Forms s, DB_App_Forms m WHERE s.DB_App_Form_Name = 'frmItem' AND m.DB_App_Form_Name = 'frmItems';

INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission,
                       Single_Record_DB_App_Form_ID, Multiple_Records_DB_App_Form_ID)
SELECT 'Item_Models', 'Item Models', 'Item Model', 'Item_Model_ID', 1, s.DB_App_Form_ID, m.DB_App_Form_ID
FROM DB_App_Forms s, DB_App_Forms m WHERE s.DB_App_Form_Name = 'frmItemModel' AND m.DB_App_Form_Name = 'frmItemModels';

INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission,
                       Single_Record_DB_App_Form_ID, Multiple_Records_DB_App_Form_ID)
SELECT 'Locations', 'Locations', 'Location', 'Location_ID', 1, s.DB_App_Form_ID, m.DB_App_Form_ID
FROM DB_App_Forms s, DB_App_Forms m WHERE s.DB_App_Form_Name = 'frmLocation' AND m.DB_App_Form_Name = 'frmLocations';

-- Batches: numbered groups of cases and items handled together. An item or a case may stand in
-- one physical batch at a time (a box, a shelf); other batch types (a court list) group freely.
-- Their windows, starting rows and table rows come with the batch windows.
CREATE TABLE Batch_Types (
    Batch_Type_ID {ID},
    Batch_Type_Name {NAME} NOT NULL UNIQUE CHECK (length(Batch_Type_Name) <= 50),
    Batch_Type_Code {NAME} NOT NULL UNIQUE CHECK (length(Batch_Type_Code) <= 10),
    Physical_Batch {BIT} NOT NULL DEFAULT 0
);

CREATE TABLE Batches (
    Batch_ID {ID},
    Batch_Number {NAME} NOT NULL UNIQUE CHECK (length(Batch_Number) <= 30),
    Created_Date_Time {DATETIME} NOT NULL CHECK (Created_Date_Time >= '1950-12-31' AND Created_Date_Time < '2050-01-02'),
    Created_By_Employee_ID INTEGER NOT NULL REFERENCES Employees (Employee_ID),
    Batch_Type_ID INTEGER NOT NULL REFERENCES Batch_Types (Batch_Type_ID),
    Batch_Description {TEXT} CHECK (length(Batch_Description) <= 200)
);
