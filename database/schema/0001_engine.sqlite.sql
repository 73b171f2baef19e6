-- What only the embedded engine needs: the version table and the database's own log-ins.
CREATE TABLE DB_Schema_Version (
    Version INTEGER NOT NULL PRIMARY KEY
);

CREATE TABLE DB_Logins (
    Login_Name TEXT COLLATE NOCASE NOT NULL PRIMARY KEY,
    -- Argon2id; NULL for a log-in that only logs on as the operating-system user.
    Password_Hash TEXT
);
