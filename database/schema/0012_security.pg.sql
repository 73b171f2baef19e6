-- The server is the guard of a multi-user database. The schema owner owns every table and
-- function; log-ins are members of the group role <database>_users, system administrators also
-- of <database>_admins (roles belong to the whole server, hence the database's name in theirs).
-- Users read every table, write the data tables as the program's table permissions allow (a
-- trigger on each asks the same question the windows ask), their own rows of the per-user
-- tables, and nothing else; the change log only grows, written by its triggers as their owner.
-- The grants and triggers of each table are made by the program's schema code for every table,
-- so tables of later migrations get them too (bramblecot_secure_table below).

-- What the server itself sees beside what the client declares (host and application names).
ALTER TABLE DB_Change_Log ADD COLUMN DB_Session_User TEXT;
ALTER TABLE DB_Change_Log ADD COLUMN DB_Client_Address TEXT;

DO $$
DECLARE
    users_role text := current_database() || '_users';
    admins_role text := current_database() || '_admins';
BEGIN
    IF octet_length(admins_role) > 63 THEN
        RAISE EXCEPTION 'The database name % is too long for its group roles: at most 56 bytes.', current_database();
    END IF;
    IF NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = users_role) THEN
        EXECUTE format('CREATE ROLE %I NOLOGIN', users_role);
    END IF;
    IF NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = admins_role) THEN
        EXECUTE format('CREATE ROLE %I NOLOGIN', admins_role);
    END IF;
    EXECUTE format('GRANT %I TO %I', users_role, admins_role);
    -- No tables of one's own, not even temporary ones that could stand in for the program's.
    -- Only the database's owner may say so; an owner of the schema alone leaves it to them.
    IF pg_has_role(current_user, (SELECT datdba FROM pg_database WHERE datname = current_database()), 'USAGE') THEN
        REVOKE CREATE ON SCHEMA public FROM PUBLIC;
        EXECUTE format('REVOKE TEMPORARY ON DATABASE %I FROM PUBLIC', current_database());
    END IF;
END
$$;

-- One row per insert, update and delete; the identity column's name is the trigger's argument.
-- It runs as its owner, the only one who may write the log.
CREATE OR REPLACE FUNCTION bramblecot_log_change() RETURNS trigger
LANGUAGE plpgsql SECURITY DEFINER SET search_path = public, pg_temp AS $$
DECLARE
    old_row jsonb;
    new_row jsonb;
BEGIN
    IF TG_OP <> 'INSERT' THEN
        old_row := to_jsonb(OLD);
    END IF;
    IF TG_OP <> 'DELETE' THEN
        new_row := to_jsonb(NEW);
    END IF;
    INSERT INTO db_change_log(db_table_name, db_pk, db_operation, db_login_name, db_host_name, db_app_name,
                              db_change_time, db_old_values, db_new_values, db_session_user, db_client_address)
    VALUES (TG_TABLE_NAME, (COALESCE(new_row, old_row) ->> TG_ARGV[0])::integer, initcap(lower(TG_OP)),
            SUSER_NAME(), HOST_NAME(), APP_NAME(), LOCALTIMESTAMP(3), old_row::text, new_row::text,
            session_user, COALESCE(host(inet_client_addr()), ''));
    RETURN NULL;
END
$$;

-- A TRUNCATE (only owners may) leaves one row naming the table.
CREATE OR REPLACE FUNCTION bramblecot_log_truncate() RETURNS trigger
LANGUAGE plpgsql SECURITY DEFINER SET search_path = public, pg_temp AS $$
BEGIN
    INSERT INTO db_change_log(db_table_name, db_pk, db_operation, db_login_name, db_host_name, db_app_name,
                              db_change_time, db_session_user, db_client_address)
    VALUES (TG_TABLE_NAME, NULL, 'Truncate', SUSER_NAME(), HOST_NAME(), APP_NAME(), LOCALTIMESTAMP(3),
            session_user, COALESCE(host(inet_client_addr()), ''));
    RETURN NULL;
END
$$;

