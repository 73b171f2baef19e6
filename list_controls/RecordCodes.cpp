#include "RecordCodes.h"

#include <limits>

std::optional<int> ReadIdentityNumber(const QString& text)
{
    const QString digits = text.trimmed();
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

RecordCode ReadRecordCode(const QString& text, QChar prefix)
{
    RecordCode code;
    const QString trimmed = text.trimmed();
    if (trimmed.size() < 2 || trimmed.at(0).toUpper() != prefix.toUpper() || trimmed.at(1) != QLatin1Char('-'))
        return code;
    // Leading zeros of the ten-digit form do not count against the 32-bit range.
    QString digits = trimmed.mid(2);
    qsizetype zeros = 0;
    while (zeros < digits.size() - 1 && digits.at(zeros) == QLatin1Char('0'))
        ++zeros;
    const std::optional<int> identity = ReadIdentityNumber(digits.mid(zeros));
    if (!identity || digits.isEmpty()) {
        code.reading = RecordCodeReading::Malformed;
        return code;
    }
    code.reading = RecordCodeReading::Identity;
    code.identity = *identity;
    return code;
}
