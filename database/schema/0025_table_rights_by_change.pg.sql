-- A change of a user, a table or a permission renews only the decisions it touches: with 500 users
-- and 100 tables, working every decision out again made each such change cost a second and a half,
-- and filling the users one by one grew with the square of their number. The triggers hand the
-- changed rows (transition tables) to the refresh, which works out the decisions of the tables and
-- log-ins named in them; a change of the table actions, or a TRUNCATE, still works out everything.

-- A log-in's decisions are found by its key alone, and a table's permission rows by the table.
CREATE INDEX IF NOT EXISTS db_table_rights_login ON DB_Table_Rights (DB_Login_Key);
CREATE INDEX IF NOT EXISTS db_table_permissions_table ON DB_Table_Permissions (DB_Table_ID);

-- The statements are planned anew for each call with only the filters given: a plan kept for
-- "no filter or this filter" scans every permission row whatever the call asks for.
CREATE OR REPLACE FUNCTION bramblecot_work_out_table_rights_for(p_tables text[], p_logins text[]) RETURNS void
LANGUAGE plpgsql SET search_path = public, pg_temp SET jit = off SET max_parallel_workers_per_gather = 0 AS $$
DECLARE
    rights_filter text := 'true';
    table_filter text := 'true';
    login_filter text := 'true';
    blank_login_filter text := 'true';
    permission_filter text := 'true';
BEGIN
    IF p_tables IS NOT NULL THEN
        rights_filter := 'DB_Table_Key COLLATE "C" = ANY ($1)';
        table_filter := 'lower(t.DB_Table_Name::text) = ANY ($1)';
        permission_filter := 'p.DB_Table_ID IN (SELECT DB_Table_ID FROM tables)';
    END IF;
    IF p_logins IS NOT NULL THEN
        rights_filter := rights_filter || ' AND DB_Login_Key COLLATE "C" = ANY ($2)';
        login_filter := 'lower(DB_User_Name::text) = ANY ($2)';
        blank_login_filter := $q$'' = ANY ($2)$q$;
        permission_filter := permission_filter || ' AND p.DB_User_ID IN (SELECT DB_User_ID FROM logins)';
    END IF;
    -- One refresh at a time; one that waited reads the other's committed rows.
    LOCK TABLE DB_Table_Rights IN EXCLUSIVE MODE;
    EXECUTE 'DELETE FROM DB_Table_Rights WHERE ' || rights_filter USING p_tables, p_logins;
    EXECUTE $q$
    INSERT INTO DB_Table_Rights (DB_Table_Key, DB_Login_Key, DB_May_Add, DB_May_Edit, DB_May_Delete, DB_Record_Good_Name)
    WITH logins AS (
        SELECT DB_User_ID, lower(DB_User_Name::text) AS login, DB_Sys_Admin = 1 AS admin
          FROM DB_Users
         WHERE $q$ || login_filter || $q$
        UNION ALL
        SELECT NULL, '', false
         WHERE $q$ || blank_login_filter || $q$
    ), tables AS MATERIALIZED (
        SELECT t.DB_Table_ID, t.DB_Table_Name, t.DB_Default_Permission, t.DB_Record_Good_Name
          FROM DB_Tables t
         WHERE $q$ || table_filter || $q$
    ), permissions AS MATERIALIZED (
        -- Only the rows of the tables and users asked about, found by index.
        SELECT p.DB_Table_ID, p.DB_User_ID, p.DB_Table_Action_ID, p.DB_Permission
          FROM DB_Table_Permissions p
         WHERE $q$ || permission_filter || $q$
    ), decided AS (
        SELECT lower(t.DB_Table_Name::text) AS tbl, l.login, lower(a.DB_Table_Action_Name::text) AS action,
               l.admin OR COALESCE(p.DB_Permission, t.DB_Default_Permission) = 1 AS permitted,
               t.DB_Record_Good_Name AS good_name
          FROM tables t
          CROSS JOIN logins l
          CROSS JOIN DB_Table_Actions a
          LEFT JOIN permissions p
                 ON p.DB_Table_ID = t.DB_Table_ID AND p.DB_User_ID = l.DB_User_ID
                AND p.DB_Table_Action_ID = a.DB_Table_Action_ID
    )
    SELECT tbl, login,
           COALESCE(bool_or(permitted) FILTER (WHERE action = 'add'), false),
           COALESCE(bool_or(permitted) FILTER (WHERE action = 'edit'), false),
           COALESCE(bool_or(permitted) FILTER (WHERE action = 'delete'), false),
           min(good_name)
      FROM decided
     GROUP BY tbl, login$q$ USING p_tables, p_logins;
END
$$;

