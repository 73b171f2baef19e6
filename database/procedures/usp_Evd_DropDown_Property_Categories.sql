-- The property categories for pickers: identity and name, by name.
SELECT Property_Category_ID AS "Property_Category_ID", Property_Category_Name AS "Property_Category_Name"
FROM Property_Categories
ORDER BY Property_Category_Name, Property_Category_ID
