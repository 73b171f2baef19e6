#pragma once

#include <QString>

// Password hashes of the embedded database's own log-ins (Argon2id). Passwords are case sensitive.
QString HashPassword(const QString& password);
bool VerifyPassword(const QString& hash, const QString& password);

// The password check of a log-on: the stored hash, or "" when the name is no log-in or one
// without a password. Even then one Argon2id verification runs, against a fixed hash made once
// with the same parameters, so an unknown name costs what a wrong password costs. False then.
bool VerifyLogonPassword(const QString& storedHash, const QString& password);

// How many Argon2id verifications this process has run, real or stand-in: the log-on's cost in
// units that do not depend on the machine's load.
quint64 PasswordVerificationCount();

// The shortest and longest password the log-on window takes.
constexpr int kMinPasswordLength = 4;
constexpr int kMaxPasswordLength = 30;

// The one password rule, wherever a password is made or typed: the log-on window's. That window
// takes 4 to 30 characters, takes no space key, removes blanks at the ends and types no control
// character (a TAB moves on to the next box), so a password with a blank or a control character
// anywhere, or of another length, could never be sent. Returns why the password breaks the rule,
// naming the field by goodName (no final "."), or "" when it keeps it. Used by the log-on window,
// the password change window, and --add-user and --create-login.
QString PasswordRuleMessage(const QString& password, const QString& goodName = QStringLiteral("Password"));
