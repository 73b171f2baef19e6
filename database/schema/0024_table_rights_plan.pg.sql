-- The refresh of the table-permission decisions plans without compiling to machine code and
-- without parallel workers: the tables are small, but before the server has gathered their
-- statistics it takes them for huge, and the compilation alone cost a third of a second for each
-- change of a user, a table or a permission (a hundred times the work).
ALTER FUNCTION bramblecot_work_out_table_rights() SET jit = off;
ALTER FUNCTION bramblecot_work_out_table_rights() SET max_parallel_workers_per_gather = 0;
