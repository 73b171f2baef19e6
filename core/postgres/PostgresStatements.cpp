#include "core/postgres/PostgresStatements.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QTime>
#include <QUuid>

#include <libpq-fe.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

namespace {

bool isIdentifierChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$') || c.unicode() >= 0x80;
}

bool isTagStart(QChar c) { return c.isLetter() || c == QLatin1Char('_') || c.unicode() >= 0x80; }

// The length of a dollar-quote delimiter ("$$", "$tag$") starting at i, or 0.
qsizetype dollarTagLength(const QString& sql, qsizetype i)
{
    qsizetype j = i + 1;
    if (j < sql.size() && isTagStart(sql.at(j))) {
        while (j < sql.size() && (isTagStart(sql.at(j)) || sql.at(j).isDigit()))
            ++j;
    }
    return j < sql.size() && sql.at(j) == QLatin1Char('$') ? j - i + 1 : 0;
}

// Server types whose values the program reads other than as text (the OIDs of pg_type).
enum class ValueKind { Text, Bool, Int, Int64, Double, Date, Time, Timestamp, TimestampZone, Bytes };

ValueKind kindOf(Oid type)
{
    switch (type) {
    case 16:
        return ValueKind::Bool;
    case 20:
        return ValueKind::Int64;
    case 21: // int2
    case 23: // int4
    case 24: // regproc
    case 26: // oid
    case 28: // xid
    case 29: // cid
        return ValueKind::Int;
    case 700:
    case 701:
    case 1700:
        return ValueKind::Double;
    case 1082:
        return ValueKind::Date;
    case 1083:
    case 1266:
        return ValueKind::Time;
    case 1114:
        return ValueKind::Timestamp;
    case 1184:
        return ValueKind::TimestampZone;
    case 17:
        return ValueKind::Bytes;
    default:
        return ValueKind::Text;
    }
}

std::optional<qint64> integerOf(const char* text, int length)
{
    qint64 value = 0;
    const auto [end, error] = std::from_chars(text, text + length, value);
    if (error != std::errc() || end != text + length)
        return std::nullopt;
    return value;
}

// "NaN", "Infinity" and "-Infinity" included, as the server writes them.
std::optional<double> doubleOf(const char* text, int length)
{
    double value = 0;
    const auto [end, error] = std::from_chars(text, text + length, value);
    if (error != std::errc() || end != text + length)
        return std::nullopt;
    return value;
}

// "yyyy-MM-dd", the form the ISO date style writes; anything else through Qt's reader.
QDate dateOf(const char* text, int length)
{
    if (length == 10 && text[4] == '-' && text[7] == '-') {
        int fields[3] = { 0, 0, 0 };
        const int starts[3] = { 0, 5, 8 };
        const int widths[3] = { 4, 2, 2 };
        bool digits = true;
        for (int f = 0; f < 3 && digits; ++f) {
            for (int i = starts[f]; i < starts[f] + widths[f]; ++i) {
                if (text[i] < '0' || text[i] > '9') {
                    digits = false;
                    break;
                }
                fields[f] = fields[f] * 10 + (text[i] - '0');
            }
        }
        if (digits)
            return QDate(fields[0], fields[1], fields[2]);
    }
    return QDate::fromString(QString::fromLatin1(text, length), Qt::ISODate);
}

// "yyyy-MM-dd HH:mm:ss[.f][+zz]" as the server writes a timestamp.
QDateTime dateTimeOf(const char* text, int length)
{
    QString iso = QString::fromLatin1(text, length);
    if (iso.size() > 10 && iso.at(10) == QLatin1Char(' '))
        iso[10] = QLatin1Char('T');
    return QDateTime::fromString(iso, Qt::ISODateWithMs);
}

// A value as a QVariant of the type its server type reads as.
QVariant variantOf(ValueKind kind, const char* text, int length)
{
    switch (kind) {
    case ValueKind::Bool:
        return QVariant(text[0] == 't');
    case ValueKind::Int:
        if (const auto value = integerOf(text, length))
            return QVariant(static_cast<int>(*value));
        return {};
    case ValueKind::Int64:
        if (const auto value = integerOf(text, length))
            return QVariant::fromValue<qlonglong>(*value);
        return {};
    case ValueKind::Double:
        if (const auto value = doubleOf(text, length))
            return QVariant(*value);
        return {};
    case ValueKind::Date:
        return QVariant(dateOf(text, length));
    case ValueKind::Time:
        return QVariant(QTime::fromString(QString::fromLatin1(text, length), Qt::ISODateWithMs));
    case ValueKind::Timestamp:
        // A wall-clock time: kept as text so no time zone can move it (the Recordset reads the
        // ISO form), unless something other than a date-time column wants it.
        return QVariant(QString::fromLatin1(text, length));
    case ValueKind::TimestampZone:
        return QVariant(dateTimeOf(text, length).toLocalTime());
    case ValueKind::Bytes: {
        size_t size = 0;
        unsigned char* bytes = PQunescapeBytea(reinterpret_cast<const unsigned char*>(text), &size);
        if (!bytes)
            return {};
        QByteArray value(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(size));
        PQfreemem(bytes);
        return QVariant(value);
    }
    case ValueKind::Text:
        break;
    }
    return QVariant(QString::fromUtf8(text, length));
}

