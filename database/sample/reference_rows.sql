-- The reference rows a property room starts from: what a clerk picks from (statuses, classes,
-- categories, types, colours, currencies, units, people's particulars, ranks, address and
-- telephone types, item action types) and the telephone prefixes of a few countries. No case,
-- item, person, employee, location or user: those are the room's own.
--
-- On a server: psql -v ON_ERROR_STOP=1 -f reference_rows.sql (the file is in the program folder).
-- The embedded demonstration loads it before the sample records (Bramblecot_Main --load-sample-data).
-- Every statement adds a row only where the database has none of that name or code, and changes no
-- row it finds: loading it twice, or into a database with rows of its own or half loaded, adds only
-- what is missing. Countries, states and genders are not here: every database starts with them.

INSERT INTO Case_Statuses (Case_Status_Name, Case_Status_Code) VALUES ('Open', 'OPEN') ON CONFLICT DO NOTHING;
INSERT INTO Case_Statuses (Case_Status_Name, Case_Status_Code) VALUES ('Closed', 'CLOSED') ON CONFLICT DO NOTHING;
INSERT INTO Case_Statuses (Case_Status_Name, Case_Status_Code) VALUES ('Pending Court', 'COURT') ON CONFLICT DO NOTHING;
INSERT INTO Case_Person_Types (Case_Person_Type_Name, Case_Person_Type_Code) VALUES ('Owner', 'OWN') ON CONFLICT DO NOTHING;
INSERT INTO Case_Person_Types (Case_Person_Type_Name, Case_Person_Type_Code) VALUES ('Suspect', 'SUS') ON CONFLICT DO NOTHING;
INSERT INTO Case_Person_Types (Case_Person_Type_Name, Case_Person_Type_Code) VALUES ('Victim', 'VIC') ON CONFLICT DO NOTHING;
INSERT INTO Case_Person_Types (Case_Person_Type_Name, Case_Person_Type_Code) VALUES ('Witness', 'WIT') ON CONFLICT DO NOTHING;
INSERT INTO Crime_Classes (Crime_Class_Name, Crime_Class_Code) VALUES ('Burglary', 'BURG') ON CONFLICT DO NOTHING;
INSERT INTO Crime_Classes (Crime_Class_Name, Crime_Class_Code) VALUES ('Theft', 'THEFT') ON CONFLICT DO NOTHING;
INSERT INTO Crime_Classes (Crime_Class_Name, Crime_Class_Code) VALUES ('Narcotics', 'NARC') ON CONFLICT DO NOTHING;
INSERT INTO Felony_Classes (Felony_Class_Name, Felony_Class_Code) VALUES ('Class A Felony', 'A') ON CONFLICT DO NOTHING;
INSERT INTO Felony_Classes (Felony_Class_Name, Felony_Class_Code) VALUES ('Class B Felony', 'B') ON CONFLICT DO NOTHING;
INSERT INTO Felony_Classes (Felony_Class_Name, Felony_Class_Code) VALUES ('Misdemeanor', 'M') ON CONFLICT DO NOTHING;

INSERT INTO Property_Categories (Property_Category_Name, Property_Category_Code) VALUES ('Evidence', 'EVD') ON CONFLICT DO NOTHING;
INSERT INTO Property_Categories (Property_Category_Name, Property_Category_Code) VALUES ('Found Property', 'FND') ON CONFLICT DO NOTHING;
INSERT INTO Property_Categories (Property_Category_Name, Property_Category_Code) VALUES ('Safekeeping', 'SAFE') ON CONFLICT DO NOTHING;
INSERT INTO Property_Types (Property_Type_Name, Property_Type_Code, Days_Until_Review) VALUES ('Bicycle', 'BIKE', 90) ON CONFLICT DO NOTHING;
INSERT INTO Property_Types (Property_Type_Name, Property_Type_Code, Days_Until_Review) VALUES ('Cash', 'CASH', 30) ON CONFLICT DO NOTHING;
INSERT INTO Property_Types (Property_Type_Name, Property_Type_Code, Days_Until_Review) VALUES ('Firearm', 'GUN', 180) ON CONFLICT DO NOTHING;
INSERT INTO Property_Types (Property_Type_Name, Property_Type_Code, Days_Until_Review) VALUES ('Jewelry', 'JEWEL', 120) ON CONFLICT DO NOTHING;
INSERT INTO Item_Statuses (Item_Status_Name, Item_Status_Code) VALUES ('In Storage', 'STORED') ON CONFLICT DO NOTHING;
INSERT INTO Item_Statuses (Item_Status_Name, Item_Status_Code) VALUES ('Checked Out', 'OUT') ON CONFLICT DO NOTHING;
INSERT INTO Item_Statuses (Item_Status_Name, Item_Status_Code) VALUES ('Released to Owner', 'RELEASED') ON CONFLICT DO NOTHING;
INSERT INTO Item_Statuses (Item_Status_Name, Item_Status_Code) VALUES ('Destroyed', 'DESTROYED') ON CONFLICT DO NOTHING;
INSERT INTO Warning_Types (Warning_Type_Name, Warning_Type_Code) VALUES ('Biohazard', 'BIO') ON CONFLICT DO NOTHING;
INSERT INTO Warning_Types (Warning_Type_Name, Warning_Type_Code) VALUES ('Sharp Object', 'SHARP') ON CONFLICT DO NOTHING;

