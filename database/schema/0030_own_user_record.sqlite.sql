-- Every user may fill in their own user record: the names and defaults of their own DB_Users row,
-- and the row itself when it is missing. Nothing else of it (the log-in, the employee the user is,
-- the administrator flag) and no other user's row, unless the program's table permissions let the
-- user write users (an administrator). The embedded database knows its session's log-in only
-- through the program (SUSER_NAME()), so like every permission here this guards the program's
-- writes, not other tools'. A database without an administrator takes one: its first, or one in
-- place of the last, which the file's owner could otherwise only set outside the program.
CREATE TRIGGER DB_Users_own_record_insert BEFORE INSERT ON DB_Users
WHEN (NEW.DB_User_Name <> SUSER_NAME() OR NEW.Employee_ID IS NOT NULL OR COALESCE(NEW.DB_Sys_Admin, 0) <> 0)
 AND EXISTS (SELECT 1 FROM DB_Users WHERE DB_Sys_Admin = 1)
 AND COALESCE((SELECT CASE WHEN COALESCE(u.DB_Sys_Admin, 0) = 1 THEN 1
                           WHEN p.DB_Permission IS NOT NULL THEN p.DB_Permission
                           ELSE t.DB_Default_Permission END
                 FROM DB_Tables t
                 JOIN DB_Table_Actions ta ON ta.DB_Table_Action_Name = 'Add'
                 LEFT JOIN DB_Users u ON u.DB_User_Name = SUSER_NAME()
                 LEFT JOIN DB_Table_Permissions p ON p.DB_Table_ID = t.DB_Table_ID
                      AND p.DB_Table_Action_ID = ta.DB_Table_Action_ID AND p.DB_User_ID = u.DB_User_ID
                WHERE t.DB_Table_Name = 'DB_Users'), 0) <> 1
BEGIN SELECT RAISE(ABORT, 'You are not permitted to Add <User>.'); END;

CREATE TRIGGER DB_Users_own_record_update BEFORE UPDATE ON DB_Users
WHEN NOT (OLD.DB_User_Name = SUSER_NAME() AND NEW.DB_User_ID IS OLD.DB_User_ID AND NEW.DB_User_Name IS OLD.DB_User_Name
          AND NEW.Employee_ID IS OLD.Employee_ID AND NEW.DB_Sys_Admin IS OLD.DB_Sys_Admin)
 AND EXISTS (SELECT 1 FROM DB_Users WHERE DB_Sys_Admin = 1)
 AND COALESCE((SELECT CASE WHEN COALESCE(u.DB_Sys_Admin, 0) = 1 THEN 1
                           WHEN p.DB_Permission IS NOT NULL THEN p.DB_Permission
                           ELSE t.DB_Default_Permission END
                 FROM DB_Tables t
                 JOIN DB_Table_Actions ta ON ta.DB_Table_Action_Name = 'Edit'
                 LEFT JOIN DB_Users u ON u.DB_User_Name = SUSER_NAME()
                 LEFT JOIN DB_Table_Permissions p ON p.DB_Table_ID = t.DB_Table_ID
                      AND p.DB_Table_Action_ID = ta.DB_Table_Action_ID AND p.DB_User_ID = u.DB_User_ID
                WHERE t.DB_Table_Name = 'DB_Users'), 0) <> 1
BEGIN SELECT RAISE(ABORT, 'You are not permitted to Edit <User>.'); END;

CREATE TRIGGER DB_Users_own_record_delete BEFORE DELETE ON DB_Users
WHEN COALESCE((SELECT CASE WHEN COALESCE(u.DB_Sys_Admin, 0) = 1 THEN 1
                           WHEN p.DB_Permission IS NOT NULL THEN p.DB_Permission
                           ELSE t.DB_Default_Permission END
                 FROM DB_Tables t
                 JOIN DB_Table_Actions ta ON ta.DB_Table_Action_Name = 'Delete'
                 LEFT JOIN DB_Users u ON u.DB_User_Name = SUSER_NAME()
                 LEFT JOIN DB_Table_Permissions p ON p.DB_Table_ID = t.DB_Table_ID
                      AND p.DB_Table_Action_ID = ta.DB_Table_Action_ID AND p.DB_User_ID = u.DB_User_ID
                WHERE t.DB_Table_Name = 'DB_Users'), 0) <> 1
BEGIN SELECT RAISE(ABORT, 'You are not permitted to Delete <User>.'); END;