// The text of a date-time value: the wall clock of a local time alone, with its offset otherwise.
QByteArray dateTimeText(const QDateTime& value)
{
    QByteArray text = value.date().toString(Qt::ISODate).toLatin1() + ' '
        + value.time().toString(QStringLiteral("HH:mm:ss.zzz")).toLatin1();
    if (value.timeSpec() != Qt::LocalTime) {
        const int offset = value.offsetFromUtc();
        text += QStringLiteral("%1%2:%3")
                    .arg(offset < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                    .arg(std::abs(offset) / 3600, 2, 10, QLatin1Char('0'))
                    .arg(std::abs(offset) % 3600 / 60, 2, 10, QLatin1Char('0'))
                    .toLatin1();
    }
    return text;
}

bool isNullValue(const QVariant& value)
{
    if (value.isNull())
        return true;
    switch (value.typeId()) {
    case QMetaType::QString:
        return value.toString().isNull();
    case QMetaType::QByteArray:
        return value.toByteArray().isNull();
    case QMetaType::QDate:
        return !value.toDate().isValid();
    case QMetaType::QTime:
        return !value.toTime().isValid();
    case QMetaType::QDateTime:
        return !value.toDateTime().isValid();
    default:
        return false;
    }
}

constexpr unsigned int kByteaType = 17;

} // namespace

QByteArray NumberPlaceholders(const QString& sql)
{
    QString out;
    out.reserve(sql.size() + 16);
    const qsizetype n = sql.size();
    int number = 0;
    qsizetype i = 0;
    auto copyTo = [&](qsizetype end) {
        out += QStringView(sql).mid(i, end - i);
        i = end;
    };
    while (i < n) {
        const QChar c = sql.at(i);
        const bool afterWord = i > 0 && isIdentifierChar(sql.at(i - 1));
        if (c == QLatin1Char('?')) {
            out += QLatin1Char('$') + QString::number(++number);
            ++i;
        } else if (c == QLatin1Char('\'')) {
            // An E'' string takes backslash escapes; others only a doubled quote, which reads as
            // two strings in a row here and changes nothing.
            const bool escapes = i > 0 && (sql.at(i - 1) == QLatin1Char('E') || sql.at(i - 1) == QLatin1Char('e'))
                && !(i > 1 && isIdentifierChar(sql.at(i - 2)));
            qsizetype j = i + 1;
            while (j < n && sql.at(j) != QLatin1Char('\'')) {
                if (escapes && sql.at(j) == QLatin1Char('\\'))
                    ++j;
                ++j;
            }
            copyTo(std::min(j + 1, n));
        } else if (c == QLatin1Char('"')) {
            const qsizetype close = sql.indexOf(QLatin1Char('"'), i + 1);
            copyTo(close < 0 ? n : close + 1);
        } else if (c == QLatin1Char('-') && i + 1 < n && sql.at(i + 1) == QLatin1Char('-')) {
            qsizetype j = i + 2;
            while (j < n && sql.at(j) != QLatin1Char('\n') && sql.at(j) != QLatin1Char('\r'))
                ++j;
            copyTo(j);
        } else if (c == QLatin1Char('/') && i + 1 < n && sql.at(i + 1) == QLatin1Char('*')) {
            // Block comments nest.
            int depth = 0;
            qsizetype j = i;
            while (j < n) {
                if (sql.at(j) == QLatin1Char('/') && j + 1 < n && sql.at(j + 1) == QLatin1Char('*')) {
                    ++depth;
                    j += 2;
                } else if (sql.at(j) == QLatin1Char('*') && j + 1 < n && sql.at(j + 1) == QLatin1Char('/')) {
                    j += 2;
                    if (--depth == 0)
                        break;
                } else {
                    ++j;
                }
            }
            copyTo(j);
        } else if (c == QLatin1Char('$') && !afterWord && dollarTagLength(sql, i) > 0) {
            const qsizetype tagLength = dollarTagLength(sql, i);
            const QStringView tag = QStringView(sql).mid(i, tagLength);
            const qsizetype close = sql.indexOf(tag, i + tagLength);
            copyTo(close < 0 ? n : close + tagLength);
        } else {
            out += c;
            ++i;
        }
    }
    return out.toUtf8();
}

