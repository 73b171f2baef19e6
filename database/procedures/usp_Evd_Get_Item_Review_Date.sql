-- The review date an item of the type in the case is proposed: the case's day plus the type's
-- days until review. No row when the type or the case is gone.
-- @param Property_Type_ID integer
-- @param Case_ID integer
-- @columns Item_Review_Date Date
SELECT ADD_DAYS(c.Case_Date_Time, t.Days_Until_Review) AS "Item_Review_Date"
FROM Cases c, Property_Types t
WHERE c.Case_ID = :Case_ID AND t.Property_Type_ID = :Property_Type_ID
