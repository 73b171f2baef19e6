#pragma once

#include <QString>

// The per-user settings store of the programs (application, section, key), kept by QSettings
// under the organisation "Bramblecot" and the application title.
namespace RegistrySettings {
QString value(const QString& section, const QString& key, const QString& defaultValue = {});
void setValue(const QString& section, const QString& key, const QString& value);
} // namespace RegistrySettings
