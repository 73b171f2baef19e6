-- The address under which a person was last reached: that of the person's most recent case link
-- that has one (by case date, then the newest link). No row when there is none.
-- @param Person_ID integer
SELECT cp.Address_Type_ID AS "Address_Type_ID", cp.Address_ID AS "Address_ID"
FROM Case_People cp
JOIN Cases c ON c.Case_ID = cp.Case_ID
WHERE cp.Person_ID = :Person_ID AND cp.Address_ID IS NOT NULL
ORDER BY c.Case_Date_Time DESC, cp.Case_Person_ID DESC
LIMIT 1
