#include "declared_windows/WindowActions.h"

#include "core/MessageBoxes.h"
#include "core/SqlText.h"

#include <QStringList>

namespace {

QString withoutAccessKey(QString caption) { return caption.remove(QLatin1Char('&')); }

} // namespace

void WindowActions::add(const QString& caption, Run run, Needs needs)
{
    m_entries.push_back({ caption, std::move(run), needs });
}

QStringList WindowActions::captions() const
{
    QStringList list;
    for (const Entry& entry : m_entries)
        list << entry.caption;
    return list;
}

void WindowActions::run(const QString& actionName, std::optional<int> identity) const
{
    const QString wanted = withoutAccessKey(actionName);
    for (const Entry& entry : m_entries) {
        if (entry.caption == QLatin1String("-") || !entry.run)
            continue;
        if (withoutAccessKey(entry.caption).compare(wanted, Qt::CaseInsensitive) == 0) {
            if (identity || entry.needs == Needs::Nothing)
                entry.run(identity.value_or(0));
            return;
        }
    }
    ShowErrorMessage(QStringLiteral("Unknown Action ") + AngleQuote(actionName) + QStringLiteral("."));
}
