-- Sample records for the embedded demonstration and the tests, loaded after reference_rows.sql
-- (Bramblecot_Main --load-sample-data, BRAMBLECOT_SAMPLE_DATA=1 bash scripts/run.sh): people, an
-- employee, a case with an item, its actions, a transfer and a location, a file, a notification, a
-- storage box and a clerk with permissions. Never for a live room's database: every employee picker
-- would start with the sample officer and the custody record with an item no one handed in.
-- Rows that exist already are kept.

-- A few people, one of them an employee, with an address and a telephone. People have no natural
-- key, so each row is added only when no row of the same names is there.
INSERT INTO People (First_Name, Last_Name, Date_Of_Birth)
SELECT 'John', 'Smith', '1970-04-12' WHERE NOT EXISTS (SELECT 1 FROM People WHERE First_Name = 'John' AND Last_Name = 'Smith');
INSERT INTO People (First_Name, Middle_Name, Last_Name)
SELECT 'Mary', 'Ann', 'O''Brien' WHERE NOT EXISTS (SELECT 1 FROM People WHERE First_Name = 'Mary' AND Last_Name = 'O''Brien');
INSERT INTO People (First_Name, Last_Name)
SELECT 'Carlos', 'Diaz' WHERE NOT EXISTS (SELECT 1 FROM People WHERE First_Name = 'Carlos' AND Last_Name = 'Diaz');
INSERT INTO Employees (Person_ID, Payroll_Number, Title, Employee_Category_ID, Rank_ID)
SELECT p.Person_ID, 'P-1001', 'Property Officer',
       (SELECT MIN(Employee_Category_ID) FROM Employee_Categories), (SELECT Rank_ID FROM Ranks WHERE Rank_Code = 'OFC')
FROM People p WHERE p.First_Name = 'Mary' AND p.Last_Name = 'O''Brien'
ON CONFLICT DO NOTHING;
INSERT INTO Addresses (Country_ID, Street_Address_1, City, State_ID, ZIP)
SELECT c.Country_ID, '100 Main Street', 'Springfield', s.State_ID, '62701'
FROM Countries c JOIN States s ON s.Country_ID = c.Country_ID AND s.State_Code = 'IL'
WHERE c.Country_Code_2 = 'US' AND NOT EXISTS (SELECT 1 FROM Addresses WHERE Street_Address_1 = '100 Main Street' AND City = 'Springfield');
INSERT INTO Telephones (Country_ID, Telephone_Area_Code, Telephone_Number)
SELECT Country_ID, '217', '5550100' FROM Countries
WHERE Country_Code_2 = 'US' AND NOT EXISTS (SELECT 1 FROM Telephones WHERE Telephone_Area_Code = '217' AND Telephone_Number = '5550100');
-- A case with its victim at the sample address and telephone.
INSERT INTO Cases (Case_Date_Time, Case_Number, Case_Status_ID, Crime_Class_ID, Felony_Class_ID,
                   Original_Incident_Address_ID, Default_Property_Category_ID, Default_Submitting_Employee_ID)
SELECT '2024-03-07 21:15:00', '20240307', (SELECT MIN(Case_Status_ID) FROM Case_Statuses),
       (SELECT MIN(Crime_Class_ID) FROM Crime_Classes), (SELECT MIN(Felony_Class_ID) FROM Felony_Classes),
       (SELECT MIN(Address_ID) FROM Addresses), (SELECT MIN(Property_Category_ID) FROM Property_Categories),
       (SELECT MIN(Employee_ID) FROM Employees)
ON CONFLICT DO NOTHING;
INSERT INTO Case_People (Case_ID, Case_Person_Type_ID, Person_ID, Address_ID, Telephone_ID)
SELECT c.Case_ID, t.Case_Person_Type_ID, p.Person_ID, (SELECT MIN(Address_ID) FROM Addresses),
       (SELECT MIN(Telephone_ID) FROM Telephones)
FROM Cases c, Case_Person_Types t, People p
WHERE c.Case_Number = '20240307' AND t.Case_Person_Type_Code = 'VIC' AND p.First_Name = 'John' AND p.Last_Name = 'Smith'
  AND NOT EXISTS (SELECT 1 FROM Case_People cp WHERE cp.Case_ID = c.Case_ID);
