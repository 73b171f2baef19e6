-- One address type by its identity, with the columns of usp_Evd_Search_Address_Types_All.
-- @param Address_Type_ID integer
SELECT t.Address_Type_ID AS "Address_Type_ID",
       t.Address_Type_Name AS "Name",
       t.Address_Type_Code AS "Code"
FROM Address_Types t
WHERE t.Address_Type_ID = :Address_Type_ID
