#include "list_controls/ListFormats.h"

#include "core/TextUtilities.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>

#include <cmath>
#include <limits>

namespace {

QDateTime asDateTime(const QVariant& value)
{
    if (value.typeId() == QMetaType::QDateTime)
        return value.toDateTime();
    if (value.typeId() == QMetaType::QDate)
        return value.toDate().startOfDay();
    const QString text = value.toString().trimmed();
    QDateTime parsed = QDateTime::fromString(text, Qt::ISODate);
    if (!parsed.isValid())
        parsed = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!parsed.isValid())
        parsed = QDate::fromString(text, Qt::ISODate).startOfDay();
    return parsed;
}

QString numberText(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(value.toDouble(), 'g', 15);
    default:
        return value.toString();
    }
}

} // namespace

QString MoneyText(double value)
{
    static const QLocale grouped(QLocale::English, QLocale::UnitedStates);
    // Rounded first, so -0.001 does not show as "-0.00".
    double rounded = std::round(value * 100.0) / 100.0;
    if (rounded == 0)
        rounded = 0;
    return grouped.toString(rounded, 'f', 2);
}

QString CellText(const QVariant& value, ColumnType type)
{
    if (value.isNull())
        return {};
    switch (type) {
    case ColumnType::Currency:
        return MoneyText(value.toDouble());
    case ColumnType::Boolean:
        return FormatYesNoText(value);
    case ColumnType::Date:
        return FormatDateText(value);
    case ColumnType::DateTime: {
        const QDateTime moment = asDateTime(value);
        if (!moment.isValid())
            return value.toString();
        if (moment.time() == QTime(0, 0))
            return FormatDateText(moment);
        return FormatDateTimeText(moment).replace(QStringLiteral(":00 "), QStringLiteral(" "));
    }
    case ColumnType::Integer:
    case ColumnType::Double:
        return numberText(value);
    case ColumnType::Text:
        break;
    }
    return value.toString();
}

SortKey MakeSortKey(const QVariant& value, ColumnType type)
{
    SortKey key;
    if (value.isNull())
        return key;
    switch (type) {
    case ColumnType::Integer:
        key.kind = SortKey::Number;
        key.isInteger = true;
        key.integer = value.toLongLong();
        key.number = static_cast<double>(key.integer);
        return key;
    case ColumnType::Double:
    case ColumnType::Currency:
        key.kind = SortKey::Number;
        key.number = value.toDouble();
        return key;
    case ColumnType::Boolean:
        key.kind = SortKey::Number;
        key.isInteger = true;
        key.integer = FormatYesNoText(value) == QLatin1String("Yes") ? 1 : 0;
        key.number = static_cast<double>(key.integer);
        return key;
    case ColumnType::Date:
    case ColumnType::DateTime: {
        const QDateTime moment = asDateTime(value);
        if (!moment.isValid())
            break;
        key.kind = SortKey::Number;
        key.isInteger = true;
        key.integer = moment.toMSecsSinceEpoch();
        key.number = static_cast<double>(key.integer);
        return key;
    }
    case ColumnType::Text:
        break;
    }
    key.kind = SortKey::Text;
    key.text = value.toString().toCaseFolded();
    return key;
}

int CompareSortKeys(const SortKey& a, const SortKey& b)
{
    if (a.kind != b.kind)
        return a.kind < b.kind ? -1 : 1;
    switch (a.kind) {
    case SortKey::Null:
        return 0;
    case SortKey::Number:
        if (a.isInteger && b.isInteger)
            return a.integer < b.integer ? -1 : (a.integer > b.integer ? 1 : 0);
        return a.number < b.number ? -1 : (a.number > b.number ? 1 : 0);
    case SortKey::Text:
        return a.text < b.text ? -1 : (a.text > b.text ? 1 : 0);
    }
    return 0;
}

std::optional<std::vector<int>> ParseIdentityList(const QString& list)
{
    std::vector<int> identities;
    const QStringList parts = list.split(QLatin1Char(','));
    for (const QString& part : parts) {
        const QString trimmed = part.trimmed();
        if (trimmed.isEmpty())
            continue;
        bool ok = false;
        const qlonglong number = trimmed.toLongLong(&ok);
        if (!ok || number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max())
            return std::nullopt;
        identities.push_back(static_cast<int>(number));
    }
    return identities;
}
