-- Where the subject of one item action (its item, case or batch) was last put before that action:
-- the To location and To employee of the latest earlier transfer of the same subject, or the
-- location of the latest earlier item location and the employee who performed it, whichever came
-- last. "Earlier" is by action date and time, then by identity. No row when there is none.
-- @param Item_Action_ID integer
-- @columns Location_ID Integer, Employee_ID Integer
SELECT x.Location_ID AS "Location_ID", x.Employee_ID AS "Employee_ID"
FROM (SELECT b.Item_Action_Date_Time AS Happened, b.Item_Action_ID AS Action_ID, tr.To_Location_ID AS Location_ID,
             tr.To_Employee_ID AS Employee_ID
      FROM Item_Actions a
      JOIN Item_Actions b ON b.Item_ID = a.Item_ID OR b.Case_ID = a.Case_ID OR b.Batch_ID = a.Batch_ID
      JOIN Item_Transfers tr ON tr.Item_Action_ID = b.Item_Action_ID
      WHERE a.Item_Action_ID = :Item_Action_ID
        AND (b.Item_Action_Date_Time < a.Item_Action_Date_Time
             OR (b.Item_Action_Date_Time = a.Item_Action_Date_Time AND b.Item_Action_ID < a.Item_Action_ID))
      UNION ALL
      SELECT b.Item_Action_Date_Time, b.Item_Action_ID, il.Location_ID, b.Performed_By_Employee_ID
      FROM Item_Actions a
      JOIN Item_Actions b ON b.Item_ID = a.Item_ID OR b.Case_ID = a.Case_ID OR b.Batch_ID = a.Batch_ID
      JOIN Item_Locations il ON il.Item_Action_ID = b.Item_Action_ID
      WHERE a.Item_Action_ID = :Item_Action_ID
        AND (b.Item_Action_Date_Time < a.Item_Action_Date_Time
             OR (b.Item_Action_Date_Time = a.Item_Action_Date_Time AND b.Item_Action_ID < a.Item_Action_ID))) x
ORDER BY x.Happened DESC, x.Action_ID DESC
LIMIT 1
