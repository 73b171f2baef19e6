-- The case people of the cases dated within the range (a "To" date includes that whole day),
-- optionally of one case and in one role; every criterion optional; first column the identity.
-- @param Case_Date_From date
-- @param Case_Date_To date
-- @param Case_ID integer
-- @param Case_Person_Type_ID integer
SELECT cp.Case_Person_ID AS "Case_Person_ID",
       c.Case_Number AS "Case Number",
       c.Case_Date_Time AS "Case Date & Time",
       t.Case_Person_Type_Name AS "Person Type",
       CAST(p.Last_Name AS TEXT) || ', ' || CAST(p.First_Name AS TEXT) || COALESCE(' ' || CAST(p.Middle_Name AS TEXT), '')
           AS "Person",
       at.Address_Type_Name AS "Address Type",
       CAST(a.Street_Address_1 AS TEXT) || ', ' || CAST(a.City AS TEXT) AS "Address",
       tt.Telephone_Type_Name AS "Telephone Type",
       '(' || CAST(ph.Telephone_Area_Code AS TEXT) || ') ' || CAST(ph.Telephone_Number AS TEXT) AS "Telephone"
FROM Case_People cp
JOIN Cases c ON c.Case_ID = cp.Case_ID
JOIN People p ON p.Person_ID = cp.Person_ID
LEFT JOIN Case_Person_Types t ON t.Case_Person_Type_ID = cp.Case_Person_Type_ID
LEFT JOIN Address_Types at ON at.Address_Type_ID = cp.Address_Type_ID
LEFT JOIN Addresses a ON a.Address_ID = cp.Address_ID
LEFT JOIN Telephone_Types tt ON tt.Telephone_Type_ID = cp.Telephone_Type_ID
LEFT JOIN Telephones ph ON ph.Telephone_ID = cp.Telephone_ID
WHERE (:Case_Date_From IS NULL OR c.Case_Date_Time >= :Case_Date_From)
  AND (:Case_Date_To IS NULL OR c.Case_Date_Time < DAY_AFTER(:Case_Date_To))
  AND (:Case_ID IS NULL OR cp.Case_ID = :Case_ID)
  AND (:Case_Person_Type_ID IS NULL OR cp.Case_Person_Type_ID = :Case_Person_Type_ID)
ORDER BY c.Case_Date_Time DESC, p.Last_Name, p.First_Name, cp.Case_Person_ID
