-- The register of file updates and the two lists it draws on: program file names and folders.
-- Folder paths compare exactly, as file names on Linux do; the folder register also serves
-- other tables that store a folder by its identity.

CREATE TABLE DB_Folders (
    DB_Folder_ID {ID},
    DB_Folder_Name {TEXT} NOT NULL UNIQUE
);

CREATE TABLE DB_File_Names (
    DB_File_Name_ID {ID},
    DB_File_Name {TEXT} NOT NULL UNIQUE,
    DB_Program_File {BIT} NOT NULL DEFAULT 0
);

CREATE TABLE DB_File_Updates (
    DB_File_Update_ID {ID},
    DB_File_Name_ID INTEGER NOT NULL REFERENCES DB_File_Names (DB_File_Name_ID),
    Delete_Only {BIT} NOT NULL DEFAULT 0,
    Update_On_Start {BIT} NOT NULL DEFAULT 1,
    File_Version {TEXT},
    File_Date_Time {DATETIME},
    Server_DB_Folder_ID INTEGER NOT NULL REFERENCES DB_Folders (DB_Folder_ID),
    Client_DB_Folder_ID INTEGER NOT NULL REFERENCES DB_Folders (DB_Folder_ID),
    Update_Description {TEXT}
);

CREATE INDEX DB_File_Updates_File ON DB_File_Updates (DB_File_Name_ID);

INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmFileUpdate', 'File Update');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmFileUpdates', 'File Updates');

INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission,
                       Single_Record_DB_App_Form_ID, Multiple_Records_DB_App_Form_ID)
SELECT 'DB_File_Updates', 'File Updates', 'File Update', 'DB_File_Update_ID', 0, s.DB_App_Form_ID, m.DB_App_Form_ID
FROM DB_App_Forms s, DB_App_Forms m WHERE s.DB_App_Form_Name = 'frmFileUpdate' AND m.DB_App_Form_Name = 'frmFileUpdates';

-- No window keeps the file names: their pickers' buttons have nothing to open.
INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission)
VALUES ('DB_File_Names', 'File Names', 'File Name', 'DB_File_Name_ID', 0);

-- Every clerk who stores a file registers its folder, so adding folders is everyone's.
INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, DB_Default_Permission)
VALUES ('DB_Folders', 'Folders', 'Folder', 'DB_Folder_ID', 1);

-- The prompt on a database switch is a column of the user's own row and the background colour
-- one of the database's options: the settings procedures read and write them there. A user's
-- earlier choice of the prompt moves into the user's row; nothing else keeps either name.
UPDATE DB_Users
SET DB_Prompt_Database_Switch =
    (SELECT CASE WHEN trim(s.DB_Setting_Value) IN ('0', '''0''', 'False', 'false') THEN 0 ELSE 1 END
     FROM DB_User_Settings s
     WHERE s.DB_Login_Name = DB_Users.DB_User_Name AND s.DB_Setting_Name = 'DB_Prompt_Database_Switch')
WHERE EXISTS (SELECT 1 FROM DB_User_Settings s
              WHERE s.DB_Login_Name = DB_Users.DB_User_Name AND s.DB_Setting_Name = 'DB_Prompt_Database_Switch'
                AND s.DB_Setting_Value IS NOT NULL);

DELETE FROM DB_User_Settings WHERE DB_Setting_Name IN ('DB_Prompt_Database_Switch', 'DB_Background_Color');
DELETE FROM DB_Setting_Defaults WHERE DB_Setting_Name IN ('DB_Prompt_Database_Switch', 'DB_Background_Color');
