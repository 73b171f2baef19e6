-- The item statuses whose name and code begin with the given texts, every criterion optional; first column the identity.
-- @param Item_Status_Name text
-- @param Item_Status_Code text
SELECT t.Item_Status_ID AS "Item_Status_ID",
       t.Item_Status_Name AS "Name",
       t.Item_Status_Code AS "Code"
FROM Item_Statuses t
WHERE (CAST(:Item_Status_Name AS TEXT) IS NULL OR lower(t.Item_Status_Name) LIKE lower(CAST(:Item_Status_Name AS TEXT)) || '%')
  AND (CAST(:Item_Status_Code AS TEXT) IS NULL OR lower(t.Item_Status_Code) LIKE lower(CAST(:Item_Status_Code AS TEXT)) || '%')
ORDER BY t.Item_Status_Name
