-- One state by its identity, with the columns of usp_Evd_Search_States_All.
-- @param State_ID integer
SELECT t.State_ID AS "State_ID",
       t.State_Name AS "Name",
       t.State_Code AS "Code",
       c.Country_Name AS "Country"
FROM States t
JOIN Countries c ON c.Country_ID = t.Country_ID
WHERE t.State_ID = :State_ID
