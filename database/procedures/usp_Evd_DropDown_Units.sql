-- The units for pickers, identity and name by name: those of the unit type with the given code
-- (W weights, L lengths), or every unit when no code is given.
-- @param Unit_Type_Code text
SELECT u.Unit_ID AS "Unit_ID", u.Unit_Name AS "Unit_Name"
FROM Units u
JOIN Unit_Types ut ON ut.Unit_Type_ID = u.Unit_Type_ID
WHERE CAST(:Unit_Type_Code AS TEXT) IS NULL OR ut.Unit_Type_Code = :Unit_Type_Code
ORDER BY u.Unit_Name, u.Unit_ID
