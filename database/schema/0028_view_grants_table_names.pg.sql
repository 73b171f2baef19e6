-- Two things the schema code now does on every upgrade, which this migration's upgrade brings to
-- databases made before it:
-- * Every view is granted as the tables are: users read it. Views are not tables, and the grants
--   of the table code never reached the ones later migrations made.
-- * The change log names a table as the migrations declare it ("Items", as the embedded database
--   writes it), not as the server folds it ("items"). Rows written before keep their names.

-- A table's log rows and its truncation carry its declared name, given by the trigger.
CREATE OR REPLACE FUNCTION bramblecot_log_truncate() RETURNS trigger
LANGUAGE plpgsql SECURITY DEFINER SET search_path = public, pg_temp AS $$
BEGIN
    INSERT INTO db_change_log(db_table_name, db_pk, db_operation, db_login_name, db_host_name, db_app_name,
                              db_change_time, db_session_user, db_client_address)
    VALUES (COALESCE(TG_ARGV[0], TG_TABLE_NAME), NULL, 'Truncate', SUSER_NAME(), HOST_NAME(), APP_NAME(),
            LOCALTIMESTAMP(3), session_user, COALESCE(host(inet_client_addr()), ''));
    RETURN NULL;
END
$$;
REVOKE ALL ON FUNCTION bramblecot_log_truncate() FROM PUBLIC;

-- The grants and guard triggers of one table by its kind: 'data' (users write it as their table
-- permissions allow), 'framework' (administrators write it), 'own' (users write the rows that
-- carry their log-in in own_column), 'read' (nobody writes it but the owner and its triggers).
-- A framework table with own_column and own_columns lets users add their own row and change
-- those columns of it. A logged table (identity_column given) gets its change-log function and
-- triggers; log_columns are its columns as declared, for the keys of the logged values (a column
-- missing there keeps the server's lower-case name), and table_name is the table as declared, the
-- name its log rows carry.
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
                   'VALUES (%5$L, (CASE WHEN TG_OP = ''DELETE'' THEN OLD.%4$I ELSE NEW.%4$I END)::integer, '
                   'initcap(lower(TG_OP)), SUSER_NAME(), HOST_NAME(), APP_NAME(), LOCALTIMESTAMP(3), old_values, new_values, '
                   'session_user, COALESCE(host(inet_client_addr()), '''')); '
                   'RETURN NULL; END $log$',
                   log_function, array_to_string(old_parts, ' || '), array_to_string(new_parts, ' || '), lower(identity_column),
                   table_name);
    EXECUTE format('REVOKE ALL ON FUNCTION %I() FROM PUBLIC', log_function);
    EXECUTE format('CREATE TRIGGER %I AFTER INSERT OR UPDATE OR DELETE ON %I FOR EACH ROW EXECUTE FUNCTION %I()',
                   tbl || '_log', tbl, log_function);
    EXECUTE format('CREATE TRIGGER %I AFTER TRUNCATE ON %I '
                   'FOR EACH STATEMENT EXECUTE FUNCTION bramblecot_log_truncate(%L)', tbl || '_log_truncate', tbl, table_name);
END
$$;

REVOKE ALL ON FUNCTION bramblecot_secure_table(text, text, text, text, text[], text[]) FROM PUBLIC;

-- A view's grants: its users read it, as they read the tables beneath it; nobody writes it.
CREATE OR REPLACE FUNCTION bramblecot_secure_view(view_name text) RETURNS void
LANGUAGE plpgsql SET search_path = public, pg_temp AS $$
DECLARE
    users_role text := current_database() || '_users';
    admins_role text := current_database() || '_admins';
BEGIN
    EXECUTE format('REVOKE ALL ON %I FROM PUBLIC, %I, %I', lower(view_name), users_role, admins_role);
    EXECUTE format('GRANT SELECT ON %I TO %I', lower(view_name), users_role);
END
$$;
REVOKE ALL ON FUNCTION bramblecot_secure_view(text) FROM PUBLIC;
