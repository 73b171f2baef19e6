-- One rank by its identity, with the columns of usp_Evd_Search_Ranks_All.
-- @param Rank_ID integer
SELECT t.Rank_ID AS "Rank_ID",
       t.Rank_Name AS "Name",
       t.Rank_Code AS "Code",
       t.Rank_Description AS "Description"
FROM Ranks t
WHERE t.Rank_ID = :Rank_ID