CREATE OR REPLACE FUNCTION bramblecot_work_out_table_rights() RETURNS void
LANGUAGE plpgsql SET search_path = public, pg_temp AS $$
BEGIN
    PERFORM bramblecot_work_out_table_rights_for(NULL, NULL);
END
$$;

-- The users a statement on DB_Users added, removed, renamed or made (or unmade) administrators.
CREATE OR REPLACE FUNCTION bramblecot_refresh_user_rights() RETURNS trigger
LANGUAGE plpgsql SECURITY DEFINER SET search_path = public, pg_temp AS $$
DECLARE
    changed text[];
BEGIN
    IF TG_OP = 'INSERT' THEN
        SELECT array_agg(DISTINCT lower(DB_User_Name::text)) INTO changed FROM new_rows;
    ELSIF TG_OP = 'DELETE' THEN
        SELECT array_agg(DISTINCT lower(DB_User_Name::text)) INTO changed FROM old_rows;
    ELSE
        SELECT array_agg(DISTINCT k) INTO changed
          FROM (SELECT lower(o.DB_User_Name::text), lower(n.DB_User_Name::text)
                  FROM old_rows o JOIN new_rows n ON n.DB_User_ID = o.DB_User_ID
                 WHERE o.DB_User_Name IS DISTINCT FROM n.DB_User_Name
                    OR o.DB_Sys_Admin IS DISTINCT FROM n.DB_Sys_Admin) AS pairs(a, b),
               LATERAL (VALUES (pairs.a), (pairs.b)) AS keys(k);
    END IF;
    IF changed IS NOT NULL THEN
        PERFORM bramblecot_work_out_table_rights_for(NULL, changed);
    END IF;
    RETURN NULL;
END
$$;

-- The tables a statement on DB_Tables added, removed, renamed or whose default or good name changed.
CREATE OR REPLACE FUNCTION bramblecot_refresh_table_definition_rights() RETURNS trigger
LANGUAGE plpgsql SECURITY DEFINER SET search_path = public, pg_temp AS $$
DECLARE
    changed text[];
BEGIN
    IF TG_OP = 'INSERT' THEN
        SELECT array_agg(DISTINCT lower(DB_Table_Name::text)) INTO changed FROM new_rows;
    ELSIF TG_OP = 'DELETE' THEN
        SELECT array_agg(DISTINCT lower(DB_Table_Name::text)) INTO changed FROM old_rows;
    ELSE
        SELECT array_agg(DISTINCT k) INTO changed
          FROM (SELECT lower(o.DB_Table_Name::text), lower(n.DB_Table_Name::text)
                  FROM old_rows o JOIN new_rows n ON n.DB_Table_ID = o.DB_Table_ID
                 WHERE o.DB_Table_Name IS DISTINCT FROM n.DB_Table_Name
                    OR o.DB_Default_Permission IS DISTINCT FROM n.DB_Default_Permission
                    OR o.DB_Record_Good_Name IS DISTINCT FROM n.DB_Record_Good_Name) AS pairs(a, b),
               LATERAL (VALUES (pairs.a), (pairs.b)) AS keys(k);
    END IF;
    IF changed IS NOT NULL THEN
        PERFORM bramblecot_work_out_table_rights_for(changed, NULL);
    END IF;
    RETURN NULL;
END
$$;

-- The tables and users of the permission rows a statement added, changed or removed. A row whose
-- user or table is gone with it is renewed by the trigger of that user or table.
CREATE OR REPLACE FUNCTION bramblecot_refresh_permission_rights() RETURNS trigger
LANGUAGE plpgsql SECURITY DEFINER SET search_path = public, pg_temp AS $$
DECLARE
    touched_tables text[];
    touched_logins text[];
BEGIN
    IF TG_OP = 'INSERT' THEN
        SELECT array_agg(DISTINCT lower(t.DB_Table_Name::text)) INTO touched_tables
          FROM new_rows c JOIN DB_Tables t ON t.DB_Table_ID = c.DB_Table_ID;
        SELECT array_agg(DISTINCT lower(u.DB_User_Name::text)) INTO touched_logins
          FROM new_rows c JOIN DB_Users u ON u.DB_User_ID = c.DB_User_ID;
    ELSIF TG_OP = 'DELETE' THEN
        SELECT array_agg(DISTINCT lower(t.DB_Table_Name::text)) INTO touched_tables
          FROM old_rows c JOIN DB_Tables t ON t.DB_Table_ID = c.DB_Table_ID;
        SELECT array_agg(DISTINCT lower(u.DB_User_Name::text)) INTO touched_logins
          FROM old_rows c JOIN DB_Users u ON u.DB_User_ID = c.DB_User_ID;
    ELSE
        SELECT array_agg(DISTINCT lower(t.DB_Table_Name::text)) INTO touched_tables
          FROM (SELECT DB_Table_ID FROM old_rows UNION SELECT DB_Table_ID FROM new_rows) c
          JOIN DB_Tables t ON t.DB_Table_ID = c.DB_Table_ID;
        SELECT array_agg(DISTINCT lower(u.DB_User_Name::text)) INTO touched_logins
          FROM (SELECT DB_User_ID FROM old_rows UNION SELECT DB_User_ID FROM new_rows) c
          JOIN DB_Users u ON u.DB_User_ID = c.DB_User_ID;
    END IF;
    IF touched_tables IS NOT NULL AND touched_logins IS NOT NULL THEN
        PERFORM bramblecot_work_out_table_rights_for(touched_tables, touched_logins);
    END IF;
    RETURN NULL;
