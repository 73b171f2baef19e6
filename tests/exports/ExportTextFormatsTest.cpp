#include "core/Recordset.h"
#include "core/TextUtilities.h"
#include "exports/Exports.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

namespace {

// The clip text as the exports wrote it before their numbers and dates were written by hand: Qt's
// own number conversion and the shared date formats. Every file exported since then must read
// byte for byte the same, so this copy is the reference.
QString referenceValueText(const QVariant& value, ColumnType type)
{
    if (!value.isValid() || value.isNull())
        return {};
    switch (type) {
    case ColumnType::Integer:
        return QString::number(value.toLongLong());
    case ColumnType::Double:
    case ColumnType::Currency:
        return QString::number(value.toDouble(), 'g', 15);
    case ColumnType::Date:
        return FormatDateText(value);
    case ColumnType::DateTime:
        return FormatDateTimeText(value);
    case ColumnType::Boolean:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case ColumnType::Text:
        break;
    }
    return value.toString();
}

QString referenceClipText(const Recordset& recordset)
{
    QString text;
    for (int row = 0; row < recordset.recordCount(); ++row) {
        for (int column = 0; column < recordset.fieldCount(); ++column) {
            if (column > 0)
                text += QLatin1Char('\t');
            text += referenceValueText(recordset.valueAt(row, column), recordset.fieldType(column));
        }
        text += QStringLiteral("\r\n");
    }
    return text;
}

constexpr double kInfinity = std::numeric_limits<double>::infinity();

struct AwkwardRow {
    QVariant number; // a Double column
    QVariant money; // a Currency column (four decimals kept)
    QVariant integer;
    QVariant day;
    QVariant moment;
    QVariant text;
};

// Values whose text is easy to get wrong: signs of zero, exponents, binary fractions, halfway
// cases of the fifteenth digit (Qt rounds them away from zero), integers beyond 2^53, the ends of
// the date range, midnight and noon on the 12-hour clock, times with and without seconds.
const AwkwardRow kAwkwardRows[] = {
    { -0.0, 0.0, 0, QDate(1899, 12, 30), QDateTime(QDate(1899, 12, 30), QTime(0, 0)), QStringLiteral("zero") },
    { 1e-7, 0.0001, -1, QDate(1752, 9, 14), QDateTime(QDate(1850, 6, 1), QTime(12, 0)), QStringLiteral("") },
    { 1e21, -0.0001, std::numeric_limits<qint64>::max(), QDate(1, 1, 1), QDateTime(QDate(1, 1, 1), QTime(0, 0, 1)),
        QStringLiteral("Tab\u00e9 \u20ac") },
    { 0.1 + 0.2, 1234.5678, std::numeric_limits<qint64>::min(), QDate(9999, 12, 31),
        QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59)), QStringLiteral("O'Neil") },
    { 9007199254740993.0, -98765.4321, 1000000, QDate(2024, 2, 29), QDateTime(QDate(2024, 3, 5), QTime(14, 7)),
        QStringLiteral("line\r\nbreak") },
    { -123456789012345678.0, 922337203685477.0, 42, QDate(1900, 1, 1),
        QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9, 999)), QStringLiteral("a") },
    { 2673944004763.125, 0.5, 7, QDate(2000, 2, 29), QDateTime(QDate(1969, 12, 31), QTime(23, 59, 59)), QVariant() },
    { -298114385468925.5, 100.0, 8, QDate(1601, 1, 1), QDateTime(QDate(1970, 1, 1), QTime(1, 0)), QStringLiteral("b") },
    { 5e-324, 12.5, 9, QDate(2010, 10, 10), QDateTime(QDate(2010, 10, 10), QTime(11, 59, 59)), QStringLiteral("c") },
    { 1.7976931348623157e308, 3.0, 10, QDate(1000, 5, 6), QDateTime(QDate(2010, 10, 10), QTime(12, 59, 0)),
        QStringLiteral("d") },
    { kInfinity, 1.0, 11, QDate(999, 12, 31), QDateTime(QDate(999, 12, 31), QTime(13, 0)), QStringLiteral("e") },
    { -kInfinity, 2.0, 12, QDate(2024, 12, 31), QDateTime(QDate(2024, 12, 31), QTime(0, 0, 59)), QStringLiteral("f") },
    { std::nan(""), 4.0, 13, QDate(2024, 1, 1), QDateTime(QDate(2024, 1, 1), QTime(9, 5, 3)), QStringLiteral("g") },
    { -std::nan(""), 5.0, 14, QDate(2024, 1, 1), QDateTime(QDate(2024, 1, 1), QTime(21, 5, 3)), QStringLiteral("h") },
    { 1e15, 6.0, 15, QDate(2024, 1, 1), QDateTime(QDate(2024, 1, 1), QTime(10, 10, 10)), QStringLiteral("i") },
    { 999999999999999.5, 7.0, 16, QDate(2024, 1, 1), QDateTime(QDate(2024, 1, 1), QTime(22, 22, 22)),
        QStringLiteral("j") },
    { 1e-5, 8.0, 17, QDate(2024, 1, 1), QDateTime(QDate(2024, 1, 1), QTime(6, 0)), QStringLiteral("k") },
    { 0.0001, 9.0, 18, QDate(2024, 1, 1), QDateTime(QDate(2024, 1, 1), QTime(18, 0)), QStringLiteral("l") },
    { 123456.7890123456, 10.0, 19, QDate(2024, 1, 1), QDateTime(QDate(2024, 1, 1), QTime(3, 4, 5)),
        QStringLiteral("m") },
    { QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant() },
};

