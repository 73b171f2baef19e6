#include "core/Recordset.h"

#include "core/AppError.h"

#include <QDate>
#include <QDateTime>
#include <QStringEncoder>

#include <algorithm>
#include <cmath>

namespace {

enum class Storage { Int64, Real, Text, Variant };

Storage storageFor(ColumnType type)
{
    switch (type) {
    case ColumnType::Double:
        return Storage::Real;
    case ColumnType::Text:
        return Storage::Text;
    default:
        return Storage::Int64;
    }
}

constexpr qint64 kMsecsPerDay = 86400000;

// A date and a wall-clock time. Kept apart rather than as a QDateTime: building a local
// QDateTime asks the C library for the time zone, which re-reads the zone file on every call and
// made reading a date column several times slower than the query itself.
struct Moment {
    QDate date;
    QTime time;
};

// "yyyy-MM-dd", read by hand: the dates of a large result are read one per row, and Qt's general
// date parser costs more than the rest of the row.
QDate isoDate(QStringView text)
{
    if (text.size() != 10 || text[4] != QLatin1Char('-') || text[7] != QLatin1Char('-'))
        return {};
    int fields[3] = { 0, 0, 0 };
    const int starts[3] = { 0, 5, 8 };
    const int lengths[3] = { 4, 2, 2 };
    for (int f = 0; f < 3; ++f) {
        for (int i = starts[f]; i < starts[f] + lengths[f]; ++i) {
            const char16_t c = text[i].unicode();
            if (c < u'0' || c > u'9')
                return {};
            fields[f] = fields[f] * 10 + (c - u'0');
        }
    }
    return QDate(fields[0], fields[1], fields[2]); // invalid for a month or day out of range
}

std::optional<Moment> toMoment(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::QDateTime: {
        const QDateTime dateTime = value.toDateTime();
        return Moment { dateTime.date(), dateTime.time() };
    }
    case QMetaType::QDate:
        return Moment { value.toDate(), QTime(0, 0) };
    default:
        break;
    }
    const QString text = value.toString().trimmed();
    if (text.size() < 10)
        return std::nullopt;
    const QDate date = isoDate(QStringView(text).left(10));
    if (!date.isValid())
        return std::nullopt;
    if (text.size() == 10)
        return Moment { date, QTime(0, 0) };
    if (text.at(10) != QLatin1Char(' ') && text.at(10) != QLatin1Char('T'))
        return std::nullopt;
    // "HH:mm:ss.zzz", "HH:mm:ss" or "HH:mm"; offsets and zone designators are not kept: stored
    // times are the workstation's wall clock.
    const QStringView clock = QStringView(text).mid(11);
    for (const qsizetype length : { 12, 8, 5 }) {
        // The first shape takes up to three digits of fraction, however many there are.
        if (length == 12 ? clock.size() <= 8 : clock.size() < length)
            continue;
        const QTime time = QTime::fromString(clock.left(length), Qt::ISODateWithMs);
        if (time.isValid())
            return Moment { date, time };
    }
    return std::nullopt;
}

qint64 encodeDateTime(const Moment& value)
{
    return value.date.toJulianDay() * kMsecsPerDay + value.time.msecsSinceStartOfDay();
}

QDateTime decodeDateTime(qint64 encoded)
{
    const qint64 day = encoded >= 0 ? encoded / kMsecsPerDay : -((-encoded + kMsecsPerDay - 1) / kMsecsPerDay);
    const int ms = static_cast<int>(encoded - day * kMsecsPerDay);
    return QDateTime(QDate::fromJulianDay(day), QTime::fromMSecsSinceStartOfDay(ms));
}

} // namespace

struct Recordset::ResultSet {
    struct ColumnData {
        Recordset::Column info;
        Storage storage = Storage::Text;
        bool typeSettled = true;
        std::vector<qint64> ints;
        std::vector<double> reals;
        QByteArray text;
        std::vector<quint32> textEnds;
        std::vector<QVariant> variants;
        std::vector<bool> nulls;
    };
    std::vector<ColumnData> columns;
    int rows = 0;
};

