#include "core/CStringBuilder.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

QString q(const char* text) { return QString::fromUtf8(text); }

CStringBuilder holding(const char* text)
{
    CStringBuilder builder;
    builder.Append(q(text));
    return builder;
}

TEST(CStringBuilderTest, StartsEmptyWithOneStep)
{
    const CStringBuilder builder;
    EXPECT_EQ(builder.BufferBump(), 2048);
    EXPECT_EQ(builder.Capacity(), 2048);
    EXPECT_EQ(builder.Length(), 0);
    EXPECT_EQ(builder.ToString(), QString());
}

TEST(CStringBuilderTest, BufferBumpIgnoresNonPositiveAndRoundsOddUp)
{
    const std::pair<int, int> cases[] = { { 0, 2048 }, { -4, 2048 }, { 7, 8 }, { 1, 2 }, { 10, 10 } };
    for (const auto& [written, expected] : cases) {
        CStringBuilder builder;
        builder.setBufferBump(written);
        EXPECT_EQ(builder.BufferBump(), expected) << written;
    }
}

TEST(CStringBuilderTest, CapacityRoundsUpToAWholeStep)
{
    const std::tuple<int, int, int> cases[] = {
        // bump, written, expected
        { 2048, 1, 2048 },
        { 2048, 2048, 2048 },
        { 2048, 2049, 4096 },
        { 2048, 0, 2048 },
        { 2048, -10, 2048 },
        { 100, 150, 200 },
        { 100, 100, 100 },
    };
    for (const auto& [bump, written, expected] : cases) {
        CStringBuilder builder;
        builder.setBufferBump(bump);
        builder.setCapacity(written);
        EXPECT_EQ(builder.Capacity(), expected) << bump << " " << written;
    }
}

TEST(CStringBuilderTest, ShrinkingTheCapacityCutsTheText)
{
    CStringBuilder builder;
    builder.setBufferBump(4);
    builder.Append(q("abcdef"));
    builder.setCapacity(4);
    EXPECT_EQ(builder.Capacity(), 4);
    EXPECT_EQ(builder.Length(), 2);
    EXPECT_EQ(builder.ToString(), q("ab"));
    builder.Append(q("XYZ"));
    EXPECT_EQ(builder.ToString(), q("abXYZ"));
}

TEST(CStringBuilderTest, AppendGrowsByWholeSteps)
{
    CStringBuilder builder;
    const QString full(1024, QLatin1Char('x')); // 2048 bytes
    builder.Append(full);
    EXPECT_EQ(builder.Capacity(), 2048);
    builder.Append(q("y")).Append(q("z")).Append(QString());
    EXPECT_EQ(builder.Capacity(), 4096);
    EXPECT_EQ(builder.Length(), 1026);
    EXPECT_EQ(builder.ToString(), full + q("yz"));

    const QString large(3000, QLatin1Char('w'));
    builder.Append(large);
    EXPECT_EQ(builder.Capacity(), 8192); // 2 * 4026 = 8052 bytes, rounded up to 4 steps
    EXPECT_EQ(builder.ToString(), full + q("yz") + large);
}

TEST(CStringBuilderTest, EnsureCapacityOnlyGrows)
{
    CStringBuilder builder;
    EXPECT_EQ(builder.EnsureCapacity(100), 2048);
    EXPECT_EQ(builder.EnsureCapacity(2049), 4096);
    EXPECT_EQ(builder.EnsureCapacity(10), 4096);
}

TEST(CStringBuilderTest, InsertAndRemoveEditInPlace)
{
    CStringBuilder builder = holding("abc");
    builder.Insert(3, q("d"));
    EXPECT_EQ(builder.ToString(), q("abcd"));
    builder.Remove(1, 2);
    EXPECT_EQ(builder.ToString(), q("ad"));
    builder.Insert(0, q("<")).Insert(2, q("--")).Insert(5, q(">"));
    EXPECT_EQ(builder.ToString(), q("<a--d>"));
    builder.Insert(1, QString()).Remove(0, 0).Remove(6, 0);
    EXPECT_EQ(builder.ToString(), q("<a--d>"));
    builder.Remove(0, 6);
    EXPECT_EQ(builder.ToString(), QString());
    EXPECT_EQ(builder.Length(), 0);
}

