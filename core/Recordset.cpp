#include "core/Recordset.h"

#include "core/AppError.h"

#include <QDate>
#include <QDateTime>
#include <QStringEncoder>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <stdexcept>

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
// large result touches each value's memory once. The first block grows by doubling, so a small
// result stays small; when the engine says how many rows come, each block is sized for them. When
// reading ends, the last block is cut to its values (the only block that can have room left).
template <class T> class Chunked {
public:
    static constexpr size_t kShift = 16;
    static constexpr size_t kBlock = size_t(1) << kShift;

    void expect(size_t count) { m_expected = count; }
    size_t size() const { return m_size; }
    const T& operator[](size_t i) const { return m_blocks[i >> kShift][i & (kBlock - 1)]; }
    T& back() { return m_blocks.back().back(); }
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
    void shrink()
    {
        if (!m_blocks.empty())
            m_blocks.back().shrink_to_fit();
        m_blocks.shrink_to_fit();
    }
    void clear()
    {
        m_blocks.clear();
        m_blocks.shrink_to_fit();
        m_size = 0;
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

// A column's NULL marks, one bit a value, kept only once the column has a NULL: most columns of a
// large result have none.
class NullMarks {
public:
    void push(bool null)
    {
        if (null && !m_any) {
            m_any = true;
            m_marks.assign(m_count, false);
        }
        if (m_any)
            m_marks.push_back(null);
        ++m_count;
    }
    bool at(size_t i) const
    {
        if (i >= m_count)
            throw std::out_of_range("Recordset row out of range");
        return m_any && m_marks[i];
    }
    void shrink() { m_marks.shrink_to_fit(); }
    size_t capacityBytes() const { return m_marks.capacity() / 8; }

private:
    std::vector<bool> m_marks;
    size_t m_count = 0;
    bool m_any = false;
};

// Whole numbers (and dates, times, money and Booleans as whole numbers) in 4 bytes while every
// value of the column fits, in 8 from the first that does not (the values so far copied once).
class Numbers {
public:
    void expect(size_t count)
    {
        m_narrow.expect(count);
        m_wide.expect(count);
    }
    void push_back(qint64 value)
    {
        if (!m_isWide) {
            if (value >= std::numeric_limits<qint32>::min() && value <= std::numeric_limits<qint32>::max()) {
                m_narrow.push_back(static_cast<qint32>(value));
                return;
            }
            for (size_t i = 0; i < m_narrow.size(); ++i)
                m_wide.push_back(m_narrow[i]);
            m_narrow.clear();
            m_isWide = true;
        }
        m_wide.push_back(value);
    }
    qint64 operator[](size_t i) const { return m_isWide ? m_wide[i] : m_narrow[i]; }
    void shrink()
    {
        m_narrow.shrink();
        m_wide.shrink();
    }
    size_t capacityBytes() const { return m_narrow.capacityBytes() + m_wide.capacityBytes(); }

private:
    Chunked<qint32> m_narrow;
    Chunked<qint64> m_wide;
    bool m_isWide = false;
};

// A text column: each value's UTF-8 bytes after its length (a variable-length number: 0 for NULL,
// else the byte count + 1, one byte up to 126 bytes), in blocks of 1 MiB (a longer value gets a
// block of its own). Every 16th value's place is marked; a value is found from the mark before it
// by stepping over at most 15 lengths. The values of one group of 16 lie in one block: a value that
// does not fit takes the group's values so far into the next block with it.
class TextColumn {
public:
    static constexpr size_t kBlock = size_t(1) << 20;
    static constexpr size_t kGroup = 16;

    void expect(size_t count) { m_marks.expect((count + kGroup - 1) / kGroup); }

    void appendNull()
    {
        char* at = room(1);
        *at = 0;
        m_blocks.back().size += 1;
        ++m_count;
    }
    void append(const QString& value)
    {
        // UTF-16 to UTF-8 at most triples; the length takes at most 5 bytes.
        const size_t most = static_cast<size_t>(value.size()) * 3;
        char* at = room(most + kMaxLength);
        QStringEncoder encoder(QStringEncoder::Utf8);
        if (most + 1 < 0x80) {
            // The length fits one byte: the bytes go straight after it.
            char* end = encoder.appendToBuffer(at + 1, value);
            const auto length = static_cast<size_t>(end - (at + 1));
            *at = static_cast<char>(length + 1);
            m_blocks.back().size += 1 + length;
        } else {
            char* end = encoder.appendToBuffer(at + kMaxLength, value);
            const auto length = static_cast<size_t>(end - (at + kMaxLength));
            const size_t lengthBytes = writeLength(at, length + 1);
            std::memmove(at + lengthBytes, at + kMaxLength, length);
            m_blocks.back().size += lengthBytes + length;
        }
        ++m_count;
    }
    void appendUtf8(const char* bytes, size_t length)
    {
        char* at = room(length + kMaxLength);
        const size_t lengthBytes = writeLength(at, length + 1);
        std::memcpy(at + lengthBytes, bytes, length);
        m_blocks.back().size += lengthBytes + length;
        ++m_count;
    }

    bool isNull(size_t i) const { return find(i).second == 0; }
    // False for NULL.
    bool read(size_t i, QString& text) const
    {
        const auto [bytes, stored] = find(i);
        if (stored == 0)
            return false;
        text = QString::fromUtf8(bytes, static_cast<qsizetype>(stored - 1));
        return true;
    }

    void shrink()
    {
        m_marks.shrink();
        if (!m_blocks.empty()) {
            Block& last = m_blocks.back();
            if (last.capacity > last.size) {
                auto exact = uninitialised(std::max<size_t>(last.size, 1));
                std::memcpy(exact.get(), last.data.get(), last.size);
                last.data = std::move(exact);
                last.capacity = last.size;
            }
        }
        m_blocks.shrink_to_fit();
    }
    size_t capacityBytes() const
    {
        size_t total = m_blocks.capacity() * sizeof(Block) + m_marks.capacityBytes();
        for (const Block& block : m_blocks)
            total += block.capacity;
        return total;
    }

private:
    static constexpr size_t kMaxLength = 5;
    struct Block {
        std::unique_ptr<char[]> data;
        size_t size = 0;
        size_t capacity = 0;
    };
    struct Mark {
        quint32 block = 0;
        quint32 offset = 0;
    };

    static size_t writeLength(char* at, size_t value)
    {
        size_t n = 0;
        while (value >= 0x80) {
            at[n++] = static_cast<char>((value & 0x7f) | 0x80);
            value >>= 7;
        }
        at[n++] = static_cast<char>(value);
        return n;
    }
    static size_t readLength(const char*& at)
    {
        size_t value = 0;
        int shift = 0;
        for (;;) {
            const auto byte = static_cast<unsigned char>(*at++);
            value |= static_cast<size_t>(byte & 0x7f) << shift;
            if (byte < 0x80)
                return value;
            shift += 7;
        }
    }

    // The value's bytes and its stored length (0 for NULL).
    std::pair<const char*, size_t> find(size_t i) const
    {
        if (i >= m_count)
            throw std::out_of_range("Recordset row out of range");
        const Mark& mark = m_marks[i / kGroup];
        const char* at = m_blocks[mark.block].data.get() + mark.offset;
        for (size_t skip = i % kGroup; skip > 0; --skip) {
            const size_t stored = readLength(at);
            at += stored == 0 ? 0 : stored - 1;
        }
        const size_t stored = readLength(at);
        return { at, stored };
    }

    // Room for `bytes` more at the end of the last block, and the mark of a group that starts here.
    char* room(size_t bytes)
    {
        const bool groupStarts = m_count % kGroup == 0;
        if (m_blocks.empty() || m_blocks.back().capacity - m_blocks.back().size < bytes) {
            if (m_blocks.size() == 1 && m_blocks.back().size + bytes <= kBlock) {
                // The first block doubles, up to a full block.
                Block& first = m_blocks.back();
                grow(first, std::min(kBlock, std::max(first.size + bytes, 2 * first.capacity)));
            } else {
                // The group's values so far go with it, so that a group lies in one block.
                size_t carried = 0;
                if (!groupStarts)
                    carried = m_blocks.back().size - m_marks.back().offset;
                Block block;
                block.capacity = m_blocks.empty() ? std::max<size_t>(bytes, 64) : std::max(carried + bytes, kBlock);
                block.data = uninitialised(block.capacity);
                if (carried > 0) {
                    Block& previous = m_blocks.back();
                    std::memcpy(block.data.get(), previous.data.get() + (previous.size - carried), carried);
                    previous.size -= carried;
                    block.size = carried;
                }
                m_blocks.push_back(std::move(block));
                if (!groupStarts)
                    m_marks.back() = Mark { static_cast<quint32>(m_blocks.size() - 1), 0 };
            }
        }
        if (groupStarts)
            m_marks.push_back(Mark { static_cast<quint32>(m_blocks.size() - 1), static_cast<quint32>(m_blocks.back().size) });
        return m_blocks.back().data.get() + m_blocks.back().size;
    }
    // Not zeroed (as make_unique would): a block's room is touched only as values fill it, so
    // what is left of it costs no memory.
    static std::unique_ptr<char[]> uninitialised(size_t bytes) { return std::unique_ptr<char[]>(new char[bytes]); }
    static void grow(Block& block, size_t capacity)
    {
        auto bigger = uninitialised(capacity);
        std::memcpy(bigger.get(), block.data.get(), block.size);
        block.data = std::move(bigger);
        block.capacity = capacity;
    }

    std::vector<Block> m_blocks;
    Chunked<Mark> m_marks;
    size_t m_count = 0;
};

} // namespace

struct Recordset::ResultSet {
    struct ColumnData {
        Recordset::Column info;
        Storage storage = Storage::Text;
        bool typeSettled = true;
        Numbers ints;
        Chunked<double> reals;
        TextColumn text;
        std::vector<QVariant> variants;
        NullMarks nulls; // every storage but text, which marks its NULLs itself
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
    switch (data.storage) {
    case Storage::Int64:
        data.nulls.push(true);
        data.ints.push_back(0);
        break;
    case Storage::Real:
        data.nulls.push(true);
        data.reals.push_back(0);
        break;
    case Storage::Text:
        data.text.appendNull();
        break;
    case Storage::Variant:
        data.nulls.push(true);
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
    data.nulls.push(false);
    data.ints.push_back(data.info.type == ColumnType::Boolean ? (value != 0 ? 1 : 0) : value);
}

void Recordset::appendDouble(int column, double value)
{
    auto& data = m_sets.back()->columns[static_cast<size_t>(column)];
    if (data.storage != Storage::Real) {
        appendValue(column, QVariant(value));
        return;
    }
    data.nulls.push(false);
    data.reals.push_back(value);
}

void Recordset::appendText(int column, const QString& value)
{
    auto& data = m_sets.back()->columns[static_cast<size_t>(column)];
    if (data.storage != Storage::Text) {
        appendValue(column, QVariant(value));
        return;
    }
    // Encoded straight into the column's buffer: a temporary QByteArray per value was a large part
    // of reading a text column.
    data.text.append(value);
}

void Recordset::appendUtf8(int column, const char* bytes, qsizetype length)
{
    auto& data = m_sets.back()->columns[static_cast<size_t>(column)];
    if (data.storage != Storage::Text) {
        appendValue(column, QVariant(QString::fromUtf8(bytes, length)));
        return;
    }
    data.text.appendUtf8(bytes, static_cast<size_t>(length));
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
        data.nulls.push(false);
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
    data.nulls.push(false);
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
        switch (data.storage) {
        case Storage::Int64:
            data.ints.expect(count);
            break;
        case Storage::Real:
            data.reals.expect(count);
            break;
        case Storage::Text:
            data.text.expect(count);
            break;
        case Storage::Variant:
            data.variants.reserve(count);
            break;
        }
    }
}

void Recordset::finishResultSet()
{
    // Only the last block of each column can have room left: cut to its values, it is the only
    // copy made, so the whole result's memory is not touched a second time.
    if (m_sets.empty())
        return;
    for (auto& data : m_sets.back()->columns) {
        data.ints.shrink();
        data.reals.shrink();
        data.text.shrink();
        data.nulls.shrink();
        data.variants.shrink_to_fit();
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
    const auto& data = current().columns.at(static_cast<size_t>(column));
    if (data.storage == Storage::Text)
        return data.text.isNull(static_cast<size_t>(row));
    return data.nulls.at(static_cast<size_t>(row));
}

qint64 Recordset::intValue(int row, int column, bool* isNull) const
{
    const auto& data = current().columns.at(static_cast<size_t>(column));
    const auto r = static_cast<size_t>(row);
    const bool null = data.storage == Storage::Text ? data.text.isNull(r) : data.nulls.at(r);
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
    if (data.storage == Storage::Text) {
        QString text;
        if (!data.text.read(r, text))
            return {};
        return text;
    }
    if (data.nulls.at(r))
        return {};
    switch (data.storage) {
    case Storage::Variant:
        return data.variants[r];
    case Storage::Real:
        return data.reals[r];
    case Storage::Text:
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
                + column.variants.capacity() * sizeof(QVariant) + column.nulls.capacityBytes();
            for (const QVariant& v : column.variants) {
                if (v.typeId() == QMetaType::QString)
                    total += static_cast<size_t>(v.toString().capacity()) * 2;
            }
        }
    }
    return total;
}
