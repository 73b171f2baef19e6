-- Rows the program cannot work without.

INSERT INTO DB_Table_Actions (DB_Table_Action_Name) VALUES ('View');
INSERT INTO DB_Table_Actions (DB_Table_Action_Name) VALUES ('Add');
INSERT INTO DB_Table_Actions (DB_Table_Action_Name) VALUES ('Edit');
INSERT INTO DB_Table_Actions (DB_Table_Action_Name) VALUES ('Delete');

INSERT INTO DB_Actions (DB_Action_Name, DB_Action_Code, DB_Default_Permission) VALUES ('Rename Files', 'RenameFiles', 0);
INSERT INTO DB_Actions (DB_Action_Name, DB_Action_Code, DB_Default_Permission) VALUES ('Replace Text', 'ReplaceText', 0);

INSERT INTO DB_Reports (DB_Report_Name, DB_Report_Code, DB_Default_Permission) VALUES ('All Tables', 'AllTables', 1);
INSERT INTO DB_Reports (DB_Report_Name, DB_Report_Code, DB_Default_Permission) VALUES ('Database Changes', 'DB_Changes', 0);
INSERT INTO DB_Reports (DB_Report_Name, DB_Report_Code, DB_Default_Permission) VALUES ('Run SQL to Excel Report', 'RunSQLtoExcelReport', 0);

-- The windows of the framework tables and the tables themselves.
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmUser', 'User');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmUsers', 'Users');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmUserInfo', 'User Options');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmTable', 'Table');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmTables', 'Tables');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmDBAction', 'Action');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmDBActions', 'Actions');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmReport', 'Report');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmReports', 'Reports');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmActionPermission', 'Action Permission');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmActionPermissions', 'Action Permissions');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmReportPermission', 'Report Permission');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmReportPermissions', 'Report Permissions');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmTablePermission', 'Table Permission');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmTablePermissions', 'Table Permissions');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmDBOptions', 'Database Options');

INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission,
                       Single_Record_DB_App_Form_ID, Multiple_Records_DB_App_Form_ID)
SELECT 'DB_Users', 'Users', 'User', 'DB_User_ID', 0, s.DB_App_Form_ID, m.DB_App_Form_ID
FROM DB_App_Forms s, DB_App_Forms m WHERE s.DB_App_Form_Name = 'frmUser' AND m.DB_App_Form_Name = 'frmUsers';

INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission,
                       Single_Record_DB_App_Form_ID, Multiple_Records_DB_App_Form_ID)
SELECT 'DB_Tables', 'Tables', 'Table', 'DB_Table_ID', 0, s.DB_App_Form_ID, m.DB_App_Form_ID
FROM DB_App_Forms s, DB_App_Forms m WHERE s.DB_App_Form_Name = 'frmTable' AND m.DB_App_Form_Name = 'frmTables';

INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission,
                       Single_Record_DB_App_Form_ID, Multiple_Records_DB_App_Form_ID)
SELECT 'DB_Actions', 'Actions', 'Action', 'DB_Action_ID', 0, s.DB_App_Form_ID, m.DB_App_Form_ID
FROM DB_App_Forms s, DB_App_Forms m WHERE s.DB_App_Form_Name = 'frmDBAction' AND m.DB_App_Form_Name = 'frmDBActions';

INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission,
                       Single_Record_DB_App_Form_ID, Multiple_Records_DB_App_Form_ID)
SELECT 'DB_Reports', 'Reports', 'Report', 'DB_Report_ID', 0, s.DB_App_Form_ID, m.DB_App_Form_ID
FROM DB_App_Forms s, DB_App_Forms m WHERE s.DB_App_Form_Name = 'frmReport' AND m.DB_App_Form_Name = 'frmReports';

INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission,
                       Single_Record_DB_App_Form_ID, Multiple_Records_DB_App_Form_ID)
SELECT 'DB_Action_Permissions', 'Action Permissions', 'Action Permission', 'DB_Action_Permission_ID', 0,
       s.DB_App_Form_ID, m.DB_App_Form_ID
FROM DB_App_Forms s, DB_App_Forms m WHERE s.DB_App_Form_Name = 'frmActionPermission' AND m.DB_App_Form_Name = 'frmActionPermissions';

INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission,
                       Single_Record_DB_App_Form_ID, Multiple_Records_DB_App_Form_ID)
SELECT 'DB_Report_Permissions', 'Report Permissions', 'Report Permission', 'DB_Report_Permission_ID', 0,
       s.DB_App_Form_ID, m.DB_App_Form_ID
