-- The cases dated within the range (a "To" date includes that whole day) and, optionally, one case;
-- every criterion optional; first column the identity.
-- @param Case_Date_From date
-- @param Case_Date_To date
-- @param Case_ID integer
SELECT c.Case_ID AS "Case_ID",
       c.Case_Number AS "Case Number",
       c.Case_Date_Time AS "Case Date & Time",
       st.Case_Status_Name AS "Case Status",
       cc.Crime_Class_Name AS "Crime Class",
       fc.Felony_Class_Name AS "Felony Class",
       c.Invoice_Number AS "Invoice Number"
FROM Cases c
LEFT JOIN Case_Statuses st ON st.Case_Status_ID = c.Case_Status_ID
LEFT JOIN Crime_Classes cc ON cc.Crime_Class_ID = c.Crime_Class_ID
LEFT JOIN Felony_Classes fc ON fc.Felony_Class_ID = c.Felony_Class_ID
WHERE (:Case_Date_From IS NULL OR c.Case_Date_Time >= :Case_Date_From)
  AND (:Case_Date_To IS NULL OR c.Case_Date_Time < DAY_AFTER(:Case_Date_To))
  AND (:Case_ID IS NULL OR c.Case_ID = :Case_ID)
ORDER BY c.Case_Date_Time DESC, c.Case_ID DESC
