-- One country by its identity, with the columns of usp_Evd_Search_Countries_All.
-- @param Country_ID integer
SELECT t.Country_ID AS "Country_ID",
       t.Country_Name AS "Name",
       t.Country_Code_2 AS "Code 2",
       t.Country_Code_3 AS "Code 3",
       t.Country_Number_3 AS "Number",
       t.Country_Telephone_Prefix AS "Telephone Prefix"
FROM Countries t
WHERE t.Country_ID = :Country_ID
