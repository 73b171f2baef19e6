-- The felony classes for pickers: identity and name, by name.
SELECT Felony_Class_ID AS "Felony_Class_ID", Felony_Class_Name AS "Felony_Class_Name"
FROM Felony_Classes
ORDER BY Felony_Class_Name, Felony_Class_ID