-- A manufacturer with one model, a room with a shelf, and an item of the sample case.
INSERT INTO Item_Models (Item_Model_Name, Item_Model_Code)
SELECT 'Trek', 'TREK' WHERE NOT EXISTS (SELECT 1 FROM Item_Models WHERE Item_Model_Name = 'Trek');
INSERT INTO Item_Models (Item_Model_Name, Item_Model_Code, Parent_Item_Model_ID)
SELECT 'FX 3', 'FX3', Item_Model_ID FROM Item_Models
WHERE Item_Model_Name = 'Trek' AND NOT EXISTS (SELECT 1 FROM Item_Models WHERE Item_Model_Name = 'FX 3');
INSERT INTO Locations (Location_Name, Location_Code)
SELECT 'Property Room', 'PR' WHERE NOT EXISTS (SELECT 1 FROM Locations WHERE Location_Name = 'Property Room');
INSERT INTO Locations (Location_Name, Location_Code, Parent_Location_ID)
SELECT 'Shelf A', 'PR-A', Location_ID FROM Locations
WHERE Location_Name = 'Property Room' AND NOT EXISTS (SELECT 1 FROM Locations WHERE Location_Name = 'Shelf A');
INSERT INTO Items (Case_ID, Item_Number, Item_Status_ID, Item_Description, Property_Category_ID, Property_Type_ID,
                   Item_Model_ID, Item_Review_Date)
SELECT c.Case_ID, '20240307', (SELECT Item_Status_ID FROM Item_Statuses WHERE Item_Status_Code = 'STORED'),
       'Grey bicycle, front light missing', c.Default_Property_Category_ID,
       (SELECT Property_Type_ID FROM Property_Types WHERE Property_Type_Code = 'BIKE'),
       (SELECT Item_Model_ID FROM Item_Models WHERE Item_Model_Name = 'FX 3'), '2024-06-05'
FROM Cases c
WHERE c.Case_Number = '20240307' AND NOT EXISTS (SELECT 1 FROM Items WHERE Item_Number = '20240307');
-- A file update of the register, and a clerk with a permission row of each kind, for trying the
-- administration windows out. The clerk has no log-in: an administrator gives one if wanted.
INSERT INTO DB_Folders (DB_Folder_Name) VALUES ('/opt/bramblecot/updates') ON CONFLICT DO NOTHING;
INSERT INTO DB_Folders (DB_Folder_Name) VALUES ('/opt/bramblecot') ON CONFLICT DO NOTHING;
INSERT INTO DB_File_Names (DB_File_Name, DB_Program_File) VALUES ('Bramblecot_Main', 1) ON CONFLICT DO NOTHING;
INSERT INTO DB_File_Names (DB_File_Name, DB_Program_File) VALUES ('Bramblecot_Start', 1) ON CONFLICT DO NOTHING;
INSERT INTO DB_File_Updates (DB_File_Name_ID, Delete_Only, Update_On_Start, File_Version, Server_DB_Folder_ID,
                             Client_DB_Folder_ID, Update_Description)
SELECT n.DB_File_Name_ID, 0, 1, '1.0', s.DB_Folder_ID, c.DB_Folder_ID, 'The main program'
FROM DB_File_Names n, DB_Folders s, DB_Folders c
WHERE n.DB_File_Name = 'Bramblecot_Main' AND s.DB_Folder_Name = '/opt/bramblecot/updates'
  AND c.DB_Folder_Name = '/opt/bramblecot'
  AND NOT EXISTS (SELECT 1 FROM DB_File_Updates u WHERE u.DB_File_Name_ID = n.DB_File_Name_ID);
INSERT INTO DB_Users (DB_User_Name, DB_Last_Name, DB_First_Name) VALUES ('sample_clerk', 'Clerk', 'Sample') ON CONFLICT DO NOTHING;
INSERT INTO DB_Action_Permissions (DB_User_ID, DB_Action_ID, DB_Permission)
SELECT u.DB_User_ID, a.DB_Action_ID, 1 FROM DB_Users u, DB_Actions a
WHERE u.DB_User_Name = 'sample_clerk' AND a.DB_Action_Code = 'RenameFiles' ON CONFLICT DO NOTHING;
INSERT INTO DB_Report_Permissions (DB_User_ID, DB_Report_ID, DB_Permission)
SELECT u.DB_User_ID, r.DB_Report_ID, 1 FROM DB_Users u, DB_Reports r
WHERE u.DB_User_Name = 'sample_clerk' AND r.DB_Report_Code = 'DB_Changes' ON CONFLICT DO NOTHING;
INSERT INTO DB_Table_Permissions (DB_User_ID, DB_Table_ID, DB_Table_Action_ID, DB_Permission)
SELECT u.DB_User_ID, t.DB_Table_ID, a.DB_Table_Action_ID, 1 FROM DB_Users u, DB_Tables t, DB_Table_Actions a
WHERE u.DB_User_Name = 'sample_clerk' AND t.DB_Table_Name = 'DB_File_Updates' AND a.DB_Table_Action_Name = 'View'
ON CONFLICT DO NOTHING;
-- A photograph of the sample item through the file register, and a release notice about it.
INSERT INTO DB_Folders (DB_Folder_Name) VALUES ('/opt/bramblecot/Images') ON CONFLICT DO NOTHING;
INSERT INTO DB_Files (DB_Folder_ID, DB_File_Name)
SELECT DB_Folder_ID, 'gun.jpg' FROM DB_Folders WHERE DB_Folder_Name = '/opt/bramblecot/Images' ON CONFLICT DO NOTHING;
INSERT INTO Item_Files (Item_ID, DB_File_ID)
SELECT i.Item_ID, n.DB_File_ID
FROM Items i, DB_Files n JOIN DB_Folders f ON f.DB_Folder_ID = n.DB_Folder_ID
WHERE i.Item_Number = '20240307' AND f.DB_Folder_Name = '/opt/bramblecot/Images' AND n.DB_File_Name = 'gun.jpg'
  AND NOT EXISTS (SELECT 1 FROM Item_Files x WHERE x.Item_ID = i.Item_ID);
