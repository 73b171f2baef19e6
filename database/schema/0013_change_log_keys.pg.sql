-- The change log's old and new values name each column as the migrations spell it ("Color_Name",
-- not the "color_name" the server folds it to), in the table's column order, written as the
-- embedded engine writes them: one table's log trigger function per table, made by
-- bramblecot_secure_table from the names the program's schema code passes, with one plain
-- expression per column (no per-row lookups, no per-column dynamic SQL).
-- The table permission trigger reads one row of DB_Table_Rights, the decisions worked out from
-- the permission tables whenever these change.

-- Looking up a record's history compares the identity first: a case-insensitive name compare on
-- every step down the index made each log row's insert markedly dearer.
DROP INDEX IF EXISTS db_change_log_record;
CREATE INDEX db_change_log_record ON DB_Change_Log (DB_PK, DB_Table_Name);

-- The program's table permissions (administrator, then the user's permission row, then the
-- table's default) decided for every table and user, and for a log-in without a user row (an
-- empty DB_Login_Key). Keys are lower case: names compare case-insensitively. Derived data
-- alone: written only by bramblecot_refresh_table_rights, read only by the permission trigger.
CREATE TABLE DB_Table_Rights (
    DB_Table_Key TEXT COLLATE "C" NOT NULL,
    DB_Login_Key TEXT COLLATE "C" NOT NULL,
    DB_May_Add BOOLEAN NOT NULL,
    DB_May_Edit BOOLEAN NOT NULL,
    DB_May_Delete BOOLEAN NOT NULL,
    DB_Record_Good_Name TEXT,
    PRIMARY KEY (DB_Table_Key, DB_Login_Key)
);
REVOKE ALL ON DB_Table_Rights FROM PUBLIC;

-- Works every decision out anew, in the transaction of the change: the next statement of any
-- session that sees the change sees its decisions. The tables are small, but before the server has
-- gathered their statistics it takes them for huge and would compile the query to machine code and
-- start parallel workers, which cost a hundred times the work: the refresh plans without either. One refresh at a time; one that waited reads
-- the other's committed rows (a transaction of a fixed snapshot fails to serialise instead).
CREATE OR REPLACE FUNCTION bramblecot_work_out_table_rights() RETURNS void
LANGUAGE plpgsql SET search_path = public, pg_temp SET jit = off SET max_parallel_workers_per_gather = 0 AS $$
BEGIN
    LOCK TABLE DB_Table_Rights IN EXCLUSIVE MODE;
    DELETE FROM DB_Table_Rights;
    INSERT INTO DB_Table_Rights (DB_Table_Key, DB_Login_Key, DB_May_Add, DB_May_Edit, DB_May_Delete, DB_Record_Good_Name)
    WITH logins AS (
        SELECT DB_User_ID, lower(DB_User_Name::text) AS login, DB_Sys_Admin = 1 AS admin FROM DB_Users
        UNION ALL
        SELECT NULL, '', false
    ), decided AS (
        SELECT lower(t.DB_Table_Name::text) AS tbl, l.login, lower(a.DB_Table_Action_Name::text) AS action,
               l.admin OR COALESCE(p.DB_Permission, t.DB_Default_Permission) = 1 AS permitted,
               t.DB_Record_Good_Name AS good_name
          FROM DB_Tables t
          CROSS JOIN logins l
          CROSS JOIN DB_Table_Actions a
          LEFT JOIN DB_Table_Permissions p
                 ON p.DB_Table_ID = t.DB_Table_ID AND p.DB_User_ID = l.DB_User_ID
                AND p.DB_Table_Action_ID = a.DB_Table_Action_ID
    )
    SELECT tbl, login,
           COALESCE(bool_or(permitted) FILTER (WHERE action = 'add'), false),
           COALESCE(bool_or(permitted) FILTER (WHERE action = 'edit'), false),
           COALESCE(bool_or(permitted) FILTER (WHERE action = 'delete'), false),
           min(good_name)
      FROM decided
     GROUP BY tbl, login;
END
$$;

-- A change of DB_Users, DB_Tables, DB_Table_Permissions or DB_Table_Actions; it runs as the
-- owner, the only one who may write the decisions.
CREATE OR REPLACE FUNCTION bramblecot_refresh_table_rights() RETURNS trigger
LANGUAGE plpgsql SECURITY DEFINER SET search_path = public, pg_temp AS $$
BEGIN
    PERFORM bramblecot_work_out_table_rights();
    RETURN NULL;
END
$$;

CREATE TRIGGER db_users_rights AFTER INSERT OR DELETE OR UPDATE OF DB_User_Name, DB_Sys_Admin OR TRUNCATE ON DB_Users
FOR EACH STATEMENT EXECUTE FUNCTION bramblecot_refresh_table_rights();
CREATE TRIGGER db_tables_rights AFTER INSERT OR DELETE OR UPDATE OF DB_Table_Name, DB_Default_Permission,
    DB_Record_Good_Name OR TRUNCATE ON DB_Tables
