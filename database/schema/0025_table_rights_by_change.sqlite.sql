-- The embedded database works its table permissions out in the program: nothing to change here.
SELECT 1;
