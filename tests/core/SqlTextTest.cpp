#include "core/SqlText.h"
#include "support/TestNames.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

struct QuoteCase {
    const char* input;
    const char* quoteText;
    const char* sqlString;
};

void PrintTo(const QuoteCase& c, std::ostream* os)
{
    *os << '"' << c.input << '"';
}

class QuotingTest : public testing::TestWithParam<QuoteCase> { };

TEST_P(QuotingTest, QuotesTrimmedText)
{
    const QuoteCase& c = GetParam();
    EXPECT_EQ(QuoteText(QString::fromUtf8(c.input)), QString::fromUtf8(c.quoteText));
    EXPECT_EQ(SQLString(QString::fromUtf8(c.input)), QString::fromUtf8(c.sqlString));
}

INSTANTIATE_TEST_SUITE_P(Texts, QuotingTest,
    testing::Values(QuoteCase { "  frmItem  ", "'frmItem'", "'frmItem'" }, QuoteCase { "it's", "'it's'", "'it''s'" },
        QuoteCase { "  O'Brien ", "'O'Brien'", "'O''Brien'" }, QuoteCase { "''", "''''", "''''''" },
        QuoteCase { "", "''", "''" }, QuoteCase { "    ", "''", "''" },
        // Only spaces count as blanks: tabs and line ends are data.
        QuoteCase { "\ta\r\n", "'\ta\r\n'", "'\ta\r\n'" }, QuoteCase { "a  b", "'a  b'", "'a  b'" },
        QuoteCase { "Zoë ", "'Zoë'", "'Zoë'" }),
    [](const testing::TestParamInfo<QuoteCase>& caseInfo) { return IndexedTestName(caseInfo.index, caseInfo.param.input); });

class BuilderTest : public testing::Test {
protected:
    void SetUp() override
    {
        twoPairs.add(QStringLiteral("A"), QStringLiteral("1"));
        twoPairs.add(QStringLiteral("B"), QStringLiteral("'x'"));
        onePair.add(QStringLiteral("A"), QStringLiteral("1"));
    }

    PairDictionary twoPairs;
    PairDictionary onePair;
    PairDictionary noPairs;
};

TEST_F(BuilderTest, InsertListsKeysAndLiteralsOnTwoLines)
{
    EXPECT_EQ(BuildInsertSQL(QStringLiteral("T"), twoPairs), QStringLiteral("INSERT INTO T(A, B)\r\nVALUES(1, 'x')"));
    EXPECT_EQ(BuildInsertSQL(QStringLiteral("T"), onePair), QStringLiteral("INSERT INTO T(A)\r\nVALUES(1)"));
    EXPECT_EQ(BuildInsertSQL(QStringLiteral("T"), noPairs), QStringLiteral("INSERT INTO T()\r\nVALUES()"));
}

TEST_F(BuilderTest, UpdateWritesOnePairPerLine)
{
    EXPECT_EQ(BuildUpdateSQL(QStringLiteral("T"), twoPairs), QStringLiteral("UPDATE T\r\nSET A = 1,\r\nB = 'x'"));
    EXPECT_EQ(BuildUpdateSQL(QStringLiteral("T"), onePair), QStringLiteral("UPDATE T\r\nSET A = 1"));
    EXPECT_EQ(BuildUpdateSQL(QStringLiteral("T"), noPairs), QStringLiteral("UPDATE T\r\nSET "));
}

TEST_F(BuilderTest, ExecWritesParametersWithAt)
{
    const QString call = QStringLiteral("EXEC usp_Evd_Search_Items_All");
    EXPECT_EQ(BuildExecSQL(call, twoPairs), call + QStringLiteral(" @A = 1,\r\n@B = 'x'"));
    EXPECT_EQ(BuildExecSQL(call, onePair), call + QStringLiteral(" @A = 1"));
    EXPECT_EQ(BuildExecSQL(call, noPairs), call + QStringLiteral(" "));
}

TEST_F(BuilderTest, PairsFollowInsertionOrderNotAlphabet)
{
    PairDictionary pairs;
    pairs.add(QStringLiteral("Zone"), QStringLiteral("NULL"));
    pairs.add(QStringLiteral("Alpha"), QStringLiteral("2"));
    pairs.add(QStringLiteral("Mid"), SQLString(QStringLiteral("a, b")));
    EXPECT_EQ(BuildInsertSQL(QStringLiteral("T"), pairs),
        QStringLiteral("INSERT INTO T(Zone, Alpha, Mid)\r\nVALUES(NULL, 2, 'a, b')"));
    EXPECT_EQ(BuildUpdateSQL(QStringLiteral("T"), pairs),
        QStringLiteral("UPDATE T\r\nSET Zone = NULL,\r\nAlpha = 2,\r\nMid = 'a, b'"));
    EXPECT_EQ(pairs.keys(), (QStringList { QStringLiteral("Zone"), QStringLiteral("Alpha"), QStringLiteral("Mid") }));
}

