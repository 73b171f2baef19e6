#include "core/RecordCodes.h"

#include <QStringView>

#include <limits>

namespace {

// 1 to 10 ASCII digits and nothing else, with a value that is a positive 32-bit identity.
std::optional<int> identityDigits(QStringView digits)
{
    if (digits.isEmpty() || digits.size() > 10)
        return std::nullopt;
    qint64 number = 0;
    for (const QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        number = number * 10 + (c.unicode() - '0');
    }
    if (number < 1 || number > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(number);
}

} // namespace

QString RecordCodeText(QChar prefix, int identity)
{
    return QString(prefix) + QLatin1Char('-') + QStringLiteral("%1").arg(identity, 10, 10, QLatin1Char('0'));
}

std::optional<int> ReadIdentityNumber(const QString& text) { return identityDigits(text.trimmed()); }

RecordCode ReadRecordCode(const QString& text, QChar prefix)
{
    RecordCode code;
    const QString trimmed = text.trimmed();
    if (trimmed.size() < 2 || trimmed.at(0).toUpper() != prefix.toUpper() || trimmed.at(1) != QLatin1Char('-'))
        return code;
    const std::optional<int> identity = identityDigits(QStringView(trimmed).mid(2));
    if (!identity) {
        code.reading = RecordCodeReading::Malformed;
        return code;
    }
    code.reading = RecordCodeReading::Identity;
    code.identity = *identity;
    return code;
}
