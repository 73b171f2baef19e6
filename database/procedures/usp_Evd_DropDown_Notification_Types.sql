-- The notification types for pickers: identity and name, by name.
SELECT Notification_Type_ID AS "Notification_Type_ID", Notification_Type_Name AS "Notification_Type_Name"
FROM Notification_Types
ORDER BY Notification_Type_Name, Notification_Type_ID