TEST(SmallTextRoutines, AngleQuoteAndQuoteKeepTheTextAsItIs)
{
    EXPECT_EQ(AngleQuote(QString()), QStringLiteral("<>"));
    EXPECT_EQ(AngleQuote(QStringLiteral(" Main DB ")), QStringLiteral("< Main DB >"));
    EXPECT_EQ(Quote(QStringLiteral("/opt/my files/a.txt")), QStringLiteral("\"/opt/my files/a.txt\""));
    EXPECT_EQ(Quote(QStringLiteral("say \"hi\"")), QStringLiteral("\"say \"hi\"\""));
}

TEST(SmallTextRoutines, CompareIIfFloorsAtZero)
{
    const std::pair<double, double> cases[] = { { -15, 0 }, { -0.5, 0 }, { 0, 0 }, { 240.5, 240.5 }, { 7, 7 } };
    for (const auto& [input, expected] : cases)
        EXPECT_EQ(CompareIIf(input), expected) << input;
}

TEST(OrderedDictionaryTest, AddKeepsTheFirstValueOfAKey)
{
    PairDictionary pairs;
    EXPECT_TRUE(pairs.add(QStringLiteral("A"), QStringLiteral("1")));
    EXPECT_FALSE(pairs.add(QStringLiteral("A"), QStringLiteral("2")));
    EXPECT_EQ(pairs.value(QStringLiteral("A")), QStringLiteral("1"));
    EXPECT_EQ(pairs.count(), 1);
}

TEST(OrderedDictionaryTest, KeysCompareExactly)
{
    PairDictionary pairs;
    pairs.add(QStringLiteral("Item_ID"), QStringLiteral("1"));
    EXPECT_TRUE(pairs.add(QStringLiteral("item_id"), QStringLiteral("2")));
    EXPECT_FALSE(pairs.contains(QStringLiteral("ITEM_ID")));
    EXPECT_EQ(pairs.value(QStringLiteral("item_id")), QStringLiteral("2"));
    EXPECT_EQ(pairs.value(QStringLiteral("missing"), QStringLiteral("none")), QStringLiteral("none"));
}

TEST(OrderedDictionaryTest, SetReplacesInPlaceOrAppends)
{
    PairDictionary pairs;
    pairs.add(QStringLiteral("A"), QStringLiteral("1"));
    pairs.add(QStringLiteral("B"), QStringLiteral("2"));
    pairs.set(QStringLiteral("A"), QStringLiteral("9"));
    pairs.set(QStringLiteral("C"), QStringLiteral("3"));
    EXPECT_EQ(pairs.keys(), (QStringList { QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C") }));
    EXPECT_EQ(pairs.values(), (QStringList { QStringLiteral("9"), QStringLiteral("2"), QStringLiteral("3") }));
}

TEST(OrderedDictionaryTest, RemoveKeepsTheOrderAndLookUpsOfTheOthers)
{
    PairDictionary pairs;
    for (const char* key : { "A", "B", "C", "D" })
        pairs.add(QString::fromLatin1(key), QString::fromLatin1(key).toLower());
    EXPECT_TRUE(pairs.remove(QStringLiteral("B")));
    EXPECT_FALSE(pairs.remove(QStringLiteral("B")));
    EXPECT_EQ(pairs.keys(), (QStringList { QStringLiteral("A"), QStringLiteral("C"), QStringLiteral("D") }));
    // The pairs after the removed one moved up: their look-ups and replacements must follow.
    EXPECT_EQ(pairs.value(QStringLiteral("D")), QStringLiteral("d"));
    pairs.set(QStringLiteral("C"), QStringLiteral("c2"));
    EXPECT_EQ(pairs.values(), (QStringList { QStringLiteral("a"), QStringLiteral("c2"), QStringLiteral("d") }));
    pairs.add(QStringLiteral("B"), QStringLiteral("b2"));
    EXPECT_EQ(pairs.keys().last(), QStringLiteral("B"));

    pairs.clear();
    EXPECT_TRUE(pairs.isEmpty());
    EXPECT_FALSE(pairs.contains(QStringLiteral("A")));
    EXPECT_TRUE(pairs.add(QStringLiteral("A"), QStringLiteral("1")));
}

} // namespace
