#pragma once

#include <QString>

struct ConnectionTarget;

// Changes the password of the connected log-in. The old password is checked first, on both
// engines; nothing changes when it is wrong. SQLite replaces the log-in's Argon2id hash;
// PostgreSQL sets the role's password as a SCRAM verifier computed here, so the new password
// itself never travels to the server. Returns "" on success, else the text to show.
QString ChangeOwnPassword(const QString& oldPassword, const QString& newPassword);

// The text shown when the old password is not the log-in's password.
QString OldPasswordIncorrectText();

// Adds a password log-in to an embedded (SQLite) database, with its user row. The operating-
// system user must be a system administrator of that database (trusted log-on). Throws AppError
// with the reason when the password breaks the log-on window's rule (PasswordRuleMessage), the
// log-in exists already or the caller may not add one.
void CreateEmbeddedLogin(const ConnectionTarget& target, const QString& login, const QString& password);
