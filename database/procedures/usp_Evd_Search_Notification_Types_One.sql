-- One notification type by its identity, with the columns of usp_Evd_Search_Notification_Types_All.
-- @param Notification_Type_ID integer
SELECT t.Notification_Type_ID AS "Notification_Type_ID",
       t.Notification_Type_Name AS "Name",
       t.Notification_Type_Code AS "Code",
       t.Report_Name AS "Report"
FROM Notification_Types t
WHERE t.Notification_Type_ID = :Notification_Type_ID
