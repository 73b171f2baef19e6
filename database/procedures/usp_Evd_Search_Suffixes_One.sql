-- One suffix by its identity, with the columns of usp_Evd_Search_Suffixes_All.
-- @param Suffix_ID integer
SELECT t.Suffix_ID AS "Suffix_ID",
       t.Suffix_Name AS "Name",
       t.Suffix_Code AS "Code"
FROM Suffixes t
WHERE t.Suffix_ID = :Suffix_ID