TEST(CStringBuilderTest, InsertGrowsTheBuffer)
{
    CStringBuilder builder;
    builder.setBufferBump(4);
    builder.setCapacity(4);
    builder.Append(q("ab"));
    builder.Insert(1, q("XYZ"));
    EXPECT_EQ(builder.ToString(), q("aXYZb"));
    EXPECT_EQ(builder.Capacity(), 12);
    // Later edits work on the grown buffer as well.
    builder.Insert(5, q("123")).Append(q("!"));
    EXPECT_EQ(builder.ToString(), q("aXYZb123!"));
}

TEST(CStringBuilderTest, CharsReadsAndWritesInsideTheText)
{
    CStringBuilder builder = holding("abc");
    builder.setChars(1, QLatin1Char('B'));
    EXPECT_EQ(builder.Chars(0), QLatin1Char('a'));
    EXPECT_EQ(builder.Chars(1), QLatin1Char('B'));
    EXPECT_EQ(builder.ToString(), q("aBc"));
    builder.setChars(2, QChar(0x00E9));
    EXPECT_EQ(builder.ToString(), q("aBé"));
}

TEST(CStringBuilderTest, LengthCutsOrExposesTheBuffer)
{
    CStringBuilder builder = holding("abc");
    builder.setLength(-1);
    EXPECT_EQ(builder.Length(), 3);
    builder.setLength(1);
    EXPECT_EQ(builder.ToString(), q("a"));
    // Growing again shows what the buffer still holds.
    builder.setLength(3);
    EXPECT_EQ(builder.ToString(), q("abc"));
    builder.setLength(1500);
    EXPECT_EQ(builder.Capacity(), 4096);
    EXPECT_EQ(builder.Length(), 1500);
}

TEST(CStringBuilderTest, OutOfRangeRaisesTheBuilderError)
{
    struct Case {
        const char* name;
        std::function<void(CStringBuilder&)> action;
        const char* source;
        const char* description;
    };
    const char* const reading = "Tried reading character past end of buffer.";
    const char* const assigning = "Tried assigning character past end of buffer.";
    const char* const outOfRange = "Argument(s) out of range.";
    const Case cases[] = {
        { "read past end", [](CStringBuilder& b) { b.Chars(3); }, "CStringBuilder.Chars", reading },
        { "read before start", [](CStringBuilder& b) { b.Chars(-1); }, "CStringBuilder.Chars", reading },
        { "write past end", [](CStringBuilder& b) { b.setChars(3, QLatin1Char('x')); }, "CStringBuilder.Chars",
            assigning },
        { "write before start", [](CStringBuilder& b) { b.setChars(-1, QLatin1Char('x')); }, "CStringBuilder.Chars",
            assigning },
        { "insert past end", [](CStringBuilder& b) { b.Insert(4, q("x")); }, "CStringBuilder.Insert", outOfRange },
        { "insert before start", [](CStringBuilder& b) { b.Insert(-1, QString()); }, "CStringBuilder.Insert",
            outOfRange },
        { "remove before start", [](CStringBuilder& b) { b.Remove(-1, 1); }, "CStringBuilder.Remove", outOfRange },
        { "remove negative count", [](CStringBuilder& b) { b.Remove(0, -1); }, "CStringBuilder.Remove", outOfRange },
        { "remove past end", [](CStringBuilder& b) { b.Remove(2, 2); }, "CStringBuilder.Remove", outOfRange },
    };
    for (const Case& c : cases) {
        CStringBuilder builder = holding("abc");
        try {
            c.action(builder);
            ADD_FAILURE() << c.name << ": no error raised";
        } catch (const AppError& error) {
            EXPECT_EQ(error.number(), -2147220992) << c.name;
            EXPECT_EQ(error.source(), q(c.source)) << c.name;
            EXPECT_EQ(error.description(), q(c.description)) << c.name;
        }
        EXPECT_EQ(builder.ToString(), q("abc")) << c.name << ": a refused edit changes nothing";
    }
}

TEST(CStringBuilderTest, ReadingPastTheEndAfterRemove)
{
    CStringBuilder builder = holding("abc");
    builder.Insert(3, q("d")).Remove(1, 2);
    ASSERT_EQ(builder.ToString(), q("ad"));
    EXPECT_THROW(builder.Chars(2), AppError);
}

} // namespace