-- The change log only grows: not even its owner changes or removes rows without first dropping
-- this trigger, which is a change of the schema of its own.
CREATE OR REPLACE FUNCTION bramblecot_keep_change_log() RETURNS trigger
LANGUAGE plpgsql SET search_path = public, pg_temp AS $$
BEGIN
    RAISE EXCEPTION 'The change log keeps every row: rows are neither changed nor deleted.' USING ERRCODE = '42501';
END
$$;

CREATE TRIGGER db_change_log_kept BEFORE UPDATE OR DELETE OR TRUNCATE ON DB_Change_Log
FOR EACH STATEMENT EXECUTE FUNCTION bramblecot_keep_change_log();

-- The program's table permission for the session's log-in, as usp_DB_Get_DB_Table_Permission
-- answers it: a system administrator may; else the user's permission row, else the table's
-- default. Once per statement: the answer does not depend on the rows. Plain expressions
-- rather than helper functions, since it runs before every write of every clerk.
CREATE OR REPLACE FUNCTION bramblecot_check_table_permission() RETURNS trigger
LANGUAGE plpgsql SECURITY DEFINER SET search_path = public, pg_temp AS $$
DECLARE
    wanted text := CASE TG_OP WHEN 'INSERT' THEN 'Add' WHEN 'UPDATE' THEN 'Edit' ELSE 'Delete' END;
    permitted integer;
    good_name text;
BEGIN
    -- The function runs as the schema owner, who owns the tables: the owner (or a superuser)
    -- may change anything anyway, triggers included, and migrations write as the owner.
    IF pg_has_role(session_user, current_user, 'MEMBER') THEN
        RETURN NULL;
    END IF;
    SELECT CASE WHEN COALESCE(u.DB_Sys_Admin, 0) = 1 THEN 1
                WHEN p.DB_Permission IS NOT NULL THEN p.DB_Permission
                ELSE t.DB_Default_Permission END,
           t.DB_Record_Good_Name
      INTO permitted, good_name
      FROM DB_Tables t
      JOIN DB_Table_Actions ta ON ta.DB_Table_Action_Name = wanted::citext
      LEFT JOIN DB_Users u ON u.DB_User_Name = session_user::text::citext
      LEFT JOIN DB_Table_Permissions p
             ON p.DB_Table_ID = t.DB_Table_ID AND p.DB_Table_Action_ID = ta.DB_Table_Action_ID AND p.DB_User_ID = u.DB_User_ID
     WHERE t.DB_Table_Name = TG_TABLE_NAME::citext;
    IF COALESCE(permitted, 0) <> 1 THEN
        RAISE EXCEPTION 'You are not permitted to % <%>.', wanted, COALESCE(good_name, TG_TABLE_NAME)
            USING ERRCODE = '42501';
    END IF;
    RETURN NULL;
END
$$;

