-- The property classification tables: categories, types (with the review period and the item fields that apply), warnings and item statuses.

CREATE TABLE Property_Categories (
    Property_Category_ID {ID},
    Property_Category_Name {NAME} NOT NULL UNIQUE,
    Property_Category_Code {NAME} NOT NULL UNIQUE
);

CREATE TABLE Property_Types (
    Property_Type_ID {ID},
    Property_Type_Name {NAME} NOT NULL UNIQUE,
    Property_Type_Code {NAME} NOT NULL UNIQUE,
    Days_Until_Review INTEGER NOT NULL CHECK (Days_Until_Review BETWEEN 1 AND 200),
    Model_Applicable {BIT} NOT NULL DEFAULT 1,
    Year_Made_Applicable {BIT} NOT NULL DEFAULT 1,
    Color_Applicable {BIT} NOT NULL DEFAULT 1,
    Serial_Number_Applicable {BIT} NOT NULL DEFAULT 1,
    UPC_Applicable {BIT} NOT NULL DEFAULT 1,
    Currency_Applicable {BIT} NOT NULL DEFAULT 1,
    Weight_Applicable {BIT} NOT NULL DEFAULT 1
);

CREATE TABLE Warning_Types (
    Warning_Type_ID {ID},
    Warning_Type_Name {NAME} NOT NULL UNIQUE,
    Warning_Type_Code {NAME} NOT NULL UNIQUE
);

CREATE TABLE Item_Statuses (
    Item_Status_ID {ID},
    Item_Status_Name {NAME} NOT NULL UNIQUE,
    Item_Status_Code {NAME} NOT NULL UNIQUE
);

-- The tables' record and search windows, and the tables as the windows and permissions name them.
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmPropertyCategory', 'Property Category');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmPropertyCategories', 'Property Categories');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmPropertyType', 'Property Type');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmPropertyTypes', 'Property Types');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmWarningType', 'Warning Type');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmWarningTypes', 'Warning Types');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmItemStatus', 'Item Status');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmItemStatuses', 'Item Statuses');

INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission,
                       Single_Record_DB_App_Form_ID, Multiple_Records_DB_App_Form_ID)
SELECT 'Property_Categories', 'Property Categories', 'Property Category', 'Property_Category_ID', 1, s.DB_App_Form_ID, m.DB_App_Form_ID
FROM DB_App_Forms s, DB_App_Forms m WHERE s.DB_App_Form_Name = 'frmPropertyCategory' AND m.DB_App_Form_Name = 'frmPropertyCategories';

INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission,
                       Single_Record_DB_App_Form_ID, Multiple_Records_DB_App_Form_ID)
SELECT 'Property_Types', 'Property Types', 'Property Type', 'Property_Type_ID', 1, s.DB_App_Form_ID, m.DB_App_Form_ID
FROM DB_App_Forms s, DB_App_Forms m WHERE s.DB_App_Form_Name = 'frmPropertyType' AND m.DB_App_Form_Name = 'frmPropertyTypes';

INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission,
                       Single_Record_DB_App_Form_ID, Multiple_Records_DB_App_Form_ID)
SELECT 'Warning_Types', 'Warning Types', 'Warning Type', 'Warning_Type_ID', 1, s.DB_App_Form_ID, m.DB_App_Form_ID
FROM DB_App_Forms s, DB_App_Forms m WHERE s.DB_App_Form_Name = 'frmWarningType' AND m.DB_App_Form_Name = 'frmWarningTypes';

INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission,
                       Single_Record_DB_App_Form_ID, Multiple_Records_DB_App_Form_ID)
SELECT 'Item_Statuses', 'Item Statuses', 'Item Status', 'Item_Status_ID', 1, s.DB_App_Form_ID, m.DB_App_Form_ID
FROM DB_App_Forms s, DB_App_Forms m WHERE s.DB_App_Form_Name = 'frmItemStatus' AND m.DB_App_Form_Name = 'frmItemStatuses';
