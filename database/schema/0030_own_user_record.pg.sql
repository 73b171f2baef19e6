-- Every user may fill in their own user record: the names and defaults of their own DB_Users row,
-- and the row itself when it is missing. Nothing else of it (the log-in, the employee the user is,
-- the administrator flag) and no other user's row. Users hold the table's write rights and this
-- trigger decides the rows and columns, so whatever client writes (psql included) is refused in
-- the program's own words, which column rights would not give.

-- The trigger's arguments: the column that names the row's log-in, the identity column, then the
-- columns a user may change of their own row.
CREATE OR REPLACE FUNCTION bramblecot_own_record_only() RETURNS trigger
LANGUAGE plpgsql SECURITY DEFINER SET search_path = public, pg_temp AS $$
DECLARE
    wanted text := CASE TG_OP WHEN 'INSERT' THEN 'Add' WHEN 'UPDATE' THEN 'Edit' ELSE 'Delete' END;
    login_column text := TG_ARGV[0];
    identity_column text := TG_ARGV[1];
    own_columns text[] := TG_ARGV[2:TG_NARGS - 1];
    good_name text;
BEGIN
    IF pg_has_role(session_user, current_user, 'MEMBER')
       OR pg_has_role(session_user, current_database() || '_admins', 'MEMBER') THEN
        RETURN CASE WHEN TG_OP = 'DELETE' THEN OLD ELSE NEW END;
    END IF;
    IF TG_OP = 'UPDATE' AND lower(to_jsonb(OLD) ->> login_column) = lower(session_user)
       AND (to_jsonb(OLD) - own_columns) = (to_jsonb(NEW) - own_columns) THEN
        RETURN NEW;
    END IF;
    -- A row of one's own carries nothing an administrator sets: every other column empty or 0.
    IF TG_OP = 'INSERT' AND lower(to_jsonb(NEW) ->> login_column) = lower(session_user)
       AND NOT EXISTS (SELECT 1 FROM jsonb_each(to_jsonb(NEW) - own_columns - login_column - identity_column) AS c
                        WHERE c.value NOT IN ('null'::jsonb, '0'::jsonb)) THEN
        RETURN NEW;
    END IF;
    SELECT DB_Record_Good_Name INTO good_name FROM DB_Tables WHERE DB_Table_Name = TG_TABLE_NAME::citext;
    RAISE EXCEPTION 'You are not permitted to % <%>.', wanted, COALESCE(good_name, TG_TABLE_NAME) USING ERRCODE = '42501';
END
$$;
REVOKE ALL ON FUNCTION bramblecot_own_record_only() FROM PUBLIC;

-- Run by the schema code after bramblecot_secure_table for a table whose users fill in a row of
-- their own: users get the table's write rights in place of column rights, and the trigger above
-- in place of the one for per-user rows.
CREATE OR REPLACE FUNCTION bramblecot_secure_own_record(table_name text, identity_column text, own_column text,
                                                        own_columns text[])
RETURNS void LANGUAGE plpgsql SET search_path = public, pg_temp AS $$
DECLARE
    users_role text := current_database() || '_users';
    tbl text := lower(table_name);
    arguments text;
BEGIN
    EXECUTE format('REVOKE INSERT, UPDATE, DELETE ON %I FROM %I', tbl, users_role);
    EXECUTE format('GRANT INSERT, UPDATE, DELETE ON %I TO %I', tbl, users_role);
    EXECUTE format('DROP TRIGGER IF EXISTS %I ON %I', tbl || '_own_rows', tbl);
    EXECUTE format('DROP TRIGGER IF EXISTS %I ON %I', tbl || '_own_record', tbl);
    SELECT string_agg(quote_literal(lower(c)), ', ') INTO arguments
      FROM unnest(ARRAY[own_column, identity_column] || own_columns) AS c;
    EXECUTE format('CREATE TRIGGER %I BEFORE INSERT OR UPDATE OR DELETE ON %I '
                   'FOR EACH ROW EXECUTE FUNCTION bramblecot_own_record_only(%s)', tbl || '_own_record', tbl, arguments);
END
$$;
REVOKE ALL ON FUNCTION bramblecot_secure_own_record(text, text, text, text[]) FROM PUBLIC;
