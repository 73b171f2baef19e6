-- The framework tables. Column types are tokens each engine writes its own way:
-- {ID} identity key, {NAME} names and codes compared without regard to case, {TEXT} other text,
-- {MONEY}, {DATE}, {DATETIME}, {BIT} (a 0/1 flag), {NOW} the current local time.
-- Every table's identity is its first column; the change log relies on it.

CREATE TABLE DB_App_Forms (
    DB_App_Form_ID {ID},
    DB_App_Form_Name {NAME} NOT NULL UNIQUE,
    DB_App_Form_Caption {TEXT}
);

CREATE TABLE DB_Tables (
    DB_Table_ID {ID},
    DB_Table_Name {NAME} NOT NULL UNIQUE,
    DB_Table_Good_Name {TEXT} NOT NULL,
    DB_Record_Good_Name {TEXT} NOT NULL,
    DB_Table_Alias {TEXT},
    DB_ID_Field {TEXT},
    DB_Save_Changes {BIT} NOT NULL DEFAULT 0,
    DB_Default_Permission {BIT} NOT NULL DEFAULT 0,
    Single_Record_DB_App_Form_ID INTEGER REFERENCES DB_App_Forms (DB_App_Form_ID),
    Multiple_Records_DB_App_Form_ID INTEGER REFERENCES DB_App_Forms (DB_App_Form_ID),
    DB_Comments_For_Developer {TEXT},
    DB_Comments_For_User {TEXT},
    DB_Treat_Delete_As_Archive {BIT} NOT NULL DEFAULT 0
);

CREATE TABLE DB_Table_Actions (
    DB_Table_Action_ID {ID},
    DB_Table_Action_Name {NAME} NOT NULL UNIQUE
);

CREATE TABLE DB_Actions (
    DB_Action_ID {ID},
    DB_Action_Name {NAME} NOT NULL UNIQUE,
    DB_Action_Code {NAME} NOT NULL UNIQUE,
    DB_Default_Permission {BIT} NOT NULL DEFAULT 1
);

CREATE TABLE DB_Reports (
    DB_Report_ID {ID},
    DB_Report_Name {NAME} NOT NULL UNIQUE,
    DB_Report_Code {NAME} NOT NULL UNIQUE,
    DB_Default_Permission {BIT} NOT NULL DEFAULT 1
);

CREATE TABLE Employees (
    Employee_ID {ID},
    Payroll_Number {NAME}
);

CREATE INDEX Employees_Payroll_Number ON Employees (Payroll_Number);

CREATE TABLE DB_Users (
    DB_User_ID {ID},
    DB_User_Name {NAME} NOT NULL UNIQUE,
    DB_Last_Name {TEXT},
    DB_First_Name {TEXT},
    Employee_ID INTEGER REFERENCES Employees (Employee_ID),
    DB_Sys_Admin {BIT} NOT NULL DEFAULT 0,
    DB_User_Default_Country_ID INTEGER,
    DB_User_Default_State_ID INTEGER,
    DB_User_Default_City {TEXT},
    DB_User_Default_Area_Code {TEXT},
    DB_Prompt_Database_Switch {BIT} NOT NULL DEFAULT 1
);

CREATE TABLE DB_Action_Permissions (
    DB_Action_Permission_ID {ID},
    DB_User_ID INTEGER NOT NULL REFERENCES DB_Users (DB_User_ID),
    DB_Action_ID INTEGER NOT NULL REFERENCES DB_Actions (DB_Action_ID),
    DB_Permission {BIT} NOT NULL DEFAULT 1,
    UNIQUE (DB_User_ID, DB_Action_ID)
);

CREATE TABLE DB_Report_Permissions (
    DB_Report_Permission_ID {ID},
    DB_User_ID INTEGER NOT NULL REFERENCES DB_Users (DB_User_ID),
    DB_Report_ID INTEGER NOT NULL REFERENCES DB_Reports (DB_Report_ID),
    DB_Permission {BIT} NOT NULL DEFAULT 1,
    UNIQUE (DB_User_ID, DB_Report_ID)
);

CREATE TABLE DB_Table_Permissions (
    DB_Table_Permission_ID {ID},
    DB_User_ID INTEGER NOT NULL REFERENCES DB_Users (DB_User_ID),
    DB_Table_ID INTEGER NOT NULL REFERENCES DB_Tables (DB_Table_ID),
    DB_Table_Action_ID INTEGER NOT NULL REFERENCES DB_Table_Actions (DB_Table_Action_ID),
    DB_Permission {BIT} NOT NULL DEFAULT 1,
    UNIQUE (DB_User_ID, DB_Table_ID, DB_Table_Action_ID)
);

CREATE TABLE DB_App_Options (
    DB_App_Option_ID {ID},
    DB_Database_Code {NAME} NOT NULL UNIQUE,
    DB_Database_Name {TEXT} NOT NULL,
    DB_Company_Name {TEXT} NOT NULL,
    DB_Background_Color INTEGER NOT NULL DEFAULT 12632256,
    DB_Default_Country_ID INTEGER,
    DB_Default_State_ID INTEGER,
    DB_Default_City {TEXT},
    DB_Default_Area_Code {TEXT}
);

-- Per-user settings: a user's own value, else the database's default; a name in neither does
-- not exist.
CREATE TABLE DB_Setting_Defaults (
    DB_Setting_Default_ID {ID},
    DB_Setting_Name {NAME} NOT NULL UNIQUE,
    DB_Setting_Value {TEXT}
);

CREATE TABLE DB_User_Settings (
    DB_User_Setting_ID {ID},
    DB_Login_Name {NAME} NOT NULL,
    DB_Setting_Name {NAME} NOT NULL,
    DB_Setting_Value {TEXT},
    UNIQUE (DB_Login_Name, DB_Setting_Name)
);

CREATE TABLE DB_Form_Sizes (
    DB_Form_Size_ID {ID},
    DB_Login_Name {NAME} NOT NULL,
    DB_App_Form_Name {NAME} NOT NULL,
    DB_Width_Twips INTEGER,
    DB_Height_Twips INTEGER,
    UNIQUE (DB_Login_Name, DB_App_Form_Name)
);

CREATE TABLE DB_Column_Widths (
    DB_Column_Width_ID {ID},
    DB_Login_Name {NAME} NOT NULL,
    DB_App_Form_Name {NAME} NOT NULL,
    DB_App_Grid_Name {NAME} NOT NULL,
    DB_Column_Name {NAME} NOT NULL,
    DB_Width_Twips INTEGER NOT NULL,
    UNIQUE (DB_Login_Name, DB_App_Form_Name, DB_App_Grid_Name, DB_Column_Name)
);

-- One row per insert, update and delete of every logged table; rows outlive the records.
CREATE TABLE DB_Change_Log (
    DB_Change_Log_ID {ID},
    DB_Table_Name {NAME} NOT NULL,
    DB_PK INTEGER,
    DB_Operation {TEXT} NOT NULL,
    DB_Login_Name {TEXT},
    DB_Host_Name {TEXT},
    DB_App_Name {TEXT},
    DB_Change_Time {DATETIME} NOT NULL DEFAULT {NOW},
    DB_Old_Values {TEXT},
    DB_New_Values {TEXT}
);

CREATE INDEX DB_Change_Log_Record ON DB_Change_Log (DB_Table_Name, DB_PK);
