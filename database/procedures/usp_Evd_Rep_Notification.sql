-- The notification letter of one notification: its record code (N- and ten digits), its type and
-- the type's text, the addressee and the address, the item and its case, and who printed it when.
-- @param Notification_ID integer
-- @columns Notification_Barcode Text, Send_To_Name Text, State Text, Printed_By Text
SELECT 'N-' || substr('0000000000' || CAST(n.Notification_ID AS TEXT), length(CAST(n.Notification_ID AS TEXT)) + 1)
           AS "Notification_Barcode",
       t.Notification_Type_Name AS "Notification_Type",
       t.Notification_Text AS "Notification_Text",
       CAST(p.First_Name AS TEXT) || COALESCE(' ' || CAST(p.Middle_Name AS TEXT), '') || ' ' || CAST(p.Last_Name AS TEXT)
           AS "Send_To_Name",
       a.Street_Address_1 AS "Street_Address_1",
       a.Street_Address_2 AS "Street_Address_2",
       a.City AS "City",
       COALESCE(CAST(s.State_Name AS TEXT), CAST(a.State_Other AS TEXT)) AS "State",
       a.ZIP AS "ZIP",
       co.Country_Name AS "Country",
       i.Item_Number AS "Item_Number",
       i.Item_Description AS "Item_Description",
       c.Case_Number AS "Case_Number",
       n.Printed_On_Date AS "Printed_On_Date",
       e.Employee AS "Printed_By"
FROM Notifications n
JOIN Notification_Types t ON t.Notification_Type_ID = n.Notification_Type_ID
JOIN People p ON p.Person_ID = n.Send_To_Person_ID
JOIN Addresses a ON a.Address_ID = n.Send_To_Address_ID
LEFT JOIN States s ON s.State_ID = a.State_ID
LEFT JOIN Countries co ON co.Country_ID = a.Country_ID
JOIN Items i ON i.Item_ID = n.Item_ID
LEFT JOIN Cases c ON c.Case_ID = i.Case_ID
LEFT JOIN vw_Evd_Employees e ON e.Employee_ID = n.Printed_By_Employee_ID
WHERE n.Notification_ID = :Notification_ID
ORDER BY n.Notification_ID
