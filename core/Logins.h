#pragma once

#include <QString>

// Password hashes of the embedded database's own log-ins (Argon2id). Passwords are case sensitive.
QString HashPassword(const QString& password);
bool VerifyPassword(const QString& hash, const QString& password);
