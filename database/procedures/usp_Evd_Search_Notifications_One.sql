-- One notification by identity, with the columns of usp_Evd_Search_Notifications_All.
-- @param Notification_ID integer
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
WHERE n.Notification_ID = :Notification_ID