-- A colour number is red + 256 x green + 65536 x blue.
INSERT INTO Colors (Color_Name, Appllies_To_Eyes, Appllies_To_Hair, Appllies_To_Items, Color_RGB_Value) VALUES ('Black', 1, 1, 1, 0) ON CONFLICT DO NOTHING;
INSERT INTO Colors (Color_Name, Appllies_To_Eyes, Appllies_To_Hair, Appllies_To_Items, Color_RGB_Value) VALUES ('Blue', 1, 0, 1, 16711680) ON CONFLICT DO NOTHING;
INSERT INTO Colors (Color_Name, Appllies_To_Eyes, Appllies_To_Hair, Appllies_To_Items, Color_RGB_Value) VALUES ('Brown', 1, 1, 1, 2763429) ON CONFLICT DO NOTHING;
INSERT INTO Colors (Color_Name, Appllies_To_Eyes, Appllies_To_Hair, Appllies_To_Items, Color_RGB_Value) VALUES ('Green', 1, 0, 1, 32768) ON CONFLICT DO NOTHING;
INSERT INTO Colors (Color_Name, Appllies_To_Eyes, Appllies_To_Hair, Appllies_To_Items, Color_RGB_Value) VALUES ('Blond', 0, 1, 0, 7714794) ON CONFLICT DO NOTHING;
INSERT INTO Colors (Color_Name, Appllies_To_Eyes, Appllies_To_Hair, Appllies_To_Items, Color_RGB_Value) VALUES ('Red', 0, 1, 1, 255) ON CONFLICT DO NOTHING;
INSERT INTO Colors (Color_Name, Appllies_To_Eyes, Appllies_To_Hair, Appllies_To_Items, Color_RGB_Value) VALUES ('White', 0, 1, 1, 16777215) ON CONFLICT DO NOTHING;
INSERT INTO Currency_Types (Currency_Type_Name, Currency_Type_Code, Currency_Type_Number) VALUES ('US Dollar', 'USD', 840) ON CONFLICT DO NOTHING;
INSERT INTO Currency_Types (Currency_Type_Name, Currency_Type_Code, Currency_Type_Number) VALUES ('Euro', 'EUR', 978) ON CONFLICT DO NOTHING;
INSERT INTO Currency_Types (Currency_Type_Name, Currency_Type_Code, Currency_Type_Number) VALUES ('Canadian Dollar', 'CAD', 124) ON CONFLICT DO NOTHING;
INSERT INTO Units (Unit_Type_ID, Unit_Name, Unit_Code) SELECT Unit_Type_ID, 'Pound', 'lb' FROM Unit_Types WHERE Unit_Type_Code = 'W' ON CONFLICT DO NOTHING;
INSERT INTO Units (Unit_Type_ID, Unit_Name, Unit_Code) SELECT Unit_Type_ID, 'Ounce', 'oz' FROM Unit_Types WHERE Unit_Type_Code = 'W' ON CONFLICT DO NOTHING;
INSERT INTO Units (Unit_Type_ID, Unit_Name, Unit_Code) SELECT Unit_Type_ID, 'Gram', 'g' FROM Unit_Types WHERE Unit_Type_Code = 'W' ON CONFLICT DO NOTHING;
INSERT INTO Units (Unit_Type_ID, Unit_Name, Unit_Code) SELECT Unit_Type_ID, 'Inch', 'in' FROM Unit_Types WHERE Unit_Type_Code = 'L' ON CONFLICT DO NOTHING;
INSERT INTO Units (Unit_Type_ID, Unit_Name, Unit_Code) SELECT Unit_Type_ID, 'Foot', 'ft' FROM Unit_Types WHERE Unit_Type_Code = 'L' ON CONFLICT DO NOTHING;

INSERT INTO Notification_Types (Notification_Type_Name, Notification_Type_Code) VALUES ('Release Notice', 'REL') ON CONFLICT DO NOTHING;
INSERT INTO Notification_Types (Notification_Type_Name, Notification_Type_Code) VALUES ('Disposal Notice', 'DISP') ON CONFLICT DO NOTHING;
INSERT INTO Races (Race_Name, Race_Code) VALUES ('Unknown', 'U') ON CONFLICT DO NOTHING;

