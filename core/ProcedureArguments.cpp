#include "core/ProcedureArguments.h"

#include "core/AppError.h"

#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>

#include <cmath>
#include <limits>
#include <optional>

void RefuseCommand(Engine engine, const QString& message, qint32 number)
{
    throw AppError(number, message, QString::fromLatin1(FactsOf(engine).errorSource));
}

namespace {

// A date and a wall-clock time, kept apart: a local QDateTime asks the C library for the time
// zone, which re-reads the zone file each time, and an argument needs neither zone nor offset.
struct Moment {
    QDate date;
    QTime time;
};

// The ISO shapes the program itself writes: "yyyy-MM-dd", then optionally " " or "T" and
// "HH:mm", "HH:mm:ss" or "HH:mm:ss.zzz".
std::optional<Moment> parseIsoMoment(const QString& text)
{
    if (text.size() != 10 && text.size() != 16 && text.size() != 19 && text.size() != 23)
        return std::nullopt;
    const QDate date = QDate::fromString(QStringView(text).left(10), Qt::ISODate);
    if (!date.isValid())
        return std::nullopt;
    if (text.size() == 10)
        return Moment { date, QTime(0, 0) };
    if (text.at(10) != QLatin1Char(' ') && text.at(10) != QLatin1Char('T'))
        return std::nullopt;
    if (text.size() == 23 && text.at(19) != QLatin1Char('.'))
        return std::nullopt;
    const QTime time = QTime::fromString(QStringView(text).mid(11), Qt::ISODateWithMs);
    if (!time.isValid())
        return std::nullopt;
    return Moment { date, time };
}

std::optional<Moment> parseDateText(const QString& raw)
{
    const QString text = raw.trimmed();
    if (const auto iso = parseIsoMoment(text))
        return iso;
    for (const char* pattern : { "MM/dd/yyyy h:mm:ss AP", "MM/dd/yyyy h:mm AP", "MM/dd/yyyy HH:mm:ss", "M/d/yyyy h:mm:ss AP",
                                 "M/d/yyyy h:mm AP" }) {
        const QDateTime value = QDateTime::fromString(text, QString::fromLatin1(pattern));
        if (value.isValid())
            return Moment { value.date(), value.time() };
    }
    for (const char* pattern : { "MM/dd/yyyy", "M/d/yyyy", "yyyyMMdd" }) {
        const QDate value = QDate::fromString(text, QString::fromLatin1(pattern));
        if (value.isValid())
            return Moment { value, QTime(0, 0) };
    }
    return std::nullopt;
}

QString numberText(double number) { return QString::number(number, 'g', QLocale::FloatingPointShortest); }

QString typeNameOf(ParameterType type)
{
    switch (type) {
    case ParameterType::Integer:
        return QStringLiteral("integer");
    case ParameterType::Number:
        return QStringLiteral("number");
    case ParameterType::Money:
        return QStringLiteral("money");
    case ParameterType::Bit:
        return QStringLiteral("bit");
    default:
        return QStringLiteral("text");
    }
}

[[noreturn]] void refuseOutOfRange(Engine engine, const QString& parameter, const QString& value, ParameterType type)
{
    const QString range = type == ParameterType::Integer
        ? QStringLiteral(" (-9223372036854775808 to 9223372036854775807)")
        : type == ParameterType::Money ? QStringLiteral(" (less than 1000000000000000 either way)")
                                       : QString();
    RefuseCommand(engine,
        QStringLiteral("The value %1 for @%2 is out of the range of the %3 type%4; nothing was run.")
            .arg(value, parameter, typeNameOf(type), range));
}

// Infinity and NaN are no value the database can store, whatever the declared type.
double finiteNumber(Engine engine, const QString& parameter, double number, ParameterType type)
{
    if (!std::isfinite(number))
        RefuseCommand(engine,
            QStringLiteral(
                "The value %1 for @%2 is not a finite number, so it cannot be stored as %3; nothing was run.")
                .arg(numberText(number), parameter, typeNameOf(type)));
    return number;
}

bool isWholeNumberText(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^[+-]?[0-9]+$"));
    return pattern.match(text).hasMatch();
}

// An argument of a whole-number parameter, converted exactly: whole values pass unchanged,
// fractions are cut towards zero (as the server converts a decimal to an integer), and a value
// outside the 64-bit range is refused rather than wrapped or rounded.
qlonglong integerArgument(Engine engine, const QString& parameter, const QVariant& value)
{
    constexpr double kLimit = 9223372036854775808.0; // 2^63, exactly representable
    switch (value.typeId()) {
    case QMetaType::QString: {
        const QString text = value.toString().trimmed();
        bool ok = false;
        const qlonglong number = text.toLongLong(&ok);
        if (ok)
            return number;
        if (isWholeNumberText(text))
            refuseOutOfRange(engine, parameter, text, ParameterType::Integer);
        RefuseCommand(engine,
            QStringLiteral("Conversion failed when converting the varchar value '%1' to data type int.")
                .arg(value.toString()));
    }
    case QMetaType::Double:
    case QMetaType::Float: {
        const double number = std::trunc(finiteNumber(engine, parameter, value.toDouble(), ParameterType::Integer));
        if (number < -kLimit || number >= kLimit)
            refuseOutOfRange(engine, parameter, numberText(value.toDouble()), ParameterType::Integer);
        return static_cast<qlonglong>(number);
    }
    case QMetaType::ULongLong:
    case QMetaType::ULong: {
        const qulonglong number = value.toULongLong();
        if (number > static_cast<qulonglong>(std::numeric_limits<qlonglong>::max()))
            refuseOutOfRange(engine, parameter, QString::number(number), ParameterType::Integer);
        return static_cast<qlonglong>(number);
    }
    default: {
        bool ok = false;
        const qlonglong number = value.toLongLong(&ok);
        if (!ok)
            RefuseCommand(engine, QStringLiteral("Error converting data type to int."));
        return number;
    }
    }
}

} // namespace

