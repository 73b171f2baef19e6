-- The chain of custody of an item for its report: the item's fields on every row (the report
-- groups by them), then each action that concerns it in date order, with the hands and places it
-- passed between: the employee who released it and the one who received it, the location it left
-- and the one it reached (a transfer), or the location it was put in, and the weights taken as it
-- left and as it arrived with their units. An item without actions gives one row with empty action
-- columns.
--
-- The actions concerning the item are those on the item, on its case, or on a batch holding either;
-- each kind is found through its own index and their details read once (Steps; employees' names one
-- by one, so the embedded engine never lists every employee), so the report costs what the item's
-- actions cost, whatever the size of the room. Full location names are walked only for the
-- locations these actions name, as Full_Name_Locations walks them (parents joined by " / ", at most
-- 32 deep), and looked up one per value, which keeps the server's estimates to the item's rows.
-- @param Item_ID integer
-- @columns Item Text
-- @columns Action_Date_Time DateTime
-- @columns Action Text
-- @columns Applied_To Text
-- @columns Performed_By Text
-- @columns Released_By Text
-- @columns Received_By Text
-- @columns From_Location Text
-- @columns To_Location Text
-- @columns Weight_Out Double
-- @columns Weight_Out_Unit Text
-- @columns Weight_In Double
-- @columns Weight_In_Unit Text
WITH RECURSIVE
Subject (Item_ID, Case_ID) AS (
    SELECT i.Item_ID, i.Case_ID FROM Items i WHERE i.Item_ID = :Item_ID
),
Holding_Batches (Batch_ID) AS (
    SELECT bi.Batch_ID FROM Subject s JOIN Batch_Items bi ON bi.Item_ID = s.Item_ID
    UNION
    SELECT bi.Batch_ID FROM Subject s JOIN Batch_Items bi ON bi.Case_ID = s.Case_ID
),
Concerning (Item_Action_ID) AS (
    SELECT a.Item_Action_ID FROM Subject s JOIN Item_Actions a ON a.Item_ID = s.Item_ID
    UNION
    SELECT a.Item_Action_ID FROM Subject s JOIN Item_Actions a ON a.Case_ID = s.Case_ID
    UNION
    SELECT a.Item_Action_ID FROM Holding_Batches h JOIN Item_Actions a ON a.Batch_ID = h.Batch_ID
),
Steps AS (
    SELECT a.Item_Action_ID AS Item_Action_ID,
           a.Item_Action_Date_Time AS Item_Action_Date_Time,
           t.Item_Action_Type_Name_Past AS Action_Name,
           CASE WHEN a.Item_ID IS NOT NULL THEN 'Item'
                WHEN a.Case_ID IS NOT NULL THEN 'Case'
                ELSE 'Batch ' || CAST(b.Batch_Number AS TEXT) END AS Applied_To,
           (SELECT e.Employee FROM vw_Evd_Employees e WHERE e.Employee_ID = a.Performed_By_Employee_ID) AS Performed_By,
           (SELECT fe.Employee FROM vw_Evd_Employees fe WHERE fe.Employee_ID = tr.From_Employee_ID) AS Released_By,
           (SELECT te.Employee FROM vw_Evd_Employees te WHERE te.Employee_ID = tr.To_Employee_ID) AS Received_By,
           tr.From_Location_ID AS From_Location_ID,
           tr.To_Location_ID AS To_Location_ID,
           loc.Location_ID AS Stored_Location_ID,
           tr.Item_Weight_Out AS Weight_Out,
           wo.Unit_Code AS Weight_Out_Unit,
           tr.Item_Weight_In AS Weight_In,
           wi.Unit_Code AS Weight_In_Unit
    FROM Concerning s
    JOIN Item_Actions a ON a.Item_Action_ID = s.Item_Action_ID
    LEFT JOIN Item_Action_Types t ON t.Item_Action_Type_ID = a.Item_Action_Type_ID
    LEFT JOIN Batches b ON b.Batch_ID = a.Batch_ID
    LEFT JOIN Item_Transfers tr ON tr.Item_Action_ID = a.Item_Action_ID
    LEFT JOIN Units wo ON wo.Unit_ID = tr.Item_Weight_Out_Unit_ID
    LEFT JOIN Units wi ON wi.Unit_ID = tr.Item_Weight_In_Unit_ID
    LEFT JOIN Item_Locations loc ON loc.Item_Action_ID = a.Item_Action_ID
),
Places (Location_ID) AS (
    SELECT From_Location_ID FROM Steps
    UNION
    SELECT To_Location_ID FROM Steps
    UNION
    SELECT Stored_Location_ID FROM Steps
),
Walk (Location_ID, Parent_Location_ID, Full_Name, Depth) AS (
    SELECT l.Location_ID, l.Parent_Location_ID, CAST(l.Location_Name AS TEXT), 1
    FROM Places p
    JOIN Locations l ON l.Location_ID = p.Location_ID
    UNION ALL
    SELECT w.Location_ID, p.Parent_Location_ID, CAST(p.Location_Name AS TEXT) || ' / ' || w.Full_Name, w.Depth + 1
    FROM Walk w
    JOIN Locations p ON p.Location_ID = w.Parent_Location_ID
    WHERE w.Depth < 32
),
Place_Names (Location_ID, Location_Name) AS (
    SELECT w.Location_ID, w.Full_Name
    FROM Walk w
    WHERE w.Parent_Location_ID IS NULL
       OR w.Depth = 32
       OR NOT EXISTS (SELECT 1 FROM Locations p WHERE p.Location_ID = w.Parent_Location_ID)
)
SELECT i.Item_ID AS "Item_ID",
       CAST(i.Item_Number AS TEXT) || ' (case ' || CAST(c.Case_Number AS TEXT) || ')' AS "Item",
       i.Item_Number AS "Item_Number",
       c.Case_Number AS "Case_Number",
       i.Item_Description AS "Item_Description",
       st.Item_Action_Date_Time AS "Action_Date_Time",
       st.Action_Name AS "Action",
       st.Applied_To AS "Applied_To",
       st.Performed_By AS "Performed_By",
       st.Released_By AS "Released_By",
       st.Received_By AS "Received_By",
       (SELECT fl.Location_Name FROM Place_Names fl WHERE fl.Location_ID = st.From_Location_ID) AS "From_Location",
       COALESCE((SELECT tl.Location_Name FROM Place_Names tl WHERE tl.Location_ID = st.To_Location_ID),
                (SELECT il.Location_Name FROM Place_Names il WHERE il.Location_ID = st.Stored_Location_ID)) AS "To_Location",
       st.Weight_Out AS "Weight_Out",
       st.Weight_Out_Unit AS "Weight_Out_Unit",
       st.Weight_In AS "Weight_In",
       st.Weight_In_Unit AS "Weight_In_Unit"
FROM Items i
JOIN Cases c ON c.Case_ID = i.Case_ID
LEFT JOIN Steps st ON 1 = 1
WHERE i.Item_ID = :Item_ID
ORDER BY st.Item_Action_Date_Time, st.Item_Action_ID
