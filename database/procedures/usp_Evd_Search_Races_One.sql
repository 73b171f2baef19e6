-- One race by its identity, with the columns of usp_Evd_Search_Races_All.
-- @param Race_ID integer
SELECT t.Race_ID AS "Race_ID",
       t.Race_Name AS "Name",
       t.Race_Code AS "Code",
       t.Race_Description AS "Description"
FROM Races t
WHERE t.Race_ID = :Race_ID
