-- One currency type by its identity, with the columns of usp_Evd_Search_Currency_Types_All.
-- @param Currency_Type_ID integer
SELECT t.Currency_Type_ID AS "Currency_Type_ID",
       t.Currency_Type_Name AS "Name",
       t.Currency_Type_Code AS "Code",
       t.Currency_Type_Number AS "Number"
FROM Currency_Types t
WHERE t.Currency_Type_ID = :Currency_Type_ID
