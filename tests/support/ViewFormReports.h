#pragma once

// The item reports' statements as they were before the reports found an item's actions by index:
// through the view of every action. The same columns and rows as the report procedures without
// their weights; the custody report test and bench compare the procedures with them.

inline const char* const kViewChainOfCustody = R"(SELECT i.Item_ID AS "Item_ID",
       CAST(i.Item_Number AS TEXT) || ' (case ' || CAST(c.Case_Number AS TEXT) || ')' AS "Item",
       i.Item_Number AS "Item_Number",
       c.Case_Number AS "Case_Number",
       i.Item_Description AS "Item_Description",
       a.Item_Action_Date_Time AS "Action_Date_Time",
       t.Item_Action_Type_Name_Past AS "Action",
       CASE WHEN a.Item_Action_ID IS NULL THEN NULL
            WHEN a.Item_ID IS NOT NULL THEN 'Item'
            WHEN a.Case_ID IS NOT NULL THEN 'Case'
            ELSE 'Batch ' || CAST(b.Batch_Number AS TEXT) END AS "Applied_To",
       e.Employee AS "Performed_By",
       fe.Employee AS "Released_By",
       te.Employee AS "Received_By",
       fl.Location_Name AS "From_Location",
       COALESCE(tl.Location_Name, il.Location_Name) AS "To_Location"
FROM Items i
JOIN Cases c ON c.Case_ID = i.Case_ID
LEFT JOIN vw_Evd_Item_Action_Subjects s ON s.Item_ID = i.Item_ID
LEFT JOIN Item_Actions a ON a.Item_Action_ID = s.Item_Action_ID
LEFT JOIN Item_Action_Types t ON t.Item_Action_Type_ID = a.Item_Action_Type_ID
LEFT JOIN Batches b ON b.Batch_ID = a.Batch_ID
LEFT JOIN vw_Evd_Employees e ON e.Employee_ID = a.Performed_By_Employee_ID
LEFT JOIN Item_Transfers tr ON tr.Item_Action_ID = a.Item_Action_ID
LEFT JOIN vw_Evd_Employees fe ON fe.Employee_ID = tr.From_Employee_ID
LEFT JOIN vw_Evd_Employees te ON te.Employee_ID = tr.To_Employee_ID
LEFT JOIN Full_Name_Locations fl ON fl.Location_ID = tr.From_Location_ID
LEFT JOIN Full_Name_Locations tl ON tl.Location_ID = tr.To_Location_ID
LEFT JOIN Item_Locations loc ON loc.Item_Action_ID = a.Item_Action_ID
LEFT JOIN Full_Name_Locations il ON il.Location_ID = loc.Location_ID
WHERE i.Item_ID = ?
ORDER BY a.Item_Action_Date_Time, a.Item_Action_ID)";

inline const char* const kViewItemHistory = R"(SELECT i.Item_ID AS "Item_ID",
       CAST(i.Item_Number AS TEXT) || ' (case ' || CAST(c.Case_Number AS TEXT) || ')' AS "Item",
       i.Item_Number AS "Item_Number",
       c.Case_Number AS "Case_Number",
       i.Item_Description AS "Item_Description",
       pt.Property_Type_Name AS "Property_Type",
       st.Item_Status_Name AS "Item_Status",
       a.Item_Action_Date_Time AS "Action_Date_Time",
       t.Item_Action_Type_Name_Past AS "Action",
       CASE WHEN a.Item_Action_ID IS NULL THEN NULL
            WHEN a.Item_ID IS NOT NULL THEN 'Item'
            WHEN a.Case_ID IS NOT NULL THEN 'Case'
            ELSE 'Batch ' || CAST(b.Batch_Number AS TEXT) END AS "Applied_To",
       e.Employee AS "Performed_By",
       COALESCE(il.Location_Name, tl.Location_Name) AS "Location",
       a.Item_Action_Description AS "Description"
FROM Items i
JOIN Cases c ON c.Case_ID = i.Case_ID
LEFT JOIN Property_Types pt ON pt.Property_Type_ID = i.Property_Type_ID
LEFT JOIN Item_Statuses st ON st.Item_Status_ID = i.Item_Status_ID
LEFT JOIN vw_Evd_Item_Action_Subjects s ON s.Item_ID = i.Item_ID
LEFT JOIN Item_Actions a ON a.Item_Action_ID = s.Item_Action_ID
LEFT JOIN Item_Action_Types t ON t.Item_Action_Type_ID = a.Item_Action_Type_ID
LEFT JOIN Batches b ON b.Batch_ID = a.Batch_ID
LEFT JOIN vw_Evd_Employees e ON e.Employee_ID = a.Performed_By_Employee_ID
LEFT JOIN Item_Locations loc ON loc.Item_Action_ID = a.Item_Action_ID
LEFT JOIN Full_Name_Locations il ON il.Location_ID = loc.Location_ID
LEFT JOIN Item_Transfers tr ON tr.Item_Action_ID = a.Item_Action_ID
LEFT JOIN Full_Name_Locations tl ON tl.Location_ID = tr.To_Location_ID
WHERE i.Item_ID = ?
ORDER BY a.Item_Action_Date_Time, a.Item_Action_ID)";