END
$$;

REVOKE ALL ON FUNCTION bramblecot_work_out_table_rights_for(text[], text[]) FROM PUBLIC;
REVOKE ALL ON FUNCTION bramblecot_refresh_user_rights() FROM PUBLIC;
REVOKE ALL ON FUNCTION bramblecot_refresh_table_definition_rights() FROM PUBLIC;
REVOKE ALL ON FUNCTION bramblecot_refresh_permission_rights() FROM PUBLIC;

DROP TRIGGER IF EXISTS db_users_rights ON DB_Users;
DROP TRIGGER IF EXISTS db_tables_rights ON DB_Tables;
DROP TRIGGER IF EXISTS db_table_permissions_rights ON DB_Table_Permissions;

CREATE TRIGGER db_users_rights_insert AFTER INSERT ON DB_Users REFERENCING NEW TABLE AS new_rows
FOR EACH STATEMENT EXECUTE FUNCTION bramblecot_refresh_user_rights();
CREATE TRIGGER db_users_rights_update AFTER UPDATE ON DB_Users REFERENCING OLD TABLE AS old_rows NEW TABLE AS new_rows
FOR EACH STATEMENT EXECUTE FUNCTION bramblecot_refresh_user_rights();
CREATE TRIGGER db_users_rights_delete AFTER DELETE ON DB_Users REFERENCING OLD TABLE AS old_rows
FOR EACH STATEMENT EXECUTE FUNCTION bramblecot_refresh_user_rights();
CREATE TRIGGER db_users_rights_truncate AFTER TRUNCATE ON DB_Users
FOR EACH STATEMENT EXECUTE FUNCTION bramblecot_refresh_table_rights();

CREATE TRIGGER db_tables_rights_insert AFTER INSERT ON DB_Tables REFERENCING NEW TABLE AS new_rows
FOR EACH STATEMENT EXECUTE FUNCTION bramblecot_refresh_table_definition_rights();
CREATE TRIGGER db_tables_rights_update AFTER UPDATE ON DB_Tables REFERENCING OLD TABLE AS old_rows NEW TABLE AS new_rows
FOR EACH STATEMENT EXECUTE FUNCTION bramblecot_refresh_table_definition_rights();
CREATE TRIGGER db_tables_rights_delete AFTER DELETE ON DB_Tables REFERENCING OLD TABLE AS old_rows
FOR EACH STATEMENT EXECUTE FUNCTION bramblecot_refresh_table_definition_rights();
CREATE TRIGGER db_tables_rights_truncate AFTER TRUNCATE ON DB_Tables
FOR EACH STATEMENT EXECUTE FUNCTION bramblecot_refresh_table_rights();

CREATE TRIGGER db_table_permissions_rights_insert AFTER INSERT ON DB_Table_Permissions REFERENCING NEW TABLE AS new_rows
FOR EACH STATEMENT EXECUTE FUNCTION bramblecot_refresh_permission_rights();
CREATE TRIGGER db_table_permissions_rights_update AFTER UPDATE ON DB_Table_Permissions
REFERENCING OLD TABLE AS old_rows NEW TABLE AS new_rows
FOR EACH STATEMENT EXECUTE FUNCTION bramblecot_refresh_permission_rights();
CREATE TRIGGER db_table_permissions_rights_delete AFTER DELETE ON DB_Table_Permissions REFERENCING OLD TABLE AS old_rows
FOR EACH STATEMENT EXECUTE FUNCTION bramblecot_refresh_permission_rights();
CREATE TRIGGER db_table_permissions_rights_truncate AFTER TRUNCATE ON DB_Table_Permissions
FOR EACH STATEMENT EXECUTE FUNCTION bramblecot_refresh_table_rights();

SELECT bramblecot_work_out_table_rights();
