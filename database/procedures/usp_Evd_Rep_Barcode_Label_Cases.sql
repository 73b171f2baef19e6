-- The barcode labels of a case, or of every case of a batch (the cases put in it and the cases of
-- the items put in it): the record code (C- and ten digits), number, date, status and crime class.
-- @param Case_ID integer
-- @param Batch_ID integer
SELECT 'C-' || substr('0000000000' || CAST(c.Case_ID AS TEXT), length(CAST(c.Case_ID AS TEXT)) + 1) AS "Case_Barcode",
       c.Case_Number AS "Case_Number",
       c.Case_Date_Time AS "Case_Date_Time",
       st.Case_Status_Name AS "Case_Status",
       cc.Crime_Class_Name AS "Crime_Class"
FROM Cases c
LEFT JOIN Case_Statuses st ON st.Case_Status_ID = c.Case_Status_ID
LEFT JOIN Crime_Classes cc ON cc.Crime_Class_ID = c.Crime_Class_ID
WHERE (:Case_ID IS NOT NULL AND c.Case_ID = :Case_ID)
   OR (:Batch_ID IS NOT NULL
       AND EXISTS (SELECT 1 FROM Batch_Items bi
                   LEFT JOIN Items i ON i.Item_ID = bi.Item_ID
                   WHERE bi.Batch_ID = :Batch_ID AND (bi.Case_ID = c.Case_ID OR i.Case_ID = c.Case_ID)))
ORDER BY c.Case_ID
