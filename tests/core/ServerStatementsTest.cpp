#include "core/AppError.h"
#include "core/Connection.h"
#include "core/Database.h"
#include "core/postgres/PostgresStatements.h"
#include "core/ProcedureCatalogue.h"
#include "support/TestDatabase.h"

#include <QDate>
#include <QDateTime>

#include <gtest/gtest.h>

#include <functional>
#include <limits>

namespace {

class ServerStatements : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        ProcedureCatalogue::instance().registerProcedure(
            ProcedureCatalogue::parse(QStringLiteral("usp_Test_Keep_Values"),
                QStringLiteral("-- @param K integer\n-- @param T text\n-- @param I integer\n-- @param N number\n"
                               "-- @param M money\n-- @param D date\n-- @param S datetime\n-- @param B bit\n"
                               "INSERT INTO Kept (K, T, I, N, M, D, S, B) VALUES (:K, :T, :I, :N, :M, :D, :S, :B)"),
                QString(), QString()));
        connection().executeStatement(
            QStringLiteral("CREATE TABLE Exhibits (Exhibit_ID INTEGER PRIMARY KEY, Label TEXT)"));
        connection().executeStatement(QStringLiteral("INSERT INTO Exhibits (Exhibit_ID, Label) VALUES (1, 'sealed')"));
        connection().executeStatement(
            QStringLiteral("CREATE TABLE Kept (K INTEGER, T TEXT, I BIGINT, N DOUBLE PRECISION, "
                           "M %1, D %2, S %3, B %4)")
                .arg(SchemaToken(GetParam(), QStringLiteral("{MONEY}")),
                    SchemaToken(GetParam(), QStringLiteral("{DATE}")),
                    SchemaToken(GetParam(), QStringLiteral("{DATETIME}")),
                    SchemaToken(GetParam(), QStringLiteral("{BIT}"))));
    }

    static DatabaseConnection& connection() { return *DBConnection(); }
};

// The connection's own statement path is below the command-text splitter: whatever a text hides
// from a splitter, the server itself takes one statement per call, with or without values.
TEST_P(ServerStatements, ASecondStatementIsRefusedWithoutTheSplitter)
{
    struct Case {
        const char* sql;
        std::vector<QVariant> values;
    };
    const std::vector<Case> cases = {
        { "SELECT 1; SELECT 2", {} },
        { "SELECT 1; DROP TABLE Exhibits", {} },
        { "SELECT E'\\';' ; DROP TABLE Exhibits", {} },
        { "SELECT $q$;$q$; DROP TABLE Exhibits", {} },
        { "SELECT 1 -- note\r; DROP TABLE Exhibits", {} },
        { "SELECT ?; DROP TABLE Exhibits", { 1 } },
        { "UPDATE Exhibits SET Label = ? WHERE Exhibit_ID = 1; DROP TABLE Exhibits", { QStringLiteral("opened") } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sql);
        // SQLite reads some of these texts as one statement and a comment or a broken token; it
        // may run the first part, never the second.
        try {
            connection().executeStatement(QString::fromLatin1(c.sql), c.values);
            EXPECT_EQ(GetParam(), Engine::SQLite) << "the server ran the text";
        } catch (const AppError& error) {
            if (GetParam() == Engine::PostgreSQL) {
                EXPECT_EQ(connection().providerErrors().back().sqlState, QStringLiteral("42601"));
                EXPECT_TRUE(error.description().contains(
                    QStringLiteral("cannot insert multiple commands into a prepared statement")))
                    << qPrintable(error.description());
            }
        }
        const Recordset kept = connection().executeStatement(QStringLiteral("SELECT Label FROM Exhibits"));
        ASSERT_EQ(kept.recordCount(), 1);
        EXPECT_EQ(kept.valueAt(0, 0).toString(), QStringLiteral("sealed"));
    }
}