Recordset awkwardRecordset()
{
    Recordset rs;
    rs.addResultSet({ { QStringLiteral("Number"), ColumnType::Double },
        { QStringLiteral("Money"), ColumnType::Currency }, { QStringLiteral("Count"), ColumnType::Integer },
        { QStringLiteral("Day"), ColumnType::Date }, { QStringLiteral("At"), ColumnType::DateTime },
        { QStringLiteral("Ok"), ColumnType::Boolean }, { QStringLiteral("Name"), ColumnType::Text } });
    bool flag = false;
    for (const AwkwardRow& row : kAwkwardRows) {
        const QVariant values[] = { row.number, row.money, row.integer, row.day, row.moment,
            row.day.isNull() ? QVariant() : QVariant(flag = !flag), row.text };
        for (int c = 0; c < 7; ++c)
            rs.appendValue(c, values[c]);
        rs.finishRow();
    }
    rs.finishResultSet();
    return rs;
}

TEST(ExportText, AwkwardValuesReadAsTheyAlwaysHave)
{
    const Recordset rs = awkwardRecordset();
    const QString expected = referenceClipText(rs);
    const QString actual = ClipText(rs);
    EXPECT_EQ(actual.toStdString(), expected.toStdString());
    for (int row = 0; row < rs.recordCount(); ++row) {
        for (int column = 0; column < rs.fieldCount(); ++column) {
            const QVariant value = rs.valueAt(row, column);
            EXPECT_EQ(ValueText(value, rs.fieldType(column)).toStdString(),
                referenceValueText(value, rs.fieldType(column)).toStdString())
                << "row " << row << ", column " << column;
        }
    }
}

// Numbers of every size and shape, including the halfway cases of the fifteenth digit that a
// correctly rounding conversion would round to even, and the coarse subnormals.
TEST(ExportText, NumbersMatchQtsFifteenDigitsAcrossTheRange)
{
    std::mt19937_64 random(20240305);
    std::uniform_int_distribution<int> exponent(-40, 40);
    int mismatches = 0;
    for (int i = 0; i < 300000 && mismatches < 5; ++i) {
        double value = 0;
        switch (i % 4) {
        case 0:
        case 3: {
            // Any bit pattern; every fourth one a subnormal near zero with few bits set.
            const quint64 bits = i % 4 == 0 ? random() : random() % (1u << 20);
            std::memcpy(&value, &bits, sizeof value);
            break;
        }
        case 1:
            value = std::ldexp(double(random() % 100000000) / double(1 + random() % 10000), exponent(random));
            break;
        default:
            // Money-like values and integers past 2^53, where ties at the fifteenth digit gather.
            value = double(qint64(random() % 2000000000000000ull) - 1000000000000000ll) / double(1 << (random() % 4));
            break;
        }
        const QString expected = QString::number(value, 'g', 15);
        const QString actual = ValueText(value, ColumnType::Double);
        if (actual != expected) {
            ++mismatches;
            ADD_FAILURE() << "value " << value << ": " << actual.toStdString() << " instead of "
                          << expected.toStdString();
        }
    }
}

} // namespace
