#include "core/ProcedureCall.h"

#include <QDate>
#include <QDateTime>

namespace {
QString shownValue(const QVariant& value)
{
    if (value.isNull())
        return QStringLiteral("NULL");
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return value.toString();
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(value.toDouble(), 'g', 15);
    case QMetaType::QDate:
        return QLatin1Char('\'') + value.toDate().toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char('\'');
    case QMetaType::QDateTime:
        return QLatin1Char('\'') + value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) + QLatin1Char('\'');
    default: {
        QString text = value.toString();
        text.replace(QLatin1Char('\''), QStringLiteral("''"));
        return QLatin1Char('\'') + text + QLatin1Char('\'');
    }
    }
}
} // namespace

QString ProcedureCallText(const QString& procedure, const ProcedureArguments& arguments)
{
    QStringList pairs;
    pairs.reserve(static_cast<qsizetype>(arguments.size()));
    for (const ProcedureArgument& argument : arguments)
        pairs << QLatin1Char('@') + argument.name + QStringLiteral(" = ") + shownValue(argument.value);
    QString text = QStringLiteral("EXEC ") + procedure;
    if (!pairs.isEmpty())
        text += QLatin1Char(' ') + pairs.join(QStringLiteral(", "));
    return text;
}