QVariant ConvertArgument(Engine engine, const QString& parameter, const QVariant& value, ParameterType type)
{
    if (value.isNull())
        return {};
    const bool isText = value.typeId() == QMetaType::QString;
    const bool isFloating = value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float;
    switch (type) {
    case ParameterType::Text:
        // A typed value of the program's own reaches a text parameter as its literal would:
        // numbers with "." and no grouping, Booleans 0/1, dates in the ISO form.
        if (isFloating)
            return numberText(finiteNumber(engine, parameter, value.toDouble(), type));
        if (value.typeId() == QMetaType::Bool)
            return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
        if (value.typeId() == QMetaType::QDate)
            return value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
        if (value.typeId() == QMetaType::QDateTime)
            return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        return value.toString();
    case ParameterType::Integer:
        return QVariant::fromValue(integerArgument(engine, parameter, value));
    case ParameterType::Number:
    case ParameterType::Money: {
        bool ok = false;
        double number = isText ? value.toString().trimmed().toDouble(&ok) : value.toDouble(&ok);
        if (!ok && !(isText && std::isinf(number)))
            RefuseCommand(engine, QStringLiteral("Error converting data type varchar to numeric."));
        finiteNumber(engine, parameter, number, type);
        if (type == ParameterType::Money) {
            // NUMERIC(19,4): 15 whole digits.
            number = std::round(number * 10000.0) / 10000.0;
            if (std::fabs(number) >= 1e15)
                refuseOutOfRange(
                    engine, parameter, isText ? value.toString().trimmed() : numberText(value.toDouble()), type);
        }
        return number;
    }
    case ParameterType::Bit: {
        if (isText) {
            const QString text = value.toString().trimmed();
            if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
                return 1;
            if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
                return 0;
            bool ok = false;
            const double number = text.toDouble(&ok);
            if (!ok)
                RefuseCommand(engine, QStringLiteral("Conversion failed when converting the varchar value '%1' to data type bit.").arg(text));
            return finiteNumber(engine, parameter, number, type) != 0 ? 1 : 0;
        }
        if (isFloating)
            return finiteNumber(engine, parameter, value.toDouble(), type) != 0 ? 1 : 0;
        return value.toLongLong() != 0 ? 1 : 0;
    }
    case ParameterType::Date:
    case ParameterType::DateTime: {
        std::optional<Moment> moment;
        if (value.typeId() == QMetaType::QDateTime)
            moment = Moment { value.toDateTime().date(), value.toDateTime().time() };
        else if (value.typeId() == QMetaType::QDate)
            moment = Moment { value.toDate(), QTime(0, 0) };
        else
            moment = parseDateText(value.toString());
        if (!moment)
            RefuseCommand(engine, QStringLiteral("Conversion failed when converting date and/or time from character string."));
        if (type == ParameterType::Date) {
            // An argument already in the ISO form is bound as it is (a date argument often passes
            // through more than one call).
            if (isText && value.toString().size() == 10 && parseIsoMoment(value.toString()))
                return value.toString();
            return moment->date.toString(Qt::ISODate);
        }
        return moment->date.toString(Qt::ISODate) + QLatin1Char(' ') + moment->time.toString(QStringLiteral("HH:mm:ss.zzz"));
    }
    }
    return value;
}

void RefuseNulCharacter(Engine engine, const QVariant& value, const QString& parameter)
{
    if (value.typeId() != QMetaType::QString || !value.toString().contains(QChar(0)))
        return;
    if (parameter.isEmpty())
        RefuseCommand(engine,
            QStringLiteral("A text value contains a NUL character, which the database cannot store; nothing was run."));
    RefuseCommand(engine,
        QStringLiteral(
            "The text value for @%1 contains a NUL character, which the database cannot store; nothing was run.")
            .arg(parameter));
}
