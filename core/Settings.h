#pragma once

#include <QString>
#include <QVariant>

// Per-user settings kept by the database.

// Saves the value as its SQL literal text (1/0 for a Boolean, a quoted string, a number's digits).
bool Act_SaveSettingDB(const QString& name, const QVariant& value);
// Reads the setting; "Cannot find Setting <name>" when the database does not know it.
bool Act_GetSettingDB(const QString& name, QVariant& value);