Recordset::Recordset() = default;
Recordset::~Recordset() = default;
Recordset::Recordset(Recordset&&) noexcept = default;
Recordset& Recordset::operator=(Recordset&&) noexcept = default;

void Recordset::addResultSet(const std::vector<Column>& columns)
{
    auto set = std::make_unique<ResultSet>();
    set->columns.resize(columns.size());
    for (size_t i = 0; i < columns.size(); ++i) {
        set->columns[i].info = columns[i];
        set->columns[i].storage = columns[i].inferType ? Storage::Variant : storageFor(columns[i].type);
        set->columns[i].typeSettled = !columns[i].inferType;
    }
    m_sets.push_back(std::move(set));
}

void Recordset::setColumnType(int column, ColumnType type)
{
    auto& data = m_sets.back()->columns[static_cast<size_t>(column)];
    if (m_sets.back()->rows == 0 && data.nulls.empty()) {
        data.info.type = type;
        data.storage = storageFor(type);
        data.typeSettled = true;
        return;
    }
    data.info.type = type;
}

void Recordset::appendNull(int column)
{
    auto& data = m_sets.back()->columns[static_cast<size_t>(column)];
    data.nulls.push_back(true);
    switch (data.storage) {
    case Storage::Int64:
        data.ints.push_back(0);
        break;
    case Storage::Real:
        data.reals.push_back(0);
        break;
    case Storage::Text:
        data.textEnds.push_back(static_cast<quint32>(data.text.size()));
        break;
    case Storage::Variant:
        data.variants.emplace_back();
        break;
    }
}

void Recordset::appendInteger(int column, qint64 value)
{
    auto& data = m_sets.back()->columns[static_cast<size_t>(column)];
    if (data.storage != Storage::Int64 || data.info.type == ColumnType::Currency || data.info.type == ColumnType::Date
        || data.info.type == ColumnType::DateTime) {
        appendValue(column, QVariant::fromValue<qlonglong>(value));
        return;
    }
    data.nulls.push_back(false);
    data.ints.push_back(data.info.type == ColumnType::Boolean ? (value != 0 ? 1 : 0) : value);
}

void Recordset::appendDouble(int column, double value)
{
    auto& data = m_sets.back()->columns[static_cast<size_t>(column)];
    if (data.storage != Storage::Real) {
        appendValue(column, QVariant(value));
        return;
    }
    data.nulls.push_back(false);
    data.reals.push_back(value);
}

void Recordset::appendText(int column, const QString& value)
{
    auto& data = m_sets.back()->columns[static_cast<size_t>(column)];
    if (data.storage != Storage::Text) {
        appendValue(column, QVariant(value));
        return;
    }
    data.nulls.push_back(false);
    // Encoded straight into the column's buffer: a temporary QByteArray per value was a large part
    // of reading a text column.
    const qsizetype start = data.text.size();
    if (data.text.capacity() < start + value.size() * 3)
        data.text.reserve(std::max<qsizetype>(2 * data.text.capacity(), start + value.size() * 3));
    data.text.resize(start + value.size() * 3);
    QStringEncoder encoder(QStringEncoder::Utf8);
    char* end = encoder.appendToBuffer(data.text.data() + start, value);
    data.text.resize(end - data.text.constData());
    data.textEnds.push_back(static_cast<quint32>(data.text.size()));
}

