-- The addresses for pickers: identity and the address on one line ("street, city, state ZIP").
-- @columns Address Text
SELECT a.Address_ID AS "Address_ID",
       CAST(a.Street_Address_1 AS TEXT) || COALESCE(' ' || CAST(a.Street_Address_2 AS TEXT), '')
           || ', ' || CAST(a.City AS TEXT)
           || COALESCE(', ' || COALESCE(CAST(s.State_Code AS TEXT), CAST(a.State_Other AS TEXT)), '')
           || COALESCE(' ' || CAST(a.ZIP AS TEXT), '') AS "Address"
FROM Addresses a
LEFT JOIN States s ON s.State_ID = a.State_ID
ORDER BY a.City, a.Street_Address_1, a.Address_ID