INSERT INTO Employee_Categories (Employee_Category_Name, Employee_Category_Code) VALUES ('Sworn Officer', 'SWORN') ON CONFLICT DO NOTHING;
INSERT INTO Employee_Categories (Employee_Category_Name, Employee_Category_Code) VALUES ('Civilian Staff', 'CIV') ON CONFLICT DO NOTHING;
INSERT INTO Ranks (Rank_Name, Rank_Code) VALUES ('Officer', 'OFC') ON CONFLICT DO NOTHING;
INSERT INTO Ranks (Rank_Name, Rank_Code) VALUES ('Detective', 'DET') ON CONFLICT DO NOTHING;
INSERT INTO Ranks (Rank_Name, Rank_Code) VALUES ('Sergeant', 'SGT') ON CONFLICT DO NOTHING;
INSERT INTO Ranks (Rank_Name, Rank_Code) VALUES ('Lieutenant', 'LT') ON CONFLICT DO NOTHING;
INSERT INTO Suffixes (Suffix_Name, Suffix_Code) VALUES ('Junior', 'JR') ON CONFLICT DO NOTHING;
INSERT INTO Suffixes (Suffix_Name, Suffix_Code) VALUES ('Senior', 'SR') ON CONFLICT DO NOTHING;
INSERT INTO Salutations (Salutation_Name, Salutation_Code) VALUES ('Mr.', 'MR') ON CONFLICT DO NOTHING;
INSERT INTO Salutations (Salutation_Name, Salutation_Code) VALUES ('Ms.', 'MS') ON CONFLICT DO NOTHING;
INSERT INTO Salutations (Salutation_Name, Salutation_Code) VALUES ('Dr.', 'DR') ON CONFLICT DO NOTHING;
INSERT INTO Address_Types (Address_Type_Name, Address_Type_Code) VALUES ('Home', 'HOME') ON CONFLICT DO NOTHING;
INSERT INTO Address_Types (Address_Type_Name, Address_Type_Code) VALUES ('Work', 'WORK') ON CONFLICT DO NOTHING;
INSERT INTO Telephone_Types (Telephone_Type_Name, Telephone_Type_Code) VALUES ('Home', 'HOME') ON CONFLICT DO NOTHING;
INSERT INTO Telephone_Types (Telephone_Type_Name, Telephone_Type_Code) VALUES ('Mobile', 'CELL') ON CONFLICT DO NOTHING;
INSERT INTO Telephone_Types (Telephone_Type_Name, Telephone_Type_Code) VALUES ('Work', 'WORK') ON CONFLICT DO NOTHING;

-- ISO 3166 has no telephone prefixes; a prefix the database holds already is kept.
UPDATE Countries SET Country_Telephone_Prefix = '1' WHERE Country_Code_2 IN ('US', 'CA') AND Country_Telephone_Prefix IS NULL;
UPDATE Countries SET Country_Telephone_Prefix = '52' WHERE Country_Code_2 = 'MX' AND Country_Telephone_Prefix IS NULL;

-- Item action types of each detail kind: storing an item at a location, and transferring it. The
-- table has no unique name or code, so a type is added only where none has its code or its name.
INSERT INTO Item_Action_Types (Item_Action_Type_Name_Present, Item_Action_Type_Name_Past, Item_Action_Type_Code,
                               Item_Action_Date_Preposition, Item_Action_Time_ID, Item_Action_Type_Order,
                               Related_DB_Table_ID)
SELECT 'Store', 'Stored', 'STORE', 'on', t.Item_Action_Time_ID, 1, d.DB_Table_ID
FROM Item_Action_Times t, DB_Tables d
WHERE t.Item_Action_Time_Code = 'BC' AND d.DB_Table_Name = 'Item_Locations'
  AND NOT EXISTS (SELECT 1 FROM Item_Action_Types
                  WHERE Item_Action_Type_Code = 'STORE' OR Item_Action_Type_Name_Present = 'Store');
INSERT INTO Item_Action_Types (Item_Action_Type_Name_Present, Item_Action_Type_Name_Past, Item_Action_Type_Code,
                               Item_Action_Date_Preposition, Item_Action_Time_ID, Item_Action_Type_Order,
                               Related_DB_Table_ID)
SELECT 'Transfer', 'Transferred', 'XFER', 'on', t.Item_Action_Time_ID, 2, d.DB_Table_ID
FROM Item_Action_Times t, DB_Tables d
WHERE t.Item_Action_Time_Code = 'MC' AND d.DB_Table_Name = 'Item_Transfers'
  AND NOT EXISTS (SELECT 1 FROM Item_Action_Types
                  WHERE Item_Action_Type_Code = 'XFER' OR Item_Action_Type_Name_Present = 'Transfer');