void Recordset::appendValue(int column, const QVariant& value)
{
    auto& data = m_sets.back()->columns[static_cast<size_t>(column)];
    if (value.isNull()) {
        appendNull(column);
        return;
    }
    switch (data.storage) {
    case Storage::Variant:
        if (!data.typeSettled) {
            data.info.type = ColumnTypeOfMetaType(value.typeId());
            data.typeSettled = true;
        }
        data.nulls.push_back(false);
        data.variants.push_back(value);
        return;
    case Storage::Text:
        appendText(column, value.toString());
        return;
    case Storage::Real: {
        if (value.typeId() == QMetaType::Double) {
            appendDouble(column, *static_cast<const double*>(value.constData()));
            return;
        }
        bool ok = false;
        const double number = value.toDouble(&ok);
        if (!ok) {
            appendNull(column);
            return;
        }
        appendDouble(column, number);
        return;
    }
    case Storage::Int64:
        break;
    }
    std::optional<qint64> encoded;
    switch (data.info.type) {
    case ColumnType::Boolean: {
        if (value.typeId() == QMetaType::QString) {
            const QString text = value.toString().trimmed();
            bool ok = false;
            const double number = text.toDouble(&ok);
            encoded = ok ? (number != 0 ? 1 : 0) : (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ? 1 : 0);
        } else {
            encoded = value.toBool() ? 1 : 0;
        }
        break;
    }
    case ColumnType::Currency: {
        bool ok = false;
        const double number = value.toDouble(&ok);
        if (ok)
            encoded = std::llround(number * 10000.0);
        break;
    }
    case ColumnType::Date:
        if (const auto moment = toMoment(value))
            encoded = moment->date.toJulianDay();
        break;
    case ColumnType::DateTime:
        if (const auto moment = toMoment(value))
            encoded = encodeDateTime(*moment);
        break;
    default: {
        // The drivers' own integer types, taken without the general conversion.
        if (value.typeId() == QMetaType::LongLong) {
            encoded = *static_cast<const qlonglong*>(value.constData());
            break;
        }
        if (value.typeId() == QMetaType::Int) {
            encoded = *static_cast<const int*>(value.constData());
            break;
        }
        bool ok = false;
        const qlonglong number = value.toLongLong(&ok);
        if (ok) {
            encoded = number;
        } else {
            const double real = value.toDouble(&ok);
            if (ok)
                encoded = std::llround(real);
        }
        break;
    }
    }
    if (!encoded) {
        appendNull(column);
        return;
    }
    data.nulls.push_back(false);
    data.ints.push_back(*encoded);
}

void Recordset::finishRow()
{
    ResultSet& set = *m_sets.back();
    ++set.rows;
}

void Recordset::finishResultSet()
{
    if (m_sets.empty())
        return;
    for (auto& data : m_sets.back()->columns) {
        data.ints.shrink_to_fit();
        data.reals.shrink_to_fit();
        data.text.squeeze();
        data.textEnds.shrink_to_fit();
        data.variants.shrink_to_fit();
        data.nulls.shrink_to_fit();
    }
}

bool Recordset::isOpen() const
{
    return m_current < static_cast<int>(m_sets.size());
}

int Recordset::resultSetCount() const
{
    return static_cast<int>(m_sets.size());
}

bool Recordset::nextRecordset()
{
    if (m_current < static_cast<int>(m_sets.size()))
        ++m_current;
    m_row = 0;
    return isOpen();
}

const Recordset::ResultSet& Recordset::current() const
{
    if (!isOpen())
        throw AppError(3704, QStringLiteral("Operation is not allowed when the object is closed."),
                       QStringLiteral("Recordset"));
    return *m_sets[static_cast<size_t>(m_current)];
}

int Recordset::fieldCount() const
{
    return isOpen() ? static_cast<int>(current().columns.size()) : 0;
}

QString Recordset::fieldName(int column) const
{
    return current().columns.at(static_cast<size_t>(column)).info.name;
}

ColumnType Recordset::fieldType(int column) const
{
    const auto& data = current().columns.at(static_cast<size_t>(column));
    return data.typeSettled ? data.info.type : ColumnType::Text;
}