INSERT INTO Notifications (Item_ID, Notification_Type_ID, Send_To_Person_ID, Send_To_Address_ID, Printed_On_Date,
                           Printed_By_Employee_ID)
SELECT i.Item_ID, t.Notification_Type_ID, p.Person_ID, (SELECT MIN(Address_ID) FROM Addresses), '2024-06-10 09:30:00',
       (SELECT MIN(Employee_ID) FROM Employees)
FROM Items i, Notification_Types t, People p
WHERE i.Item_Number = '20240307' AND t.Notification_Type_Code = 'REL' AND p.First_Name = 'John' AND p.Last_Name = 'Smith'
  AND NOT EXISTS (SELECT 1 FROM Notifications x WHERE x.Item_ID = i.Item_ID);
-- A storage box holding the sample case.
INSERT INTO Batches (Batch_Number, Created_Date_Time, Created_By_Employee_ID, Batch_Type_ID, Batch_Description)
SELECT 'BOX-0001', '2024-03-08 09:30:00', e.Employee_ID, t.Batch_Type_ID, 'Bicycle case, room 1'
FROM Employees e, Batch_Types t
WHERE e.Payroll_Number = 'P-1001' AND t.Batch_Type_Code = 'BOX'
  AND NOT EXISTS (SELECT 1 FROM Batches WHERE Batch_Number = 'BOX-0001');
INSERT INTO Batch_Items (Batch_ID, Case_ID)
SELECT b.Batch_ID, c.Case_ID FROM Batches b, Cases c
WHERE b.Batch_Number = 'BOX-0001' AND c.Case_Number = '20240307'
  AND NOT EXISTS (SELECT 1 FROM Batch_Items bi WHERE bi.Batch_ID = b.Batch_ID AND bi.Case_ID = c.Case_ID);
-- The sample item stored on the shelf and then handed over from the shelf to the room.
INSERT INTO Item_Actions (Item_ID, Item_Action_Type_ID, Performed_By_Employee_ID, Item_Action_Date_Time,
                          Item_Action_Description)
SELECT i.Item_ID, t.Item_Action_Type_ID, (SELECT MIN(Employee_ID) FROM Employees), '2024-03-08 09:00:00',
       'Put on the shelf'
FROM Items i, Item_Action_Types t
WHERE i.Item_Number = '20240307' AND t.Item_Action_Type_Code = 'STORE'
  AND NOT EXISTS (SELECT 1 FROM Item_Actions a WHERE a.Item_ID = i.Item_ID AND a.Item_Action_Type_ID = t.Item_Action_Type_ID);
INSERT INTO Item_Actions (Item_ID, Item_Action_Type_ID, Performed_By_Employee_ID, Item_Action_Date_Time,
                          Item_Action_Description)
SELECT i.Item_ID, t.Item_Action_Type_ID, (SELECT MIN(Employee_ID) FROM Employees), '2024-03-09 14:30:00',
       'Taken to the room for viewing'
FROM Items i, Item_Action_Types t
WHERE i.Item_Number = '20240307' AND t.Item_Action_Type_Code = 'XFER'
  AND NOT EXISTS (SELECT 1 FROM Item_Actions a WHERE a.Item_ID = i.Item_ID AND a.Item_Action_Type_ID = t.Item_Action_Type_ID);
INSERT INTO Item_Locations (Item_Action_ID, Location_ID)
SELECT a.Item_Action_ID, (SELECT Location_ID FROM Locations WHERE Location_Name = 'Shelf A')
FROM Item_Actions a JOIN Item_Action_Types t ON t.Item_Action_Type_ID = a.Item_Action_Type_ID
WHERE t.Item_Action_Type_Code = 'STORE'
ON CONFLICT DO NOTHING;
INSERT INTO Item_Transfers (Item_Action_ID, From_Location_ID, To_Location_ID, From_Employee_ID, To_Employee_ID)
SELECT a.Item_Action_ID, (SELECT Location_ID FROM Locations WHERE Location_Name = 'Shelf A'),
       (SELECT Location_ID FROM Locations WHERE Location_Name = 'Property Room'), a.Performed_By_Employee_ID,
       a.Performed_By_Employee_ID
FROM Item_Actions a JOIN Item_Action_Types t ON t.Item_Action_Type_ID = a.Item_Action_Type_ID
WHERE t.Item_Action_Type_Code = 'XFER'
ON CONFLICT DO NOTHING;
