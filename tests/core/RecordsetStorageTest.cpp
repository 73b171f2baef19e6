// The Recordset's column storage: values read back exactly across the storage blocks (with and
// without the engine's row count given ahead), the integer accessor, what a large result holds
// against its values, and every kind of value read from each engine and back.

#include "core/Database.h"
#include "core/Recordset.h"
#include "support/TestDatabase.h"

#include <QDate>
#include <QDateTime>

#include <gtest/gtest.h>

#include <limits>
#include <optional>

namespace {

QString textFor(int row)
{
    // Empty, short, multi-byte and longer texts in turn.
    switch (row % 4) {
    case 0:
        return QString();
    case 1:
        return QStringLiteral("EV-%1").arg(row);
    case 2:
        return QStringLiteral("Sealed bag № %1 — locker Ä").arg(row);
    default:
        return QStringLiteral("Item %1 ").arg(row).repeated(1 + row % 7);
    }
}

constexpr int kBigRow = 70001;

std::unique_ptr<Recordset> fill(int rows, int reserved)
{
    auto result = std::make_unique<Recordset>();
    result->addResultSet({ { QStringLiteral("ID"), ColumnType::Integer },
        { QStringLiteral("Weight"), ColumnType::Double }, { QStringLiteral("Tag"), ColumnType::Text },
        { QStringLiteral("Sealed"), ColumnType::Boolean }, { QStringLiteral("Received"), ColumnType::Date } });
    result->reserveRows(reserved);
    for (int row = 0; row < rows; ++row) {
        if (row % 11 == 5)
            result->appendNull(0);
        else
            result->appendInteger(0, row * 3LL - 1000);
        result->appendDouble(1, row / 8.0);
        if (row % 13 == 7)
            result->appendNull(2);
        else
            result->appendText(2, row == kBigRow ? QString(1200000, QLatin1Char('x')) : textFor(row));
        result->appendInteger(3, row % 3);
        result->appendValue(4, QDate(2015, 1, 1).addDays(row % 3650));
        result->finishRow();
    }
    result->finishResultSet();
    return result;
}

TEST(RecordsetStorage, ValuesReadBackAcrossBlocks)
{
    struct Case {
        const char* name;
        int reserved;
    } cases[] = { { "row count unknown", -1 }, { "row count given", 140000 }, { "row count given too small", 1000 } };
    const int rows = 140000;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto result = fill(rows, c.reserved);
        ASSERT_EQ(result->recordCount(), rows);
        for (const int row :
            { 0, 1, 2, 3, 5, 7, 65535, 65536, 65537, kBigRow - 1, kBigRow, kBigRow + 1, 131071, 131072, rows - 1 }) {
            SCOPED_TRACE(row);
            bool null = false;
            const qint64 id = result->intValue(row, 0, &null);
            EXPECT_EQ(null, row % 11 == 5);
            EXPECT_EQ(id, null ? 0 : row * 3LL - 1000);
            EXPECT_EQ(result->valueAt(row, 0).isNull(), null);
            EXPECT_DOUBLE_EQ(result->valueAt(row, 1).toDouble(), row / 8.0);
            if (row % 13 == 7) {
                EXPECT_TRUE(result->isNullAt(row, 2));
            } else {
                const QString expected = row == kBigRow ? QString(1200000, QLatin1Char('x')) : textFor(row);
                EXPECT_EQ(result->valueAt(row, 2).toString(), expected);
            }
            EXPECT_EQ(result->intValue(row, 3), row % 3 != 0 ? 1 : 0) << "Booleans read as 0 and 1";
            EXPECT_EQ(result->valueAt(row, 4).toDate(), QDate(2015, 1, 1).addDays(row % 3650));
        }
    }
}

TEST(RecordsetStorage, ALargeResultHoldsLittleMoreThanItsValues)
{
    // Growing by doubling without trimming would hold up to twice the values; blocks hold at most
    // one part-filled block more per column.
    const int rows = 400000;
    Recordset result;
    result.addResultSet({ { QStringLiteral("ID"), ColumnType::Integer }, { QStringLiteral("Tag"), ColumnType::Text } });
    size_t raw = 0;
    for (int row = 0; row < rows; ++row) {
        result.appendInteger(0, row);
        const QString tag = QStringLiteral("EV-%1-").arg(row, 8, 10, QLatin1Char('0'));
        result.appendText(1, tag);
        result.finishRow();
        raw += sizeof(qint64) + static_cast<size_t>(tag.toUtf8().size()) + sizeof(quint32);
    }
    result.finishResultSet();
    EXPECT_LE(static_cast<double>(result.memoryBytes()), 1.3 * static_cast<double>(raw));
    EXPECT_EQ(result.valueAt(rows - 1, 1).toString(), QStringLiteral("EV-00399999-"));
}

} // namespace

