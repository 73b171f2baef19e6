-- Files attached to items (as a rule photographs), the register of files they point at, and the
-- notifications sent about items. Lengths and ranges are those the windows allow, so a row written
-- past the windows keeps them too.

-- The file register: a file is its folder of the folder register and its name within it. Paths
-- compare exactly (letter case counts), and a folder text is registered once for all its files.
CREATE TABLE DB_Files (
    DB_File_ID {ID},
    DB_Folder_ID INTEGER NOT NULL REFERENCES DB_Folders (DB_Folder_ID),
    DB_File_Name {TEXT} NOT NULL CHECK (length(DB_File_Name) BETWEEN 1 AND 255),
    UNIQUE (DB_Folder_ID, DB_File_Name)
);

CREATE TABLE Item_Files (
    Item_File_ID {ID},
    Item_ID INTEGER NOT NULL REFERENCES Items (Item_ID),
    DB_File_ID INTEGER NOT NULL REFERENCES DB_Files (DB_File_ID)
);

CREATE INDEX Item_Files_Item_ID ON Item_Files (Item_ID);

CREATE TABLE Notifications (
    Notification_ID {ID},
    Item_ID INTEGER NOT NULL REFERENCES Items (Item_ID),
    Notification_Type_ID INTEGER NOT NULL REFERENCES Notification_Types (Notification_Type_ID),
    Send_To_Person_ID INTEGER NOT NULL REFERENCES People (Person_ID),
    Send_To_Address_ID INTEGER NOT NULL REFERENCES Addresses (Address_ID),
    Printed_On_Date {DATETIME} CHECK (Printed_On_Date >= '1950-12-31' AND Printed_On_Date < '2050-01-02'),
    Printed_By_Employee_ID INTEGER REFERENCES Employees (Employee_ID),
    Sent_On_Date {DATETIME} CHECK (Sent_On_Date >= '1950-12-31' AND Sent_On_Date < '2050-01-02'),
    Sent_By_Employee_ID INTEGER REFERENCES Employees (Employee_ID),
    Notification_Comments {TEXT} CHECK (length(Notification_Comments) <= 200),
    Returned_On_Date {DATETIME} CHECK (Returned_On_Date >= '1950-12-31' AND Returned_On_Date < '2050-01-02'),
    Returned_Notification_Comments {TEXT} CHECK (length(Returned_Notification_Comments) <= 200)
);

CREATE INDEX Notifications_Item_ID ON Notifications (Item_ID);
CREATE INDEX Notifications_Printed_On_Date ON Notifications (Printed_On_Date);

INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmItemFile', 'Item File');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmItemFiles', 'Item Files');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmNotification', 'Notification');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmNotifications', 'Notifications');

INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission,
                       Single_Record_DB_App_Form_ID, Multiple_Records_DB_App_Form_ID)
SELECT 'Item_Files', 'Item Files', 'Item File', 'Item_File_ID', 1, s.DB_App_Form_ID, m.DB_App_Form_ID
FROM DB_App_Forms s, DB_App_Forms m WHERE s.DB_App_Form_Name = 'frmItemFile' AND m.DB_App_Form_Name = 'frmItemFiles';

INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission,
                       Single_Record_DB_App_Form_ID, Multiple_Records_DB_App_Form_ID)
SELECT 'Notifications', 'Notifications', 'Notification', 'Notification_ID', 1, s.DB_App_Form_ID, m.DB_App_Form_ID
FROM DB_App_Forms s, DB_App_Forms m WHERE s.DB_App_Form_Name = 'frmNotification' AND m.DB_App_Form_Name = 'frmNotifications';

-- Every clerk who attaches a file registers it, as with folders; the register has no window.
INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission)
VALUES ('DB_Files', 'Files', 'File', 'DB_File_ID', 1);
