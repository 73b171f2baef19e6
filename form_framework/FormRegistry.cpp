#include "form_framework/FormRegistry.h"

#include "core/AppError.h"
#include "core/AppInfo.h"
#include "form_framework/DataWindow.h"
#include "core/SqlText.h"

#include <QHash>

namespace {
QHash<QString, FormRegistry::Factory>& factories()
{
    static QHash<QString, FormRegistry::Factory> registry;
    return registry;
}
} // namespace

namespace FormRegistry {

void registerForm(const QString& className, Factory factory)
{
    factories().insert(className.toLower(), std::move(factory));
}

bool contains(const QString& className)
{
    return factories().contains(className.trimmed().toLower());
}

QStringList names()
{
    QStringList all = factories().keys();
    all.sort();
    return all;
}

Registrations registrations() { return factories(); }

void restore(Registrations saved) { factories() = std::move(saved); }

DataWindow* create(const QString& className)
{
    const auto it = factories().constFind(className.trimmed().toLower());
    if (it == factories().constEnd())
        throw AppError(ErrToReport, QStringLiteral("The window ") + AngleQuote(className.trimmed()) + QStringLiteral(" is not available."),
                       ApplicationTitle());
    return it.value()();
}

} // namespace FormRegistry