namespace {

// Every kind of value a column holds, read from each engine into the compact storage and back:
// one row a case, in this order (the whole numbers first fit 4 bytes, then do not).
struct StoredRow {
    const char* name;
    std::optional<qint64> whole;
    std::optional<double> amount; // money, 4 decimals
    QDate day;                    // null: NULL
    QDateTime moment;             // null: NULL
    std::optional<bool> flag;
    std::optional<QString> note;
    std::optional<double> real;
};

QString longText(int length, QChar fill)
{
    return QString(length, fill);
}

std::vector<StoredRow> storedRows()
{
    const QDateTime noon(QDate(2024, 2, 29), QTime(12, 0));
    return {
        { "small values", 1, 0.0001, QDate(2015, 1, 1), noon, true, QStringLiteral("EV-1"), 0.125 },
        { "NULL everywhere", std::nullopt, std::nullopt, {}, {}, std::nullopt, std::nullopt, std::nullopt },
        { "empty text and zeros", 0, 0.0, QDate(2000, 1, 1), QDateTime(QDate(2000, 1, 1), QTime(0, 0)), false,
            QString(), 0.0 },
        { "4-byte limits", 2147483647, -12345.6789, QDate(1, 1, 1), QDateTime(QDate(1900, 1, 1), QTime(0, 0)), true,
            QStringLiteral("Ä ö ß № — € 𝄞"), -1.5 },
        { "below the 4-byte limit", -2147483648LL, 214748.3647, QDate(9999, 12, 31),
            QDateTime(QDate(2024, 2, 29), QTime(23, 59, 59, 999)), false, QStringLiteral("it's"), 2.2250738585072014e-308 },
        { "a text of 126 bytes", 42, 1.0, QDate(2024, 2, 29), noon, true, longText(126, QLatin1Char('a')), 1e-10 },
        { "a text of 127 bytes", 43, 2.0, QDate(2024, 3, 1), noon, true, longText(127, QLatin1Char('b')), 3.0 },
        { "a text of 200 multi-byte letters", 44, 3.0, QDate(2024, 3, 2), noon, false, longText(200, QChar(0x20AC)),
            4.0 },
        { "past the 4-byte limit", 2147483648LL, 99999999.9999, QDate(1970, 1, 1),
            QDateTime(QDate(1970, 1, 1), QTime(0, 0, 0, 1)), true, QStringLiteral("  padded  "), 1.7976931348623157e308 },
        { "below minus 2^31", -2147483649LL, -99999999.9999, QDate(2015, 6, 30), noon, false, QStringLiteral("\t"),
            -2.5 },
        { "8-byte maximum", std::numeric_limits<qint64>::max(), 0.5, QDate(2015, 7, 1), noon, true,
            longText(400000, QChar(0x20AC)), 5.0 },
        { "8-byte minimum", std::numeric_limits<qint64>::min(), -0.5, QDate(2015, 7, 2), noon, false,
            QStringLiteral("after a long text"), 6.0 },
        { "a text longer than a block", 7, 7.0, QDate(2015, 7, 3), noon, true, longText(1100000, QLatin1Char('z')),
            7.0 },
        { "NULL after long texts", std::nullopt, std::nullopt, {}, {}, std::nullopt, std::nullopt, std::nullopt },
        { "a text after a block", 8, 8.0, QDate(2015, 7, 4), noon, false, QStringLiteral("Schließfach 12"), 8.0 },
    };
}

// A text literal kept exactly as it is (SQLString trims blanks, as the windows want).
QString quoted(const QString& text)
{
    return QLatin1Char('\'') + QString(text).replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
}

QString literalOf(const std::optional<double>& value)
{
    return value ? QString::number(*value, 'g', 17) : QStringLiteral("NULL");
}

class RecordsetValues : public DatabaseTest {};

TEST_P(RecordsetValues, EveryValueReadsBackExactly)
{
    const Engine engine = GetParam();
    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("CREATE TABLE Kept_Values (Row_No INTEGER, Whole BIGINT, Amount %1, "
                                              "Day %2, Moment %3, Flag %4, Note %5, Real_Value DOUBLE PRECISION)")
                                   .arg(SchemaToken(engine, QStringLiteral("{MONEY}")),
                                       SchemaToken(engine, QStringLiteral("{DATE}")),
                                       SchemaToken(engine, QStringLiteral("{DATETIME}")),
                                       SchemaToken(engine, QStringLiteral("{BIT}")),
                                       SchemaToken(engine, QStringLiteral("{TEXT}")))));
    const std::vector<StoredRow> rows = storedRows();
    // Enough rows that the texts span several groups of marks and blocks.
    constexpr int kRounds = 3;
    for (int round = 0; round < kRounds; ++round) {
        for (size_t i = 0; i < rows.size(); ++i) {
            const StoredRow& row = rows[i];
            const QString sql = QStringLiteral("INSERT INTO Kept_Values VALUES (%1, %2, %3, %4, %5, %6, %7, %8)")
                                    .arg(round * 100 + static_cast<int>(i))
                                    .arg(row.whole ? QString::number(*row.whole) : QStringLiteral("NULL"))
                                    .arg(literalOf(row.amount))
                                    .arg(row.day.isValid() ? quoted(row.day.toString(Qt::ISODate)) : QStringLiteral("NULL"))
                                    .arg(row.moment.isValid()
                                            ? quoted(row.moment.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")))
                                            : QStringLiteral("NULL"))
                                    .arg(row.flag ? QString::number(*row.flag ? 1 : 0) : QStringLiteral("NULL"))
                                    .arg(row.note ? quoted(*row.note) : QStringLiteral("NULL"))
                                    .arg(literalOf(row.real));
            ASSERT_TRUE(Act_ExecuteSQL(sql)) << row.name;
        }
    }

    const std::unique_ptr<Recordset> result = OpenRecordset(QStringLiteral(
        "SELECT Row_No, Whole, Amount, Day, Moment, Flag, Note, Real_Value FROM Kept_Values ORDER BY Row_No"));
    ASSERT_NE(result, nullptr);
    ASSERT_EQ(result->recordCount(), kRounds * static_cast<int>(rows.size()));
    const ColumnType types[] = { ColumnType::Integer, ColumnType::Integer, ColumnType::Currency, ColumnType::Date,
        ColumnType::DateTime, ColumnType::Boolean, ColumnType::Text, ColumnType::Double };
    for (int column = 0; column < 8; ++column)
        EXPECT_EQ(result->fieldType(column), types[column]) << result->fieldName(column).toStdString();
    for (int record = 0; record < result->recordCount(); ++record) {
        const StoredRow& row = rows[static_cast<size_t>(record) % rows.size()];
        SCOPED_TRACE(row.name);
        SCOPED_TRACE(record);
        bool null = false;
        EXPECT_EQ(result->intValue(record, 1, &null), row.whole.value_or(0));
        EXPECT_EQ(null, !row.whole);
        EXPECT_EQ(result->isNullAt(record, 1), !row.whole);
        if (row.whole) {
            EXPECT_EQ(result->valueAt(record, 1).toLongLong(), *row.whole);
        }
        EXPECT_EQ(result->valueAt(record, 2).isNull(), !row.amount);
        if (row.amount) {
            EXPECT_DOUBLE_EQ(result->valueAt(record, 2).toDouble(), *row.amount);
        }
        EXPECT_EQ(result->valueAt(record, 3).isNull(), !row.day.isValid());
        if (row.day.isValid()) {
            EXPECT_EQ(result->valueAt(record, 3).toDate(), row.day);
        }
        EXPECT_EQ(result->valueAt(record, 4).isNull(), !row.moment.isValid());
        if (row.moment.isValid()) {
            EXPECT_EQ(result->valueAt(record, 4).toDateTime(), row.moment);
        }
        EXPECT_EQ(result->isNullAt(record, 5), !row.flag);
        if (row.flag) {
            EXPECT_EQ(result->valueAt(record, 5).toBool(), *row.flag);
        }
        const QVariant note = result->valueAt(record, 6);
        EXPECT_EQ(result->isNullAt(record, 6), !row.note);
        EXPECT_EQ(note.isNull(), !row.note);
        if (row.note) {
            EXPECT_EQ(note.typeId(), QMetaType::QString);
            EXPECT_EQ(note.toString(), *row.note);
        }
        EXPECT_EQ(result->valueAt(record, 7).isNull(), !row.real);
        if (row.real) {
            EXPECT_EQ(result->valueAt(record, 7).toDouble(), *row.real);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, RecordsetValues, ::testing::ValuesIn(TestEngines()), EngineTestName);

} // namespace