FOR EACH STATEMENT EXECUTE FUNCTION bramblecot_refresh_table_rights();
CREATE TRIGGER db_table_permissions_rights AFTER INSERT OR UPDATE OR DELETE OR TRUNCATE ON DB_Table_Permissions
FOR EACH STATEMENT EXECUTE FUNCTION bramblecot_refresh_table_rights();
CREATE TRIGGER db_table_actions_rights AFTER INSERT OR UPDATE OR DELETE OR TRUNCATE ON DB_Table_Actions
FOR EACH STATEMENT EXECUTE FUNCTION bramblecot_refresh_table_rights();

SELECT bramblecot_work_out_table_rights();

-- The table permission for the session's log-in, once per INSERT, UPDATE or DELETE statement
-- (the answer depends on the log-in, the table and the action alone, not on the rows): one
-- look-up by primary key, the user's row before the row of a log-in without one.
-- The decisions are few rows, which the planner would rather scan than look up; the look-up by
-- key is what keeps the cost flat as users and tables grow.
CREATE OR REPLACE FUNCTION bramblecot_check_table_permission() RETURNS trigger
LANGUAGE plpgsql SECURITY DEFINER SET search_path = public, pg_temp SET enable_seqscan = off AS $$
DECLARE
    tbl text := lower(TG_TABLE_NAME::text);
    login text := lower(session_user::text COLLATE "default");
    permitted boolean;
    good_name text;
BEGIN
    -- The function runs as the schema owner, who owns the tables: the owner (or a superuser)
    -- may change anything anyway, triggers included, and migrations write as the owner.
    IF pg_has_role(session_user, current_user, 'MEMBER') THEN
        RETURN NULL;
    END IF;
    SELECT CASE TG_OP WHEN 'INSERT' THEN r.DB_May_Add WHEN 'UPDATE' THEN r.DB_May_Edit ELSE r.DB_May_Delete END,
           r.DB_Record_Good_Name
      INTO permitted, good_name
      FROM DB_Table_Rights r
     WHERE r.DB_Table_Key = tbl COLLATE "C" AND r.DB_Login_Key = login COLLATE "C";
    IF NOT FOUND THEN
        -- A log-in without a user row: the table's default.
        SELECT CASE TG_OP WHEN 'INSERT' THEN r.DB_May_Add WHEN 'UPDATE' THEN r.DB_May_Edit ELSE r.DB_May_Delete END,
               r.DB_Record_Good_Name
          INTO permitted, good_name
          FROM DB_Table_Rights r
         WHERE r.DB_Table_Key = tbl COLLATE "C" AND r.DB_Login_Key = '';
    END IF;
    IF permitted IS NOT TRUE THEN
        RAISE EXCEPTION 'You are not permitted to % <%>.',
            CASE TG_OP WHEN 'INSERT' THEN 'Add' WHEN 'UPDATE' THEN 'Edit' ELSE 'Delete' END,
            COALESCE(good_name, TG_TABLE_NAME) USING ERRCODE = '42501';
    END IF;
    RETURN NULL;
END
$$;

-- The shared log function of earlier upgrades goes with its triggers; the refresh that ends this
-- upgrade gives every logged table its own.
DO $$
DECLARE
    t record;
BEGIN
    FOR t IN SELECT tgname, tgrelid::regclass AS tbl FROM pg_trigger
             WHERE tgfoid = 'bramblecot_log_change()'::regprocedure LOOP
        EXECUTE format('DROP TRIGGER %I ON %s', t.tgname, t.tbl);
    END LOOP;
END
$$;
DROP FUNCTION bramblecot_log_change();
DROP FUNCTION bramblecot_secure_table(text, text, text, text, text[]);

