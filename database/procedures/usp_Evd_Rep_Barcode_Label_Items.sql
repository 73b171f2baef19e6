-- The barcode labels of one item, of every item of a case, or of every item of a batch (the items
-- put in it and the items of the cases put in it): the record code (I- and ten digits), item and
-- case numbers, description and property type. Any of the parameters may be given.
-- @param Item_ID integer
-- @param Case_ID integer
-- @param Batch_ID integer
SELECT 'I-' || substr('0000000000' || CAST(i.Item_ID AS TEXT), length(CAST(i.Item_ID AS TEXT)) + 1) AS "Item_Barcode",
       i.Item_Number AS "Item_Number",
       c.Case_Number AS "Case_Number",
       i.Item_Description AS "Item_Description",
       t.Property_Type_Name AS "Property_Type"
FROM Items i
JOIN Cases c ON c.Case_ID = i.Case_ID
LEFT JOIN Property_Types t ON t.Property_Type_ID = i.Property_Type_ID
WHERE (:Item_ID IS NULL OR i.Item_ID = :Item_ID)
  AND (:Case_ID IS NULL OR i.Case_ID = :Case_ID)
  AND (:Batch_ID IS NULL OR EXISTS (SELECT 1 FROM Batch_Items bi
                                   WHERE bi.Batch_ID = :Batch_ID AND (bi.Item_ID = i.Item_ID OR bi.Case_ID = i.Case_ID)))
  AND (:Item_ID IS NOT NULL OR :Case_ID IS NOT NULL OR :Batch_ID IS NOT NULL)
ORDER BY i.Item_Number, i.Item_ID