FROM DB_App_Forms s, DB_App_Forms m WHERE s.DB_App_Form_Name = 'frmReportPermission' AND m.DB_App_Form_Name = 'frmReportPermissions';

INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission,
                       Single_Record_DB_App_Form_ID, Multiple_Records_DB_App_Form_ID)
SELECT 'DB_Table_Permissions', 'Table Permissions', 'Table Permission', 'DB_Table_Permission_ID', 0,
       s.DB_App_Form_ID, m.DB_App_Form_ID
FROM DB_App_Forms s, DB_App_Forms m WHERE s.DB_App_Form_Name = 'frmTablePermission' AND m.DB_App_Form_Name = 'frmTablePermissions';

INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission,
                       Single_Record_DB_App_Form_ID)
SELECT 'DB_App_Options', 'Database Options', 'Database Options', 'DB_App_Option_ID', 0, s.DB_App_Form_ID
FROM DB_App_Forms s WHERE s.DB_App_Form_Name = 'frmDBOptions';

INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission)
VALUES ('DB_Table_Actions', 'Table Actions', 'Table Action', 'DB_Table_Action_ID', 0);

INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission)
VALUES ('DB_App_Forms', 'Application Forms', 'Application Form', 'DB_App_Form_ID', 0);

INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission)
VALUES ('Employees', 'Employees', 'Employee', 'Employee_ID', 1);

-- The database's own options row, keyed by the database's name.
INSERT INTO DB_App_Options (DB_Database_Code, DB_Database_Name, DB_Company_Name, DB_Background_Color)
VALUES (DB_NAME(), DB_NAME(), 'Police Department', 12632256);

-- A default for every per-user setting; a user's own value replaces it.
INSERT INTO DB_Setting_Defaults (DB_Setting_Name, DB_Setting_Value) VALUES ('DB_Show_Toolbar', '1');
INSERT INTO DB_Setting_Defaults (DB_Setting_Name, DB_Setting_Value) VALUES ('DB_Show_Status_Bar', '1');
INSERT INTO DB_Setting_Defaults (DB_Setting_Name, DB_Setting_Value) VALUES ('DB_Show_GoTo_Navigator', '1');
INSERT INTO DB_Setting_Defaults (DB_Setting_Name, DB_Setting_Value) VALUES ('DB_Show_Open_Windows_Navigator', '1');
INSERT INTO DB_Setting_Defaults (DB_Setting_Name, DB_Setting_Value) VALUES ('DB_Navigators_On_Left', '1');
INSERT INTO DB_Setting_Defaults (DB_Setting_Name, DB_Setting_Value) VALUES ('DB_Navigators_Width', '3600');
INSERT INTO DB_Setting_Defaults (DB_Setting_Name, DB_Setting_Value) VALUES ('DB_Horiz_Div_Y', '5400');
INSERT INTO DB_Setting_Defaults (DB_Setting_Name, DB_Setting_Value) VALUES ('DB_Background_Color', '12632256');
INSERT INTO DB_Setting_Defaults (DB_Setting_Name, DB_Setting_Value) VALUES ('DB_Prompt_Database_Switch', '1');
INSERT INTO DB_Setting_Defaults (DB_Setting_Name, DB_Setting_Value) VALUES ('DB_Query_Timeout', '30');
INSERT INTO DB_Setting_Defaults (DB_Setting_Name, DB_Setting_Value) VALUES ('DefaultFolder', '');
INSERT INTO DB_Setting_Defaults (DB_Setting_Name, DB_Setting_Value) VALUES ('DB_Item_File_Init_Folder', '');
INSERT INTO DB_Setting_Defaults (DB_Setting_Name, DB_Setting_Value) VALUES ('DB_Item_File_Preview', '1');
INSERT INTO DB_Setting_Defaults (DB_Setting_Name, DB_Setting_Value) VALUES ('DB_Rename_Files_Folder', '');
INSERT INTO DB_Setting_Defaults (DB_Setting_Name, DB_Setting_Value) VALUES ('DB_Rename_Files_Include_Sub_Folders', '0');
INSERT INTO DB_Setting_Defaults (DB_Setting_Name, DB_Setting_Value) VALUES ('DB_Replace_Text_Folder', '');
INSERT INTO DB_Setting_Defaults (DB_Setting_Name, DB_Setting_Value) VALUES ('DB_Replace_Text_Extensions', 'txt');
INSERT INTO DB_Setting_Defaults (DB_Setting_Name, DB_Setting_Value) VALUES ('DB_Replace_Text_Include_Sub_Folders', '0');
