-- A date converts to a date-time by itself, so one function of a date-time takes both. Plain SQL
-- and IMMUTABLE, so the planner puts the body in the caller's place: "c.Case_Date_Time <
-- DAY_AFTER(:To)" stays a range on the column's index. Everyone may run them, as the session
-- functions of 0001_engine.
CREATE OR REPLACE FUNCTION ADD_DAYS(d timestamp, n bigint) RETURNS date LANGUAGE sql IMMUTABLE AS $$
    SELECT CAST(d AS date) + CAST(n AS integer)
$$;

CREATE OR REPLACE FUNCTION DAY_AFTER(d timestamp) RETURNS date LANGUAGE sql IMMUTABLE AS $$
    SELECT CAST(d AS date) + 1
$$;
