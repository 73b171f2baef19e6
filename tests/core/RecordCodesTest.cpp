#include "core/RecordCodes.h"

#include <gtest/gtest.h>

namespace {

TEST(RecordCodes, ReadTheCodeOfOneTableOnly)
{
    struct Case {
        const char* text;
        RecordCodeReading reading;
        int identity;
    } cases[] = {
        { "L-0000000042", RecordCodeReading::Identity, 42 },
        { "l-42", RecordCodeReading::Identity, 42 },
        { " L-2147483647 ", RecordCodeReading::Identity, 2147483647 },
        { "L-1", RecordCodeReading::Identity, 1 },
        { "L-2147483648", RecordCodeReading::Malformed, 0 },
        { "L-9999999999", RecordCodeReading::Malformed, 0 },
        { "L-99999999999", RecordCodeReading::Malformed, 0 },
        { "L-00000000042", RecordCodeReading::Malformed, 0 }, // eleven digits
        { "L-0", RecordCodeReading::Malformed, 0 },
        { "L-0000000000", RecordCodeReading::Malformed, 0 },
        { "L-", RecordCodeReading::Malformed, 0 },
        { "L-4 2", RecordCodeReading::Malformed, 0 },
        { "L- 42", RecordCodeReading::Malformed, 0 },
        { "L--42", RecordCodeReading::Malformed, 0 },
        { "L-+42", RecordCodeReading::Malformed, 0 },
        { "L-42x", RecordCodeReading::Malformed, 0 },
        { "L-0x2A", RecordCodeReading::Malformed, 0 },
        { "L-\xd9\xa4\xd9\xa2", RecordCodeReading::Malformed, 0 }, // Arabic-Indic digits 4 2
        { "C-42", RecordCodeReading::NotACode, 0 },
        { "L42", RecordCodeReading::NotACode, 0 },
        { "L", RecordCodeReading::NotACode, 0 },
        { "", RecordCodeReading::NotACode, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const RecordCode code = ReadRecordCode(QString::fromUtf8(c.text), QLatin1Char('L'));
        EXPECT_EQ(code.reading, c.reading);
        EXPECT_EQ(code.identity, c.identity);
    }
}

TEST(RecordCodes, ABareIdentityIsOneToTenDigitsOfAPositiveIdentity)
{
    struct Case {
        const char* text;
        std::optional<int> identity;
    } cases[] = {
        { "42", 42 },
        { " 42 ", 42 },
        { "0000000007", 7 },
        { "2147483647", 2147483647 },
        { "2147483648", std::nullopt },
        { "00000000007", std::nullopt },
        { "0", std::nullopt },
        { "-3", std::nullopt },
        { "+7", std::nullopt },
        { "4 2", std::nullopt },
        { "4.0", std::nullopt },
        { "", std::nullopt },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ReadIdentityNumber(QString::fromUtf8(c.text)), c.identity);
    }
}

TEST(RecordCodes, AFormedCodeIsTenDigitsAndReadsBackToItsIdentity)
{
    struct Case {
        int identity;
        const char* digits;
    } cases[] = {
        { 1, "0000000001" },
        { 42, "0000000042" },
        { 2147483647, "2147483647" },
    };
    for (const char prefix : { 'E', 'C', 'I', 'L', 'B', 'N' }) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(1, prefix) + " " + c.digits);
            const QString code = RecordCodeText(QLatin1Char(prefix), c.identity);
            EXPECT_EQ(code, QString(QLatin1Char(prefix)) + QLatin1Char('-') + QLatin1String(c.digits));
            const RecordCode read = ReadRecordCode(code, QLatin1Char(prefix));
            EXPECT_EQ(read.reading, RecordCodeReading::Identity);
            EXPECT_EQ(read.identity, c.identity);
        }
    }
}

} // namespace