-- The grants and guard triggers of one table by its kind: 'data' (users write it as their table
-- permissions allow), 'framework' (administrators write it), 'own' (users write the rows that
-- carry their log-in in own_column), 'read' (nobody writes it but the owner and its triggers).
-- A framework table with own_column and own_columns lets users add their own row and change
-- those columns of it. A logged table (identity_column given) gets its change-log function and
-- triggers; log_columns are its columns as declared, for the keys of the logged values (a column
-- missing there keeps the server's lower-case name).
CREATE OR REPLACE FUNCTION bramblecot_secure_table(table_name text, kind text, identity_column text, own_column text,
                                                   own_columns text[], log_columns text[])
RETURNS void LANGUAGE plpgsql SET search_path = public, pg_temp AS $$
DECLARE
    users_role text := current_database() || '_users';
    admins_role text := current_database() || '_admins';
    tbl text := lower(table_name);
    log_function text := 'bramblecot_log_' || lower(table_name);
    columns text;
    col record;
    value_text text;
    old_parts text[] := '{}';
    new_parts text[] := '{}';
BEGIN
    IF octet_length(log_function) > 63 THEN
        RAISE EXCEPTION 'The table name % is too long for its change-log function: at most 48 bytes.', table_name;
    END IF;
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
    EXECUTE format('DROP FUNCTION IF EXISTS %I()', log_function);
    IF identity_column IS NULL THEN
        RETURN;
    END IF;
    -- Each column's value as the embedded engine's json_object writes it: numbers bare (money
    -- without trailing zeros), times as 'YYYY-MM-DD HH:MM:SS' with milliseconds when there are
    -- any, other values as JSON strings of their text.
    FOR col IN
        SELECT a.attname::text AS name, a.atttypid AS type,
               COALESCE((SELECT d FROM unnest(log_columns) AS d WHERE lower(d) = a.attname LIMIT 1), a.attname::text) AS key
          FROM pg_attribute a
         WHERE a.attrelid = tbl::regclass AND a.attnum > 0 AND NOT a.attisdropped
         ORDER BY a.attnum
    LOOP
        value_text := CASE
            WHEN col.type IN ('int2'::regtype, 'int4'::regtype, 'int8'::regtype) THEN 'COALESCE(%1$s.%2$I::text, ''null'')'
            WHEN col.type = 'numeric'::regtype THEN 'COALESCE(trim_scale(%1$s.%2$I)::text, ''null'')'
            WHEN col.type = 'timestamp'::regtype THEN
                'COALESCE(to_json(to_char(%1$s.%2$I, ''YYYY-MM-DD HH24:MI:SS'') || CASE WHEN date_trunc(''second'', %1$s.%2$I) = %1$s.%2$I '
                'THEN '''' ELSE to_char(%1$s.%2$I, ''.MS'') END)::text, ''null'')'
            WHEN col.type IN ('date'::regtype, 'bool'::regtype, 'float4'::regtype, 'float8'::regtype) THEN
                'COALESCE(to_json(%1$s.%2$I)::text, ''null'')'
            ELSE 'COALESCE(to_json(%1$s.%2$I::text)::text, ''null'')' END;
        old_parts := old_parts || (quote_literal(CASE WHEN cardinality(old_parts) = 0 THEN '{' ELSE ',' END
                                                 || to_json(col.key)::text || ':') || ' || ' || format(value_text, 'OLD', col.name));
        new_parts := new_parts || (quote_literal(CASE WHEN cardinality(new_parts) = 0 THEN '{' ELSE ',' END
                                                 || to_json(col.key)::text || ':') || ' || ' || format(value_text, 'NEW', col.name));
    END LOOP;
    -- It runs as its owner, the only one who may write the log.
    EXECUTE format('CREATE FUNCTION %1$I() RETURNS trigger LANGUAGE plpgsql SECURITY DEFINER SET search_path = public, pg_temp AS '
                   '$log$ DECLARE old_values text; new_values text; BEGIN '
                   'IF TG_OP <> ''INSERT'' THEN old_values := %2$s || ''}''; END IF; '
                   'IF TG_OP <> ''DELETE'' THEN new_values := %3$s || ''}''; END IF; '
                   'INSERT INTO db_change_log(db_table_name, db_pk, db_operation, db_login_name, db_host_name, db_app_name, '
                   'db_change_time, db_old_values, db_new_values, db_session_user, db_client_address) '
                   'VALUES (TG_TABLE_NAME, (CASE WHEN TG_OP = ''DELETE'' THEN OLD.%4$I ELSE NEW.%4$I END)::integer, '
                   'initcap(lower(TG_OP)), SUSER_NAME(), HOST_NAME(), APP_NAME(), LOCALTIMESTAMP(3), old_values, new_values, '
                   'session_user, COALESCE(host(inet_client_addr()), '''')); '
                   'RETURN NULL; END $log$',
                   log_function, array_to_string(old_parts, ' || '), array_to_string(new_parts, ' || '), lower(identity_column));
    EXECUTE format('REVOKE ALL ON FUNCTION %I() FROM PUBLIC', log_function);
    EXECUTE format('CREATE TRIGGER %I AFTER INSERT OR UPDATE OR DELETE ON %I FOR EACH ROW EXECUTE FUNCTION %I()',
                   tbl || '_log', tbl, log_function);
    EXECUTE format('CREATE TRIGGER %I AFTER TRUNCATE ON %I '
                   'FOR EACH STATEMENT EXECUTE FUNCTION bramblecot_log_truncate()', tbl || '_log_truncate', tbl);
END
$$;

REVOKE ALL ON FUNCTION bramblecot_work_out_table_rights() FROM PUBLIC;
REVOKE ALL ON FUNCTION bramblecot_refresh_table_rights() FROM PUBLIC;
REVOKE ALL ON FUNCTION bramblecot_secure_table(text, text, text, text, text[], text[]) FROM PUBLIC;
