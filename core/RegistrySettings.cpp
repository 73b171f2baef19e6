#include "core/RegistrySettings.h"

#include "core/AppInfo.h"

#include <QSettings>

namespace RegistrySettings {

QString value(const QString& section, const QString& key, const QString& defaultValue)
{
    QSettings settings(QStringLiteral("Bramblecot"), ApplicationTitle());
    return settings.value(section + QLatin1Char('/') + key, defaultValue).toString();
}

void setValue(const QString& section, const QString& key, const QString& value)
{
    QSettings settings(QStringLiteral("Bramblecot"), ApplicationTitle());
    const QString name = section + QLatin1Char('/') + key;
    // Every start stores the database and the user it logged on with; the same value again is not
    // written, so a start does not rewrite and sync the settings file for nothing.
    if (settings.contains(name) && settings.value(name).toString() == value)
        return;
    settings.setValue(name, value);
}

} // namespace RegistrySettings
