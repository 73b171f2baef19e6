-- The embedded database has no grants, and its change log names every table as declared already.
SELECT 1;
