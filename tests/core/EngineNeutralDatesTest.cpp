// ADD_DAYS(d, n) and DAY_AFTER(d), the date functions the procedures write once for both engines:
// on each engine they give what the idiom they replace gives there, and the two engines agree, for
// dates, date-times, NULL, month and year ends and leap days. On the server they are run as a
// clerk too (the Clerk suite).

#include "core/Connection.h"
#include "core/Database.h"
#include "core/ProcedureCatalogue.h"
#include "support/TestDatabase.h"

#include <QDate>

#include <gtest/gtest.h>

#include <optional>

namespace {

// @D is the value as a date parameter (the layer drops its time), @T as a date-time parameter.
// The "Old_" columns are the idioms the procedures wrote per engine before: a "To" date's day
// after, and the review date's day plus a number of days.
const QString kHeader = QStringLiteral("-- @param D date\n-- @param T datetime\n-- @param N integer\n"
                                       "-- @columns Added Date, After Date, After_Time Date, Added_Date Date, "
                                       "Old_Added Date, Old_After Date\n");
const QString kNew = QStringLiteral("SELECT ADD_DAYS(:T, :N) AS \"Added\", DAY_AFTER(:D) AS \"After\", "
                                    "DAY_AFTER(:T) AS \"After_Time\", ADD_DAYS(:D, :N) AS \"Added_Date\", ");
const QString kSqliteOld = QStringLiteral(
    "date(:T, '+' || :N || ' days') AS \"Old_Added\", date(CAST(:D AS TEXT), '+1 day') AS \"Old_After\"");
const QString kPostgresOld
    = QStringLiteral("CAST(:T AS DATE) + CAST(:N AS integer) AS \"Old_Added\", :D + 1 AS \"Old_After\"");

struct DateCase {
    const char* value; // nullptr: NULL
    std::optional<int> days;
    const char* dayAfter; // the day after the value's day
    const char* added; // the value's day plus the days
};

const DateCase kCases[] = {
    { "2024-03-05", 0, "2024-03-06", "2024-03-05" },
    { "2024-03-05 14:07:00", 10, "2024-03-06", "2024-03-15" },
    { "2024-03-05 23:59:59.999", 1, "2024-03-06", "2024-03-06" },
    { "2024-03-05 00:00:00", 1, "2024-03-06", "2024-03-06" },
    { "2024-01-31", 1, "2024-02-01", "2024-02-01" },
    { "2024-04-30 18:30:00", 1, "2024-05-01", "2024-05-01" },
    { "2023-12-31 08:00:00", 366, "2024-01-01", "2024-12-31" },
    { "2024-12-31", 1, "2025-01-01", "2025-01-01" },
    { "2024-02-28", 1, "2024-02-29", "2024-02-29" },
    { "2024-02-29 12:00:00", 365, "2024-03-01", "2025-02-28" },
    { "2023-02-28", 1, "2023-03-01", "2023-03-01" },
    { "2000-02-28", 1, "2000-02-29", "2000-02-29" },
    { "1900-02-28", 1, "1900-03-01", "1900-03-01" },
    { "2024-02-20", 200, "2024-02-21", "2024-09-07" },
    // Backwards: the server's idiom took it, SQLite's wrote "+-5 days" and gave NULL; both agree now.
    { "2024-03-05", -5, "2024-03-06", "2024-02-29" },
    { "2024-03-05", std::nullopt, "2024-03-06", nullptr },
    { nullptr, 1, nullptr, nullptr },
};

QString dayText(const QVariant& value)
{
    return value.isNull() ? QStringLiteral("NULL") : value.toDate().toString(Qt::ISODate);
}

class EngineNeutralDates : public DatabaseTest { };

TEST_P(EngineNeutralDates, GiveWhatEachEnginesIdiomGaveOnBothEngines)
{
    const Procedure procedure = ProcedureCatalogue::parse(QStringLiteral("usp_Test_Engine_Neutral_Dates"), QString(),
        kHeader + kNew + kSqliteOld, kHeader + kNew + kPostgresOld);
    for (const DateCase& c : kCases) {
        const QVariant value = c.value ? QVariant(QString::fromLatin1(c.value)) : QVariant();
        const QVariant days = c.days ? QVariant(*c.days) : QVariant();
        SCOPED_TRACE(testing::Message() << (c.value ? c.value : "NULL") << " " << days.toString().toStdString());
        const Recordset rs = DBConnection()->callProcedure(procedure, { value, value, days });
        ASSERT_EQ(rs.recordCount(), 1);
        const QString after = QString::fromLatin1(c.dayAfter ? c.dayAfter : "NULL");
        const QString added = QString::fromLatin1(c.added ? c.added : "NULL");
        EXPECT_EQ(dayText(rs.value(QStringLiteral("After"))), after);
        EXPECT_EQ(dayText(rs.value(QStringLiteral("After_Time"))), after);
        EXPECT_EQ(dayText(rs.value(QStringLiteral("Added"))), added);
        EXPECT_EQ(dayText(rs.value(QStringLiteral("Added_Date"))), added);
        // What the procedures' own idioms gave, value for value (on SQLite the text date() writes).
        EXPECT_EQ(rs.value(QStringLiteral("After")), rs.value(QStringLiteral("Old_After")));
        if (!c.days || *c.days >= 0) {
            EXPECT_EQ(rs.value(QStringLiteral("Added")), rs.value(QStringLiteral("Old_Added")));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, EngineNeutralDates, ::testing::ValuesIn(TestEngines()), EngineTestName);
INSTANTIATE_CLERK_SUITE(EngineNeutralDates);

} // namespace
