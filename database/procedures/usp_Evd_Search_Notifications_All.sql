-- The notifications printed within the range (a "To" date includes that whole day) and,
-- optionally, those of one item; every criterion optional; first column the identity.
-- @param Notification_Date_From date
-- @param Notification_Date_To date
-- @param Item_ID integer
SELECT n.Notification_ID AS "Notification_ID",
       i.Item_Number AS "Item Number",
       t.Notification_Type_Name AS "Notification Type",
       CAST(p.Last_Name AS TEXT) || ', ' || CAST(p.First_Name AS TEXT) || COALESCE(' ' || CAST(p.Middle_Name AS TEXT), '')
           AS "Send To",
       n.Printed_On_Date AS "Printed Date",
       n.Sent_On_Date AS "Sent Date",
       n.Returned_On_Date AS "Returned Date"
FROM Notifications n
JOIN Items i ON i.Item_ID = n.Item_ID
JOIN Notification_Types t ON t.Notification_Type_ID = n.Notification_Type_ID
JOIN People p ON p.Person_ID = n.Send_To_Person_ID
WHERE (:Notification_Date_From IS NULL OR n.Printed_On_Date >= :Notification_Date_From)
  AND (:Notification_Date_To IS NULL OR n.Printed_On_Date < DAY_AFTER(:Notification_Date_To))
  AND (:Item_ID IS NULL OR n.Item_ID = :Item_ID)
ORDER BY n.Printed_On_Date DESC, n.Notification_ID DESC
