-- The crime classes for pickers: identity and name, by name.
SELECT Crime_Class_ID AS "Crime_Class_ID", Crime_Class_Name AS "Crime_Class_Name"
FROM Crime_Classes
ORDER BY Crime_Class_Name, Crime_Class_ID