int Recordset::fieldIndex(const QString& name) const
{
    if (!isOpen())
        return -1;
    const auto& columns = current().columns;
    for (size_t i = 0; i < columns.size(); ++i) {
        if (columns[i].info.name.compare(name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

std::vector<Recordset::Column> Recordset::columns() const
{
    std::vector<Column> result;
    if (!isOpen())
        return result;
    for (int i = 0; i < fieldCount(); ++i)
        result.push_back({ fieldName(i), fieldType(i) });
    return result;
}

int Recordset::recordCount() const
{
    return isOpen() ? current().rows : 0;
}

bool Recordset::eof() const
{
    return !isOpen() || m_row >= recordCount() || m_row < 0;
}

bool Recordset::bof() const
{
    return !isOpen() || m_row < 0 || recordCount() == 0;
}

void Recordset::setPosition(int row)
{
    m_row = row;
}

void Recordset::moveFirst()
{
    m_row = 0;
}

void Recordset::moveNext()
{
    if (m_row < recordCount())
        ++m_row;
}

void Recordset::movePrevious()
{
    if (m_row >= 0)
        --m_row;
}

void Recordset::moveLast()
{
    m_row = recordCount() - 1;
}

void Recordset::requireRow() const
{
    if (eof() || m_row < 0)
        throw AppError(3021,
                       QStringLiteral("Either BOF or EOF is True, or the current record has been deleted. "
                                      "Requested operation requires a current record."),
                       QStringLiteral("Recordset"));
}

int Recordset::requireColumn(const QString& name) const
{
    const int index = fieldIndex(name);
    if (index < 0)
        throw AppError(3265,
                       QStringLiteral("Item cannot be found in the collection corresponding to the requested name or "
                                      "ordinal. (") + name + QStringLiteral(")"),
                       QStringLiteral("Recordset"));
    return index;
}

QVariant Recordset::value(int column) const
{
    requireRow();
    return valueAt(m_row, column);
}

QVariant Recordset::value(const QString& name) const
{
    const int column = requireColumn(name);
    requireRow();
    return valueAt(m_row, column);
}

bool Recordset::isNullAt(int row, int column) const
{
    return current().columns.at(static_cast<size_t>(column)).nulls.at(static_cast<size_t>(row));
}

qint64 Recordset::intValue(int row, int column, bool* isNull) const
{
    const auto& data = current().columns.at(static_cast<size_t>(column));
    const auto r = static_cast<size_t>(row);
    const bool null = data.nulls.at(r);
    if (isNull)
        *isNull = null;
    if (null)
        return 0;
    if (data.storage == Storage::Int64
        && (data.info.type == ColumnType::Integer || data.info.type == ColumnType::Boolean))
        return data.ints[r];
    return valueAt(row, column).toLongLong();
}

QVariant Recordset::valueAt(int row, int column) const
{
    const auto& data = current().columns.at(static_cast<size_t>(column));
    const auto r = static_cast<size_t>(row);
    if (data.nulls.at(r))
        return {};
    switch (data.storage) {
    case Storage::Variant:
        return data.variants[r];
    case Storage::Real:
        return data.reals[r];
    case Storage::Text: {
        const quint32 begin = r == 0 ? 0 : data.textEnds[r - 1];
        return QString::fromUtf8(data.text.constData() + begin, static_cast<qsizetype>(data.textEnds[r] - begin));
    }
    case Storage::Int64:
        break;
    }
    const qint64 raw = data.ints[r];
    switch (data.info.type) {
    case ColumnType::Boolean:
        return raw != 0;
    case ColumnType::Currency:
        return static_cast<double>(raw) / 10000.0;
    case ColumnType::Date:
        return QDate::fromJulianDay(raw);
    case ColumnType::DateTime:
        return decodeDateTime(raw);
    default:
        return QVariant::fromValue<qlonglong>(raw);
    }
}

size_t Recordset::memoryBytes() const
{
    size_t total = 0;
    for (const auto& set : m_sets) {
        for (const auto& column : set->columns) {
            total += column.ints.capacity() * sizeof(qint64) + column.reals.capacity() * sizeof(double)
                + static_cast<size_t>(column.text.capacity()) + column.textEnds.capacity() * sizeof(quint32)
                + column.variants.capacity() * sizeof(QVariant) + column.nulls.capacity() / 8;
            for (const QVariant& v : column.variants) {
                if (v.typeId() == QMetaType::QString)
                    total += static_cast<size_t>(v.toString().capacity()) * 2;
            }
        }
    }
    return total;
}
