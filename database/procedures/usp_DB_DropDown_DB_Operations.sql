-- The kinds of table action for pickers, in their natural order (insert, update, delete).
SELECT DB_Operation_ID AS "DB_Operation_ID", DB_Operation_Name AS "DB_Operation_Name"
FROM DB_Operations
ORDER BY DB_Operation_ID
