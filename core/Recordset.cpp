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

// A column's values in blocks of 65,536: growing never copies what is stored, so filling a
// large result touches each value's memory once and holds at most one part-filled block more
// than its values. The first block grows by doubling, so a small result stays small. When the
// engine says how many rows come, each block is sized for them.
template <class T> class Chunked {
public:
    static constexpr size_t kShift = 16;
    static constexpr size_t kBlock = size_t(1) << kShift;

    void expect(size_t count) { m_expected = count; }
    size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    const T& operator[](size_t i) const { return m_blocks[i >> kShift][i & (kBlock - 1)]; }
    void push_back(const T& value)
    {
        const size_t block = m_size >> kShift;
        if (block == m_blocks.size()) {
            m_blocks.emplace_back();
            const size_t left = m_expected > m_size ? m_expected - m_size : 0;
            if (left > 0)
                m_blocks.back().reserve(std::min(kBlock, left));
            else if (block > 0)
                m_blocks.back().reserve(kBlock);
        }
        m_blocks[block].push_back(value);
        ++m_size;
    }
    size_t capacityBytes() const
    {
        size_t total = m_blocks.capacity() * sizeof(std::vector<T>);
        for (const auto& block : m_blocks)
            total += block.capacity() * sizeof(T);
        return total;
    }

private:
    std::vector<std::vector<T>> m_blocks;
    size_t m_size = 0;
    size_t m_expected = 0;
};

// A text column's UTF-8 bytes in blocks of 1 MiB (a longer value gets a block of its own), each
// value whole in one block; the per-row end offsets count across the blocks, as if the blocks
// were one buffer. The first block grows by doubling.
class TextBlocks {
public:
    static constexpr qsizetype kBlock = qsizetype(1) << 20;

    quint32 size() const { return m_size; }
    // Appends the value's UTF-8 and returns the end offset after it.
    quint32 append(const QString& value)
    {
        const qsizetype most = value.size() * 3;
        if (m_blocks.empty() || !fits(m_blocks.back(), most)) {
            const bool first = m_blocks.size() == 1 && m_blocks.back().size() + most <= kBlock;
            if (first) {
                // The first block doubles, up to a full block.
                QByteArray& last = m_blocks.back();
                last.reserve(std::min(kBlock, std::max(2 * last.capacity(), last.size() + most)));
            } else {
                m_blocks.emplace_back();
                m_starts.push_back(m_size);
                m_blocks.back().reserve(m_blocks.size() == 1 ? std::max<qsizetype>(most, 64) : std::max(most, kBlock));
            }
        }
        QByteArray& last = m_blocks.back();
        const qsizetype start = last.size();
        last.resize(start + most);
        QStringEncoder encoder(QStringEncoder::Utf8);
        char* end = encoder.appendToBuffer(last.data() + start, value);
        last.resize(end - last.constData());
        m_size += static_cast<quint32>(last.size() - start);
        return m_size;
    }
    QString text(quint32 begin, quint32 end) const
    {
        if (begin == end)
            return QString::fromUtf8("", 0);
        const auto block = std::upper_bound(m_starts.begin(), m_starts.end(), begin) - m_starts.begin() - 1;
        const QByteArray& bytes = m_blocks[static_cast<size_t>(block)];
        return QString::fromUtf8(
            bytes.constData() + (begin - m_starts[static_cast<size_t>(block)]), static_cast<qsizetype>(end - begin));
    }
    size_t capacityBytes() const
    {
        size_t total = m_blocks.capacity() * sizeof(QByteArray) + m_starts.capacity() * sizeof(quint32);
        for (const QByteArray& block : m_blocks)
            total += static_cast<size_t>(block.capacity());
        return total;
    }

private:
    static bool fits(const QByteArray& block, qsizetype most) { return block.capacity() - block.size() >= most; }

    std::vector<QByteArray> m_blocks;
    std::vector<quint32> m_starts; // the offset of each block's first byte
    quint32 m_size = 0;
};

} // namespace

struct Recordset::ResultSet {
    struct ColumnData {
        Recordset::Column info;
        Storage storage = Storage::Text;
        bool typeSettled = true;
        Chunked<qint64> ints;
        Chunked<double> reals;
        TextBlocks text;
        Chunked<quint32> textEnds;
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
        data.textEnds.push_back(data.text.size());
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
    data.textEnds.push_back(data.text.append(value));
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

void Recordset::reserveRows(int rows)
{
    if (m_sets.empty() || rows <= 0)
        return;
    const auto count = static_cast<size_t>(rows);
    for (auto& data : m_sets.back()->columns) {
        data.nulls.reserve(count);
        switch (data.storage) {
        case Storage::Int64:
            data.ints.expect(count);
            break;
        case Storage::Real:
            data.reals.expect(count);
            break;
        case Storage::Text:
            data.textEnds.expect(count);
            break;
        case Storage::Variant:
            data.variants.reserve(count);
            break;
        }
    }
}

void Recordset::finishResultSet()
{
    // Nothing to trim: the columns grow in blocks, and copying them into exact-sized storage at
    // the end would touch the whole result's memory a second time.
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
        throw AppError(ErrObjectClosed, QStringLiteral("Operation is not allowed when the object is closed."),
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
        throw AppError(ErrNoCurrentRecord,
                       QStringLiteral("Either BOF or EOF is True, or the current record has been deleted. "
                                      "Requested operation requires a current record."),
                       QStringLiteral("Recordset"));
}

int Recordset::requireColumn(const QString& name) const
{
    const int index = fieldIndex(name);
    if (index < 0)
        throw AppError(ErrItemNotFound,
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
        return data.text.text(begin, data.textEnds[r]);
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
            total += column.ints.capacityBytes() + column.reals.capacityBytes() + column.text.capacityBytes()
                + column.textEnds.capacityBytes() + column.variants.capacity() * sizeof(QVariant)
                + column.nulls.capacity() / 8;
            for (const QVariant& v : column.variants) {
                if (v.typeId() == QMetaType::QString)
                    total += static_cast<size_t>(v.toString().capacity()) * 2;
            }
        }
    }
    return total;
}