// Values of every type the program binds come back as they went in, whether bound to a statement
// of the program's own ("?") or to a prepared catalogue procedure (":Name").
TEST_P(ServerStatements, ValuesOfEveryTypeRoundTrip)
{
    const char* const columns[] = { "T", "I", "N", "M", "D", "S", "B" };
    struct Row {
        const char* name;
        std::vector<QVariant> values; // T, I, N, M, D, S, B
        std::vector<QVariant> expected;
    };
    const QString awkward = QStringLiteral("O'Neill's \\ \"bag\" \\'; -- $$ ? E'\\n' é");
    const QDateTime moment(QDate(2024, 3, 5), QTime(14, 7, 0, 123));
    const QDateTime lastMoment(QDate(1999, 12, 31), QTime(23, 59, 59, 999));
    const std::vector<Row> rows = {
        { "nulls", std::vector<QVariant>(7), std::vector<QVariant>(7) },
        { "null text", { QVariant(QString()), {}, {}, {}, {}, {}, {} }, std::vector<QVariant>(7) },
        { "quotes, backslashes and a placeholder in text",
            { awkward, QVariant::fromValue(9007199254740993LL), 0.1, 123456789012.3456, QDate(2024, 3, 5), moment,
                true },
            { awkward, QVariant::fromValue(9007199254740993LL), 0.1, 123456789012.3456, QDate(2024, 3, 5), moment,
                true } },
        { "empty text, extremes and false",
            { QStringLiteral(""), QVariant::fromValue(std::numeric_limits<qlonglong>::min()), -1e300, -0.0001,
                QDate(1900, 1, 1), lastMoment, false },
            { QStringLiteral(""), QVariant::fromValue(std::numeric_limits<qlonglong>::min()), -1e300, -0.0001,
                QDate(1900, 1, 1), lastMoment, false } },
        { "whole numbers as integers", { QStringLiteral("7"), 2147483647, 3, 12, {}, {}, 1 },
            { QStringLiteral("7"), QVariant::fromValue(2147483647LL), 3.0, 12.0, {}, {}, true } },
    };
    const Procedure* procedure = ProcedureCatalogue::instance().find(QStringLiteral("usp_Test_Keep_Values"));
    ASSERT_NE(procedure, nullptr);
    struct Route {
        const char* name;
        std::function<void(int key, const std::vector<QVariant>& values)> insert;
    };
    const std::vector<Route> routes = {
        { "statement with values",
            [](int key, const std::vector<QVariant>& values) {
                std::vector<QVariant> bound { key };
                bound.insert(bound.end(), values.begin(), values.end());
                connection().executeStatement(
                    QStringLiteral("INSERT INTO Kept (K, T, I, N, M, D, S, B) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"), bound);
            } },
        { "prepared procedure",
            [procedure](int key, const std::vector<QVariant>& values) {
                std::vector<QVariant> arguments { key };
                arguments.insert(arguments.end(), values.begin(), values.end());
                connection().callProcedure(*procedure, arguments);
            } },
    };
    int key = 0;
    for (const Route& route : routes) {
        for (const Row& row : rows) {
            SCOPED_TRACE(std::string(route.name) + ": " + row.name);
            ++key;
            route.insert(key, row.values);
            const Recordset kept = connection().executeStatement(
                QStringLiteral("SELECT T, I, N, M, D, S, B FROM Kept WHERE K = ?"), { key });
            ASSERT_EQ(kept.recordCount(), 1);
            for (int c = 0; c < 7; ++c) {
                SCOPED_TRACE(columns[c]);
                const QVariant& expected = row.expected[static_cast<size_t>(c)];
                const QVariant read = kept.valueAt(0, c);
                EXPECT_EQ(read.isNull(), expected.isNull()) << qPrintable(read.toString());
                if (!expected.isNull()) {
                    EXPECT_EQ(read, expected) << qPrintable(read.toString());
                }
            }
        }
    }
}

// A unit whose commit the server refuses (a deferred check) is reported with the server's text and
// leaves nothing open: the next unit commits.
TEST_P(ServerStatements, ACommitTheServerRefusesEndsTheUnit)
{
    connection().executeStatement(QStringLiteral("CREATE TABLE Owners (Owner_ID INTEGER PRIMARY KEY)"));
    connection().executeStatement(
        QStringLiteral("CREATE TABLE Holdings (Holding_ID INTEGER PRIMARY KEY, Owner_ID INTEGER "
                       "REFERENCES Owners (Owner_ID) DEFERRABLE INITIALLY DEFERRED)"));
    connection().beginTransaction();
    connection().executeStatement(QStringLiteral("INSERT INTO Holdings (Holding_ID, Owner_ID) VALUES (1, 9)"));
    try {
        connection().commitTransaction();
        ADD_FAILURE() << "the unit was committed";
    } catch (const AppError& error) {
        EXPECT_FALSE(error.description().isEmpty());
        if (GetParam() == Engine::PostgreSQL) {
            EXPECT_EQ(connection().providerErrors().back().sqlState, QStringLiteral("23503"));
        }
    }
    EXPECT_EQ(connection().transactionDepth(), 0);
    connection().beginTransaction();
    connection().executeStatement(QStringLiteral("INSERT INTO Owners (Owner_ID) VALUES (9)"));
    connection().executeStatement(QStringLiteral("INSERT INTO Holdings (Holding_ID, Owner_ID) VALUES (2, 9)"));
    connection().commitTransaction();
    const Recordset holdings = connection().executeStatement(QStringLiteral("SELECT Holding_ID FROM Holdings"));
    ASSERT_EQ(holdings.recordCount(), 1);
    EXPECT_EQ(holdings.valueAt(0, 0).toInt(), 2);
}

