-- Batch items: the cases and items a batch holds, one membership a row, either one item or a
-- whole case with all its items, never both. The action columns are written by the advanced
-- batch-item window only. Batch types and batch item actions are kept in the database (no window
-- edits them), so their starting rows come here.

CREATE TABLE Batch_Item_Actions (
    Batch_Item_Action_ID {ID},
    Batch_Item_Action_Name {NAME} NOT NULL UNIQUE CHECK (length(Batch_Item_Action_Name) <= 50),
    Batch_Item_Action_Code {NAME} NOT NULL UNIQUE CHECK (length(Batch_Item_Action_Code) <= 10)
);

CREATE TABLE Batch_Items (
    Batch_Item_ID {ID},
    Batch_ID INTEGER NOT NULL REFERENCES Batches (Batch_ID),
    Item_ID INTEGER REFERENCES Items (Item_ID),
    Case_ID INTEGER REFERENCES Cases (Case_ID),
    Batch_Item_Action_ID INTEGER REFERENCES Batch_Item_Actions (Batch_Item_Action_ID),
    Action_Date_Time {DATETIME} CHECK (Action_Date_Time >= '1950-12-31' AND Action_Date_Time < '2050-01-02'),
    CHECK (Item_ID IS NULL OR Case_ID IS NULL)
);

-- The membership checks and the item and case criteria look memberships up by each member.
CREATE INDEX Batch_Items_Batch_ID ON Batch_Items (Batch_ID);
CREATE INDEX Batch_Items_Item_ID ON Batch_Items (Item_ID);
CREATE INDEX Batch_Items_Case_ID ON Batch_Items (Case_ID);
CREATE INDEX Batches_Batch_Type_ID ON Batches (Batch_Type_ID);

INSERT INTO Batch_Types (Batch_Type_Name, Batch_Type_Code, Physical_Batch) VALUES ('Storage Box', 'BOX', 1);
INSERT INTO Batch_Types (Batch_Type_Name, Batch_Type_Code, Physical_Batch) VALUES ('Transport Container', 'TRANS', 1);
INSERT INTO Batch_Types (Batch_Type_Name, Batch_Type_Code, Physical_Batch) VALUES ('Court List', 'COURT', 0);
INSERT INTO Batch_Types (Batch_Type_Name, Batch_Type_Code, Physical_Batch) VALUES ('Review List', 'REVIEW', 0);

INSERT INTO Batch_Item_Actions (Batch_Item_Action_Name, Batch_Item_Action_Code) VALUES ('Placed in Batch', 'PLACED');
INSERT INTO Batch_Item_Actions (Batch_Item_Action_Name, Batch_Item_Action_Code) VALUES ('Removed from Batch', 'REMOVED');
INSERT INTO Batch_Item_Actions (Batch_Item_Action_Name, Batch_Item_Action_Code) VALUES ('Checked in Batch', 'CHECKED');

INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmBatch', 'Batch');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmBatches', 'Batches');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmBatchItem', 'Batch Item');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmBatchItems', 'Batch Items');
-- The advanced pair over the same table: an administrator may name it in the table's row instead.
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmBatchItemAdv', 'Batch Item');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmBatchItemsAdv', 'Batch Items');

INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission,
                       Single_Record_DB_App_Form_ID, Multiple_Records_DB_App_Form_ID)
SELECT 'Batches', 'Batches', 'Batch', 'Batch_ID', 1, s.DB_App_Form_ID, m.DB_App_Form_ID
FROM DB_App_Forms s, DB_App_Forms m WHERE s.DB_App_Form_Name = 'frmBatch' AND m.DB_App_Form_Name = 'frmBatches';

INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission,
                       Single_Record_DB_App_Form_ID, Multiple_Records_DB_App_Form_ID)
SELECT 'Batch_Items', 'Batch Items', 'Batch Item', 'Batch_Item_ID', 1, s.DB_App_Form_ID, m.DB_App_Form_ID
FROM DB_App_Forms s, DB_App_Forms m WHERE s.DB_App_Form_Name = 'frmBatchItem' AND m.DB_App_Form_Name = 'frmBatchItems';

-- No window edits these two: their pickers' buttons have nothing to open.
INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission)
VALUES ('Batch_Types', 'Batch Types', 'Batch Type', 'Batch_Type_ID', 1);
INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission)
VALUES ('Batch_Item_Actions', 'Batch Item Actions', 'Batch Item Action', 'Batch_Item_Action_ID', 1);
