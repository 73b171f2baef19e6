-- The chain of custody: what was done to property (item actions of configurable types), and the
-- detail records some actions carry, a transfer between locations and employees or the location
-- where the property was put. An action concerns exactly one subject: an item, all items of a
-- case or all items of a batch.

-- Where an action stands in the chain of custody; the code decides which employees take part in
-- a transfer: BC only the receiving one, MC both, EC only the giving one.
CREATE TABLE Item_Action_Times (
    Item_Action_Time_ID {ID},
    Item_Action_Time_Name {NAME} NOT NULL UNIQUE CHECK (length(Item_Action_Time_Name) <= 50),
    Item_Action_Time_Code {NAME} NOT NULL UNIQUE CHECK (length(Item_Action_Time_Code) <= 10)
);

INSERT INTO Item_Action_Times (Item_Action_Time_Name, Item_Action_Time_Code) VALUES ('Beginning of Chain', 'BC');
INSERT INTO Item_Action_Times (Item_Action_Time_Name, Item_Action_Time_Code) VALUES ('Middle of Chain', 'MC');
INSERT INTO Item_Action_Times (Item_Action_Time_Name, Item_Action_Time_Code) VALUES ('End of Chain', 'EC');

CREATE TABLE Item_Action_Types (
    Item_Action_Type_ID {ID},
    Item_Action_Type_Name_Present {NAME} NOT NULL CHECK (length(Item_Action_Type_Name_Present) <= 50),
    Item_Action_Type_Name_Past {NAME} NOT NULL CHECK (length(Item_Action_Type_Name_Past) <= 50),
    Item_Action_Type_Code {NAME} NOT NULL CHECK (length(Item_Action_Type_Code) <= 10),
    Item_Action_Date_Preposition {TEXT} CHECK (length(Item_Action_Date_Preposition) <= 10),
    Item_Action_Time_ID INTEGER NOT NULL REFERENCES Item_Action_Times (Item_Action_Time_ID),
    Item_Action_Type_Order INTEGER CHECK (Item_Action_Type_Order BETWEEN 1 AND 30000),
    Related_DB_Table_ID INTEGER REFERENCES DB_Tables (DB_Table_ID),
    Comments {TEXT} CHECK (length(Comments) <= 50)
);

CREATE TABLE Item_Actions (
    Item_Action_ID {ID},
    Item_ID INTEGER REFERENCES Items (Item_ID),
    Case_ID INTEGER REFERENCES Cases (Case_ID),
    Batch_ID INTEGER REFERENCES Batches (Batch_ID),
    Item_Action_Type_ID INTEGER NOT NULL REFERENCES Item_Action_Types (Item_Action_Type_ID),
    Performed_By_Employee_ID INTEGER NOT NULL REFERENCES Employees (Employee_ID),
    Item_Action_Date_Time {DATETIME} NOT NULL
        CHECK (Item_Action_Date_Time >= '1950-12-31' AND Item_Action_Date_Time < '2050-01-02'),
    Item_Action_Description {TEXT} CHECK (length(Item_Action_Description) <= 200),
    CHECK ((CASE WHEN Item_ID IS NULL THEN 0 ELSE 1 END) + (CASE WHEN Case_ID IS NULL THEN 0 ELSE 1 END)
           + (CASE WHEN Batch_ID IS NULL THEN 0 ELSE 1 END) = 1)
);

CREATE INDEX Item_Actions_Item_ID ON Item_Actions (Item_ID);
CREATE INDEX Item_Actions_Case_ID ON Item_Actions (Case_ID);
CREATE INDEX Item_Actions_Batch_ID ON Item_Actions (Batch_ID);
CREATE INDEX Item_Actions_Date_Time ON Item_Actions (Item_Action_Date_Time);

CREATE TABLE Item_Locations (
    Item_Location_ID {ID},
    Item_Action_ID INTEGER NOT NULL UNIQUE REFERENCES Item_Actions (Item_Action_ID),
    Location_ID INTEGER NOT NULL REFERENCES Locations (Location_ID)
);

