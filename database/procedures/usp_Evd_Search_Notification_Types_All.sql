-- The notification types whose name and code begin with the given texts, every criterion optional; first column the identity.
-- @param Notification_Type_Name text
-- @param Notification_Type_Code text
SELECT t.Notification_Type_ID AS "Notification_Type_ID",
       t.Notification_Type_Name AS "Name",
       t.Notification_Type_Code AS "Code",
       t.Report_Name AS "Report"
FROM Notification_Types t
WHERE (CAST(:Notification_Type_Name AS TEXT) IS NULL OR lower(t.Notification_Type_Name) LIKE lower(CAST(:Notification_Type_Name AS TEXT)) || '%')
  AND (CAST(:Notification_Type_Code AS TEXT) IS NULL OR lower(t.Notification_Type_Code) LIKE lower(CAST(:Notification_Type_Code AS TEXT)) || '%')
ORDER BY t.Notification_Type_Name