-- A user writes only the rows of the per-user tables that carry their own log-in (the column
-- named by the trigger's argument); administrators and owners write any.
CREATE OR REPLACE FUNCTION bramblecot_own_rows_only() RETURNS trigger
LANGUAGE plpgsql SECURITY DEFINER SET search_path = public, pg_temp AS $$
DECLARE
    wanted text := CASE TG_OP WHEN 'INSERT' THEN 'Add' WHEN 'UPDATE' THEN 'Edit' ELSE 'Delete' END;
    good_name text;
BEGIN
    IF pg_has_role(session_user, current_user, 'MEMBER')
       OR pg_has_role(session_user, current_database() || '_admins', 'MEMBER') THEN
        RETURN CASE WHEN TG_OP = 'DELETE' THEN OLD ELSE NEW END;
    END IF;
    IF (TG_OP = 'INSERT' OR lower(to_jsonb(OLD) ->> TG_ARGV[0]) = lower(session_user))
       AND (TG_OP = 'DELETE' OR lower(to_jsonb(NEW) ->> TG_ARGV[0]) = lower(session_user)) THEN
        RETURN CASE WHEN TG_OP = 'DELETE' THEN OLD ELSE NEW END;
    END IF;
    SELECT DB_Record_Good_Name INTO good_name FROM DB_Tables WHERE DB_Table_Name = TG_TABLE_NAME::citext;
    RAISE EXCEPTION 'You are not permitted to % <%>.', wanted, COALESCE(good_name, TG_TABLE_NAME) USING ERRCODE = '42501';
END
$$;

-- Keeps the membership of <database>_admins in step with DB_Sys_Admin of the user row that
-- names the role; a row without a role of its name changes no role.
CREATE OR REPLACE FUNCTION bramblecot_set_admin_role(login text, admin boolean) RETURNS void
LANGUAGE plpgsql SECURITY DEFINER SET search_path = public, pg_temp AS $$
DECLARE
    admins_role text := current_database() || '_admins';
    member boolean;
BEGIN
    IF login IS NULL OR NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = lower(login)) THEN
        RETURN;
    END IF;
    member := EXISTS (SELECT 1 FROM pg_auth_members m
                      WHERE m.roleid = (SELECT oid FROM pg_roles WHERE rolname = admins_role)
                        AND m.member = (SELECT oid FROM pg_roles WHERE rolname = lower(login)));
    IF admin AND NOT member THEN
        EXECUTE format('GRANT %I TO %I', admins_role, lower(login));
    ELSIF member AND NOT admin THEN
        EXECUTE format('REVOKE %I FROM %I', admins_role, lower(login));
    END IF;
END
$$;

CREATE OR REPLACE FUNCTION bramblecot_sync_sys_admin() RETURNS trigger
LANGUAGE plpgsql SECURITY DEFINER SET search_path = public, pg_temp AS $$
BEGIN
    IF TG_OP = 'DELETE' OR (TG_OP = 'UPDATE' AND OLD.DB_User_Name IS DISTINCT FROM NEW.DB_User_Name) THEN
        PERFORM bramblecot_set_admin_role(OLD.DB_User_Name::text, false);
    END IF;
    IF TG_OP <> 'DELETE' THEN
        PERFORM bramblecot_set_admin_role(NEW.DB_User_Name::text, NEW.DB_Sys_Admin = 1);
    END IF;
    RETURN NULL;
END
$$;

-- The grants and guard triggers of one table by its kind: 'data' (users write it as their table
-- permissions allow), 'framework' (administrators write it), 'own' (users write the rows that
-- carry their log-in in own_column), 'read' (nobody writes it but the owner and its triggers).
-- A framework table with own_column and own_columns lets users add their own row and change
-- those columns of it. A logged table gets the change-log triggers, with its identity column.
CREATE OR REPLACE FUNCTION bramblecot_secure_table(table_name text, kind text, identity_column text, own_column text,
                                                   own_columns text[])
RETURNS void LANGUAGE plpgsql SET search_path = public, pg_temp AS $$
DECLARE
    users_role text := current_database() || '_users';
    admins_role text := current_database() || '_admins';
    tbl text := lower(table_name);
    columns text;
