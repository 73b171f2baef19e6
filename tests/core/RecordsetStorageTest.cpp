// The Recordset's column storage: values read back exactly across the storage blocks (with and
// without the engine's row count given ahead), the integer accessor, and what a large result
// holds against its values.

#include "core/Recordset.h"

#include <QDate>

#include <gtest/gtest.h>

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
