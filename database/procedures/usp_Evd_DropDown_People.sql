-- The people for pickers: identity and "Last, First Middle", by name.
-- @columns Person Text
SELECT Person_ID AS "Person_ID",
       CAST(Last_Name AS TEXT) || ', ' || CAST(First_Name AS TEXT) || COALESCE(' ' || CAST(Middle_Name AS TEXT), '')
           AS "Person"
FROM People
ORDER BY Last_Name, First_Name, Middle_Name, Person_ID
