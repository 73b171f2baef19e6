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
    settings.setValue(section + QLatin1Char('/') + key, value);
}

} // namespace RegistrySettings
