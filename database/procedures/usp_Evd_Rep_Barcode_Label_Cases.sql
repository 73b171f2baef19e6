-- The barcode label of a case: its record code (C- and ten digits), number, date, status and crime
-- class.
-- @param Case_ID integer
SELECT 'C-' || substr('0000000000' || CAST(c.Case_ID AS TEXT), length(CAST(c.Case_ID AS TEXT)) + 1) AS "Case_Barcode",
       c.Case_Number AS "Case_Number",
       c.Case_Date_Time AS "Case_Date_Time",
       st.Case_Status_Name AS "Case_Status",
       cc.Crime_Class_Name AS "Crime_Class"
FROM Cases c
LEFT JOIN Case_Statuses st ON st.Case_Status_ID = c.Case_Status_ID
LEFT JOIN Crime_Classes cc ON cc.Crime_Class_ID = c.Crime_Class_ID
WHERE c.Case_ID = :Case_ID
ORDER BY c.Case_ID