CREATE TABLE Item_Transfers (
    Item_Transfer_ID {ID},
    Item_Action_ID INTEGER NOT NULL UNIQUE REFERENCES Item_Actions (Item_Action_ID),
    From_Location_ID INTEGER NOT NULL REFERENCES Locations (Location_ID),
    To_Location_ID INTEGER NOT NULL REFERENCES Locations (Location_ID),
    From_Employee_ID INTEGER REFERENCES Employees (Employee_ID),
    To_Employee_ID INTEGER REFERENCES Employees (Employee_ID),
    Item_Weight_Out NUMERIC(9,3) CHECK (Item_Weight_Out > 0 AND Item_Weight_Out < 100000),
    Item_Weight_Out_Unit_ID INTEGER REFERENCES Units (Unit_ID),
    Item_Weight_In NUMERIC(9,3) CHECK (Item_Weight_In > 0 AND Item_Weight_In < 100000),
    Item_Weight_In_Unit_ID INTEGER REFERENCES Units (Unit_ID),
    -- A weight and its unit come together or not at all.
    CHECK ((Item_Weight_Out IS NULL AND Item_Weight_Out_Unit_ID IS NULL)
           OR (Item_Weight_Out IS NOT NULL AND Item_Weight_Out_Unit_ID IS NOT NULL)),
    CHECK ((Item_Weight_In IS NULL AND Item_Weight_In_Unit_ID IS NULL)
           OR (Item_Weight_In IS NOT NULL AND Item_Weight_In_Unit_ID IS NOT NULL))
);

CREATE INDEX Item_Locations_Location_ID ON Item_Locations (Location_ID);
CREATE INDEX Item_Transfers_To_Location_ID ON Item_Transfers (To_Location_ID);

INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmItemActionType', 'Item Action Type');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmItemActionTypes', 'Item Action Types');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmItemAction', 'Item Action');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmItemActions', 'Item Actions');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmItemLocation', 'Item Location');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmItemLocations', 'Item Locations');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmItemTransfer', 'Item Transfer');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmItemTransfers', 'Item Transfers');

-- No window edits the chain positions: their row names no window.
INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission)
VALUES ('Item_Action_Times', 'Item Action Times', 'Item Action Time', 'Item_Action_Time_ID', 1);

INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission,
                       Single_Record_DB_App_Form_ID, Multiple_Records_DB_App_Form_ID)
SELECT 'Item_Action_Types', 'Item Action Types', 'Item Action Type', 'Item_Action_Type_ID', 1, s.DB_App_Form_ID,
       m.DB_App_Form_ID
FROM DB_App_Forms s, DB_App_Forms m
WHERE s.DB_App_Form_Name = 'frmItemActionType' AND m.DB_App_Form_Name = 'frmItemActionTypes';

INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission,
                       Single_Record_DB_App_Form_ID, Multiple_Records_DB_App_Form_ID)
SELECT 'Item_Actions', 'Item Actions', 'Item Action', 'Item_Action_ID', 1, s.DB_App_Form_ID, m.DB_App_Form_ID
FROM DB_App_Forms s, DB_App_Forms m
WHERE s.DB_App_Form_Name = 'frmItemAction' AND m.DB_App_Form_Name = 'frmItemActions';

INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission,
                       Single_Record_DB_App_Form_ID, Multiple_Records_DB_App_Form_ID)
SELECT 'Item_Locations', 'Item Locations', 'Item Location', 'Item_Location_ID', 1, s.DB_App_Form_ID, m.DB_App_Form_ID
FROM DB_App_Forms s, DB_App_Forms m
WHERE s.DB_App_Form_Name = 'frmItemLocation' AND m.DB_App_Form_Name = 'frmItemLocations';

INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission,
                       Single_Record_DB_App_Form_ID, Multiple_Records_DB_App_Form_ID)
SELECT 'Item_Transfers', 'Item Transfers', 'Item Transfer', 'Item_Transfer_ID', 1, s.DB_App_Form_ID, m.DB_App_Form_ID
FROM DB_App_Forms s, DB_App_Forms m
WHERE s.DB_App_Form_Name = 'frmItemTransfer' AND m.DB_App_Form_Name = 'frmItemTransfers';
