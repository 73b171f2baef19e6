-- What the server of a multi-user database records beside the names the client declares. The
-- embedded database is one file of one account: its log-in is the session's role, and there is
-- no client address.
ALTER TABLE DB_Change_Log ADD COLUMN DB_Session_User TEXT;
ALTER TABLE DB_Change_Log ADD COLUMN DB_Client_Address TEXT;