BEGIN
    -- Table rights and, with them, any column rights of earlier upgrades.
    EXECUTE format('REVOKE ALL ON %I FROM PUBLIC, %I, %I', tbl, users_role, admins_role);
    EXECUTE format('GRANT SELECT ON %I TO %I', tbl, users_role);
    IF kind = 'data' OR kind = 'own' THEN
        EXECUTE format('GRANT INSERT, UPDATE, DELETE ON %I TO %I', tbl, users_role);
    ELSIF kind = 'framework' THEN
        EXECUTE format('GRANT INSERT, UPDATE, DELETE ON %I TO %I', tbl, admins_role);
        IF own_column IS NOT NULL AND cardinality(own_columns) > 0 THEN
            SELECT string_agg(quote_ident(lower(c)), ', ') INTO columns FROM unnest(own_columns) AS c;
            EXECUTE format('GRANT INSERT (%s, %I), UPDATE (%s) ON %I TO %I', columns, lower(own_column), columns, tbl, users_role);
        END IF;
    END IF;

    EXECUTE format('DROP TRIGGER IF EXISTS %I ON %I', tbl || '_permission', tbl);
    IF kind = 'data' THEN
        EXECUTE format('CREATE TRIGGER %I BEFORE INSERT OR UPDATE OR DELETE ON %I '
                       'FOR EACH STATEMENT EXECUTE FUNCTION bramblecot_check_table_permission()', tbl || '_permission', tbl);
    END IF;
    EXECUTE format('DROP TRIGGER IF EXISTS %I ON %I', tbl || '_own_rows', tbl);
    IF own_column IS NOT NULL THEN
        EXECUTE format('CREATE TRIGGER %I BEFORE INSERT OR UPDATE OR DELETE ON %I '
                       'FOR EACH ROW EXECUTE FUNCTION bramblecot_own_rows_only(%L)', tbl || '_own_rows', tbl, lower(own_column));
    END IF;

    EXECUTE format('DROP TRIGGER IF EXISTS %I ON %I', tbl || '_log', tbl);
    EXECUTE format('DROP TRIGGER IF EXISTS %I ON %I', tbl || '_log_truncate', tbl);
    IF identity_column IS NOT NULL THEN
        EXECUTE format('CREATE TRIGGER %I AFTER INSERT OR UPDATE OR DELETE ON %I '
                       'FOR EACH ROW EXECUTE FUNCTION bramblecot_log_change(%L)', tbl || '_log', tbl, lower(identity_column));
        EXECUTE format('CREATE TRIGGER %I AFTER TRUNCATE ON %I '
                       'FOR EACH STATEMENT EXECUTE FUNCTION bramblecot_log_truncate()', tbl || '_log_truncate', tbl);
    END IF;
END
$$;

-- Functions that act as their owner are for the triggers alone.
REVOKE ALL ON FUNCTION bramblecot_log_change() FROM PUBLIC;
REVOKE ALL ON FUNCTION bramblecot_log_truncate() FROM PUBLIC;
REVOKE ALL ON FUNCTION bramblecot_check_table_permission() FROM PUBLIC;
REVOKE ALL ON FUNCTION bramblecot_own_rows_only() FROM PUBLIC;
REVOKE ALL ON FUNCTION bramblecot_set_admin_role(text, boolean) FROM PUBLIC;
REVOKE ALL ON FUNCTION bramblecot_sync_sys_admin() FROM PUBLIC;
REVOKE ALL ON FUNCTION bramblecot_secure_table(text, text, text, text, text[]) FROM PUBLIC;

CREATE TRIGGER db_users_sys_admin AFTER INSERT OR UPDATE OF DB_User_Name, DB_Sys_Admin OR DELETE ON DB_Users
FOR EACH ROW EXECUTE FUNCTION bramblecot_sync_sys_admin();

-- Log-ins that earlier set-ups granted rights one by one (GRANT ALL) lose them and become
-- members of the group roles instead; the owner keeps what it owns.
DO $$
DECLARE
    users_role text := current_database() || '_users';
    login record;
BEGIN
    FOR login IN SELECT r.rolname, u.DB_Sys_Admin FROM DB_Users u JOIN pg_roles r ON r.rolname = lower(u.DB_User_Name)
                 WHERE r.rolname <> current_user AND NOT r.rolsuper LOOP
        EXECUTE format('REVOKE ALL ON ALL TABLES IN SCHEMA public FROM %I', login.rolname);
        EXECUTE format('REVOKE ALL ON ALL SEQUENCES IN SCHEMA public FROM %I', login.rolname);
        EXECUTE format('GRANT %I TO %I', users_role, login.rolname);
        PERFORM bramblecot_set_admin_role(login.rolname, login.DB_Sys_Admin = 1);
    END LOOP;
    FOR login IN SELECT DB_User_Name FROM DB_Users WHERE DB_Sys_Admin = 1 LOOP
        PERFORM bramblecot_set_admin_role(login.DB_User_Name::text, true);
    END LOOP;
END
$$;
