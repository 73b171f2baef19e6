-- What only the server needs: case-insensitive text, the version table, the T-SQL session
-- functions the program's SQL calls, and the change-log trigger function.
CREATE EXTENSION IF NOT EXISTS citext;

CREATE TABLE DB_Schema_Version (
    Version INTEGER NOT NULL PRIMARY KEY
);

CREATE OR REPLACE FUNCTION SUSER_NAME() RETURNS citext LANGUAGE sql STABLE AS $$ SELECT session_user::citext $$;

CREATE OR REPLACE FUNCTION USER_NAME() RETURNS citext LANGUAGE sql STABLE AS $$ SELECT current_user::citext $$;

CREATE OR REPLACE FUNCTION HOST_NAME() RETURNS text LANGUAGE sql STABLE AS $$
    SELECT COALESCE(NULLIF(current_setting('bramblecot.host', true), ''), host(inet_client_addr()), 'localhost')
$$;

CREATE OR REPLACE FUNCTION DB_NAME() RETURNS text LANGUAGE sql STABLE AS $$ SELECT current_database()::text $$;

CREATE OR REPLACE FUNCTION APP_NAME() RETURNS text LANGUAGE sql STABLE AS $$ SELECT current_setting('application_name') $$;

CREATE OR REPLACE FUNCTION GETDATE() RETURNS timestamp(3) LANGUAGE sql STABLE AS $$ SELECT LOCALTIMESTAMP(3) $$;

-- One row per insert, update and delete; the identity column's name is the trigger's argument.
CREATE OR REPLACE FUNCTION bramblecot_log_change() RETURNS trigger LANGUAGE plpgsql AS $$
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
                              db_change_time, db_old_values, db_new_values)
    VALUES (TG_TABLE_NAME, (COALESCE(new_row, old_row) ->> TG_ARGV[0])::integer, initcap(lower(TG_OP)),
            SUSER_NAME(), HOST_NAME(), APP_NAME(), LOCALTIMESTAMP(3), old_row::text, new_row::text);
    RETURN NULL;
END
$$;
