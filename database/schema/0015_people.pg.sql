-- Views are not tables, so the schema code's grants do not reach them: users read this one as
-- they read the tables beneath it.
DO $$
BEGIN
    EXECUTE format('GRANT SELECT ON vw_evd_employees TO %I', current_database() || '_users');
END
$$;
