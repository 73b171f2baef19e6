#include "core/ColumnType.h"

#include <QMetaType>

#include <array>

namespace {
struct TypeName {
    ColumnType type;
    const char* name;
};
constexpr std::array<TypeName, 7> kNames = { {
    { ColumnType::Integer, "Integer" },
    { ColumnType::Double, "Double" },
    { ColumnType::Currency, "Currency" },
    { ColumnType::Date, "Date" },
    { ColumnType::DateTime, "DateTime" },
    { ColumnType::Boolean, "Boolean" },
    { ColumnType::Text, "Text" },
} };
} // namespace

QString ColumnTypeName(ColumnType type)
{
    for (const TypeName& entry : kNames) {
        if (entry.type == type)
            return QString::fromLatin1(entry.name);
    }
    return QStringLiteral("Text");
}

std::optional<ColumnType> ColumnTypeFromName(const QString& name)
{
    const QString trimmed = name.trimmed();
    for (const TypeName& entry : kNames) {
        if (trimmed.compare(QLatin1String(entry.name), Qt::CaseInsensitive) == 0)
            return entry.type;
    }
    return std::nullopt;
}

ColumnType ColumnTypeOfMetaType(int typeId)
{
    switch (typeId) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return ColumnType::Integer;
    case QMetaType::Double:
    case QMetaType::Float:
        return ColumnType::Double;
    case QMetaType::Bool:
        return ColumnType::Boolean;
    case QMetaType::QDate:
        return ColumnType::Date;
    case QMetaType::QDateTime:
        return ColumnType::DateTime;
    default:
        return ColumnType::Text;
    }
}