PostgresParameters::PostgresParameters(const std::vector<QVariant>& values)
{
    const size_t count = values.size();
    m_texts.resize(count);
    m_values.assign(count, nullptr);
    m_lengths.assign(count, 0);
    m_types.assign(count, 0);
    for (size_t i = 0; i < count; ++i) {
        const QVariant& value = values[i];
        if (isNullValue(value))
            continue;
        QByteArray& text = m_texts[i];
        switch (value.typeId()) {
        case QMetaType::Bool:
            // 1 and 0, as the program writes Boolean literals: read as a boolean, a flag
            // (SMALLINT) or a number alike, and the same as the SQLite driver binds.
            text = value.toBool() ? QByteArrayLiteral("1") : QByteArrayLiteral("0");
            break;
        case QMetaType::Int:
        case QMetaType::Short:
        case QMetaType::Long:
        case QMetaType::LongLong:
        case QMetaType::SChar:
            text = QByteArray::number(value.toLongLong());
            break;
        case QMetaType::UInt:
        case QMetaType::UShort:
        case QMetaType::ULong:
        case QMetaType::ULongLong:
        case QMetaType::UChar:
            text = QByteArray::number(value.toULongLong());
            break;
        case QMetaType::Double:
        case QMetaType::Float: {
            const double number = value.toDouble();
            if (std::isnan(number))
                text = QByteArrayLiteral("NaN");
            else if (std::isinf(number))
                text = number > 0 ? QByteArrayLiteral("Infinity") : QByteArrayLiteral("-Infinity");
            else
                // A float keeps its own shortest form (0.1f is "0.1", not its double's digits).
                text = value.toString().toLatin1();
            break;
        }
        case QMetaType::QDate:
            text = value.toDate().toString(Qt::ISODate).toLatin1();
            break;
        case QMetaType::QTime:
            text = value.toTime().toString(QStringLiteral("HH:mm:ss.zzz")).toLatin1();
            break;
        case QMetaType::QDateTime:
            text = dateTimeText(value.toDateTime());
            break;
        case QMetaType::QByteArray:
            text = QByteArrayLiteral("\\x") + value.toByteArray().toHex();
            m_types[i] = kByteaType;
            break;
        case QMetaType::QUuid:
            text = value.toUuid().toByteArray(QUuid::WithoutBraces);
            break;
        default:
            text = value.toString().toUtf8();
            break;
        }
        m_values[i] = text.constData();
        m_lengths[i] = static_cast<int>(text.size());
    }
}

void ReadPostgresRows(const pg_result* result, Recordset& recordset, const std::vector<Recordset::Column>& columns)
{
    const int count = static_cast<int>(columns.size());
    std::vector<ValueKind> kinds(columns.size());
    for (int c = 0; c < count; ++c)
        kinds[static_cast<size_t>(c)] = kindOf(PQftype(result, c));
    recordset.addResultSet(columns);
    const int rows = PQntuples(result);
    recordset.reserveRows(rows);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < count; ++c) {
            if (PQgetisnull(result, r, c)) {
                recordset.appendNull(c);
                continue;
            }
            const char* text = PQgetvalue(result, r, c);
            const int length = PQgetlength(result, r, c);
            const ValueKind kind = kinds[static_cast<size_t>(c)];
            const ColumnType type = columns[static_cast<size_t>(c)].type;
            // The common pairs of server type and logical type go straight in; the rest through
            // the value the server type reads as.
            if (kind == ValueKind::Text && type == ColumnType::Text) {
                recordset.appendUtf8(c, text, length);
            } else if ((kind == ValueKind::Int || kind == ValueKind::Int64)
                && (type == ColumnType::Integer || type == ColumnType::Boolean)) {
                if (const auto value = integerOf(text, length))
                    recordset.appendInteger(c, *value);
                else
                    recordset.appendNull(c);
            } else if (kind == ValueKind::Bool && type == ColumnType::Boolean) {
                recordset.appendInteger(c, text[0] == 't' ? 1 : 0);
            } else if (kind == ValueKind::Double && type == ColumnType::Double) {
                if (const auto value = doubleOf(text, length))
                    recordset.appendDouble(c, *value);
                else
                    recordset.appendNull(c);
            } else if (kind == ValueKind::Timestamp && type != ColumnType::DateTime && type != ColumnType::Date) {
                // What a date-time reads as anywhere else: Qt's own form of it.
                recordset.appendValue(c, QVariant(dateTimeOf(text, length)));
            } else {
                recordset.appendValue(c, variantOf(kind, text, length));
            }
        }
        recordset.finishRow();
    }
    recordset.finishResultSet();
}