INSTANTIATE_TEST_SUITE_P(Engines, ServerStatements, ::testing::ValuesIn(TestEngines()), EngineTestName);

// Server types beyond the schema's own read as their logical types: zoned times as the local
// time of the same instant (with whole-hour and other offsets), numerics, flags, case-insensitive
// text.
TEST(PostgresResults, ServerTypesReadAsTheirLogicalTypes)
{
    if (!RequireEngine(Engine::PostgreSQL))
        GTEST_SKIP() << "no PostgreSQL cluster is running";
    const TestDatabase database(Engine::PostgreSQL);
    const auto connection = database.connect();
    struct Case {
        const char* expression;
        QVariant expected;
    };
    const std::vector<Case> cases = {
        { "TIMESTAMPTZ '2024-03-05 14:07:00.123+00'",
            QDateTime(QDate(2024, 3, 5), QTime(14, 7, 0, 123), Qt::UTC).toLocalTime() },
        { "TIMESTAMPTZ '2024-03-05 14:07:00+05:30'",
            QDateTime(QDate(2024, 3, 5), QTime(8, 37), Qt::UTC).toLocalTime() },
        { "CAST(1.5 AS NUMERIC)", 1.5 },
        { "CAST(12.3456 AS NUMERIC(19,4))", 12.3456 },
        { "CAST('Infinity' AS DOUBLE PRECISION)", std::numeric_limits<double>::infinity() },
        { "TRUE", true },
        { "CAST(7 AS BIGINT)", QVariant::fromValue(7LL) },
        { "CAST('MiXeD' AS CITEXT)", QStringLiteral("MiXeD") },
        { "DATE '2024-02-29'", QDate(2024, 2, 29) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expression);
        const Recordset read
            = connection->executeStatement(QStringLiteral("SELECT ") + QString::fromLatin1(c.expression));
        ASSERT_EQ(read.recordCount(), 1);
        EXPECT_EQ(read.valueAt(0, 0), c.expected) << qPrintable(read.valueAt(0, 0).toString());
    }
}

// "?" is a placeholder only where the server would read an operator there: strings, E'' strings
// with escaped quotes, quoted names, comments and dollar quoting keep theirs.
TEST(NumberPlaceholders, OnlyPlaceholdersOutsideQuotingAreNumbered)
{
    struct Case {
        const char* sql;
        const char* numbered;
    };
    const Case cases[] = {
        { "UPDATE T SET A = ?, B = ? WHERE C = ?", "UPDATE T SET A = $1, B = $2 WHERE C = $3" },
        { "SELECT '?', 'it''s ?', ? FROM T", "SELECT '?', 'it''s ?', $1 FROM T" },
        { "SELECT E'\\'?', ?", "SELECT E'\\'?', $1" },
        { "SELECT E'\\\\', ?", "SELECT E'\\\\', $1" },
        { "SELECT \"a?\" FROM T WHERE x = ?", "SELECT \"a?\" FROM T WHERE x = $1" },
        { "SELECT ? -- why?\rFROM T WHERE x = ?", "SELECT $1 -- why?\rFROM T WHERE x = $2" },
        { "SELECT /* a /* nested? */ one? */ ?", "SELECT /* a /* nested? */ one? */ $1" },
        { "SELECT $q$ ? $q$, $$?$$, ?", "SELECT $q$ ? $q$, $$?$$, $1" },
        { "SELECT a$b, ? FROM T", "SELECT a$b, $1 FROM T" },
        { "SELECT 'unclosed ?", "SELECT 'unclosed ?" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sql);
        EXPECT_EQ(NumberPlaceholders(QString::fromLatin1(c.sql)), QByteArray(c.numbered));
    }
}

} // namespace
