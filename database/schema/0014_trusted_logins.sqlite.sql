-- A trusted log-on (as the operating-system account, with no password) takes only a log-in made
-- for that account: the first administrator of a new database, or one added with
-- --create-login --trusted. A password log-in that merely shares the account's name is not one.
ALTER TABLE DB_Logins ADD COLUMN OS_Account INTEGER NOT NULL DEFAULT 0;

-- Until now only the operating-system account's log-ins were made without a password.
UPDATE DB_Logins SET OS_Account = 1 WHERE Password_Hash IS NULL;
