#pragma once

#include <QString>

#include <optional>

class DatabaseConnection;
struct ConnectionTarget;

// Changes the password of the connected log-in. The old password is checked first, on both
// engines; nothing changes when it is wrong. SQLite replaces the log-in's Argon2id hash;
// PostgreSQL sets the role's password as a SCRAM verifier computed here, so the new password
// itself never travels to the server. Returns "" on success, else the text to show.
QString ChangeOwnPassword(const QString& oldPassword, const QString& newPassword);

// The text shown when the old password is not the log-in's password.
QString OldPasswordIncorrectText();

// Adds a log-in to an embedded (SQLite) database, with its user row: a password log-in, or without
// a password one for the operating-system account of that name, which only the trusted log-on
// takes (its OS_Account flag set). The operating-system user must be a system administrator of
// that database (trusted log-on). Throws AppError with the reason when the password breaks the
// log-on window's rule (PasswordRuleMessage), the log-in exists already or the caller may not
// add one.
void CreateEmbeddedLogin(const ConnectionTarget& target, const QString& login, const std::optional<QString>& password);

// Adds a log-in to a PostgreSQL database, run by its schema owner (a role with CREATEROLE): the
// server role (in lower case; a password sent as a SCRAM verifier computed here, or none for a
// log-in that only logs on as the operating-system user of that name through the socket folder),
// its membership of <database>_users, and its DB_Users row; an administrator's row has
// DB_Sys_Admin set, which makes the role a member of <database>_admins too. An existing user
// row is kept (and made an administrator's when asked). Throws AppError with the reason.
void CreateServerLogin(
    DatabaseConnection& owner, const QString& login, const std::optional<QString>& password, bool admin);
