#include "core/AppError.h"
#include "core/CommandParser.h"
#include "support/TestNames.h"

#include <gtest/gtest.h>

namespace {

bool knownProcedure(const QString& name)
{
    return name.compare(QLatin1String("usp_Known"), Qt::CaseInsensitive) == 0;
}

struct CallCase {
    const char* text;
    const char* procedure;
    std::vector<std::pair<const char*, QVariant>> arguments;
};

class AcceptedCalls : public ::testing::TestWithParam<CallCase> { };

TEST_P(AcceptedCalls, ParseIntoProcedureAndBoundValues)
{
    const CallCase& c = GetParam();
    const ParsedCommand command = ParseCommandText(QString::fromUtf8(c.text), knownProcedure);
    ASSERT_EQ(command.kind, ParsedCommand::Kind::Call);
    EXPECT_EQ(command.procedureName, QString::fromUtf8(c.procedure));
    ASSERT_EQ(command.arguments.size(), c.arguments.size());
    for (size_t i = 0; i < c.arguments.size(); ++i) {
        EXPECT_EQ(command.arguments[i].name, QString::fromUtf8(c.arguments[i].first));
        const QVariant& expected = c.arguments[i].second;
        const QVariant& actual = command.arguments[i].value;
        EXPECT_EQ(actual.isNull(), expected.isNull()) << c.text;
        if (!expected.isNull()) {
            EXPECT_EQ(actual.typeId(), expected.typeId()) << c.text;
            EXPECT_EQ(actual, expected) << c.text;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, AcceptedCalls,
    ::testing::Values(
        // The builders' shapes: a trailing blank after a call without parameters, ", " and ",\r\n".
        CallCase { "EXEC usp_Evd_Search_Items_All ", "usp_Evd_Search_Items_All", {} },
        CallCase { "exec usp_A @A = 1,\r\n@B = 'x'", "usp_A", { { "A", QVariant::fromValue(1LL) }, { "B", QString("x") } } },
        CallCase { "EXECUTE usp_A @A=-12.5, @B=NULL", "usp_A", { { "A", -12.5 }, { "B", QVariant() } } },
        CallCase { "EXEC usp_A @Name = 'O''Brien'", "usp_A", { { "Name", QString("O'Brien") } } },
        CallCase { "EXEC usp_A @Memo = 'line 1\r\nline 2'", "usp_A", { { "Memo", QString("line 1\r\nline 2") } } },
        CallCase { "EXEC usp_A @Empty = ''", "usp_A", { { "Empty", QString("") } } },
        CallCase { "EXEC dbo.usp_A @X = 0", "usp_A", { { "X", QVariant::fromValue(0LL) } } },
        CallCase { "usp_Known @X = 5;", "usp_Known", { { "X", QVariant::fromValue(5LL) } } },
        // Whole numbers keep every digit: up to 64 bits as a number, beyond that as their digits.
        CallCase { "EXEC usp_A @A = 9223372036854775807, @B = 99999999999999999999", "usp_A",
            { { "A", QVariant::fromValue(9223372036854775807LL) }, { "B", QString("99999999999999999999") } } },
        // Positional values come before any named pair and stay unnamed; the connection names
        // them from the procedure's declared order.
        CallCase { "EXEC usp_A 7", "usp_A", { { "", QVariant::fromValue(7LL) } } },
        CallCase { "EXEC usp_A -7", "usp_A", { { "", QVariant::fromValue(-7LL) } } },
        CallCase { "EXEC usp_A 'x''y'", "usp_A", { { "", QString("x'y") } } },
        CallCase { "EXEC usp_A 7, NULL, @C = 2", "usp_A",
            { { "", QVariant::fromValue(7LL) }, { "", QVariant() }, { "C", QVariant::fromValue(2LL) } } },
        // Text that looks like SQL inside a literal stays a value.
        CallCase { "EXEC usp_A @Name = '''; DROP TABLE Items; --'", "usp_A", { { "Name", QString("'; DROP TABLE Items; --") } } }),
    [](const ::testing::TestParamInfo<CallCase>& caseInfo) { return IndexedTestName(caseInfo.index, caseInfo.param.text); });

struct RefusedCase {
    const char* text;
    const char* message;
};

class RefusedCalls : public ::testing::TestWithParam<RefusedCase> { };

TEST_P(RefusedCalls, RaiseTheServersKindOfMessage)
{
    const RefusedCase& c = GetParam();
    try {
        ParseCommandText(QString::fromUtf8(c.text), knownProcedure);
        FAIL() << "accepted: " << c.text;
    } catch (const AppError& error) {
        EXPECT_EQ(error.number(), ErrProviderCommand);
        EXPECT_EQ(error.description(), QString::fromUtf8(c.message)) << c.text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, RefusedCalls,
    ::testing::Values(RefusedCase { "EXEC usp_A @Name = 'open", "Unclosed quotation mark after the character string 'open'." },
                      RefusedCase { "EXEC usp_A @A = 1, @a = 2", "Parameter '@a' was supplied multiple times." },
                      RefusedCase { "EXEC usp_A @A = 1; DELETE FROM Items", "Incorrect syntax near 'DELETE'." },
                      RefusedCase { "EXEC usp_A @A = 1 DELETE FROM Items", "Incorrect syntax near 'DELETE'." },
                      RefusedCase { "EXEC usp_A @A = (SELECT 1)", "Incorrect syntax near '('." },
                      RefusedCase { "EXEC usp_A @A = Items", "Incorrect syntax near 'Items'." },
                      RefusedCase { "EXEC usp_A A = 1", "Incorrect syntax near 'A'." },
                      RefusedCase { "EXEC usp_A @A 1", "Incorrect syntax near '1'." },
                      RefusedCase { "EXEC usp_A @A = 1,", "Incorrect syntax near ','." },
                      RefusedCase { "EXEC usp_A @A = 12abc", "Incorrect syntax near '12abc'." },
                      RefusedCase { "EXEC usp_A @A = 1, 7", "Incorrect syntax near '7'." },
                      RefusedCase { "EXEC usp_A 7 8", "Incorrect syntax near '8'." },
                      RefusedCase { "EXEC usp_A 7,", "Incorrect syntax near ','." },
                      RefusedCase { "EXEC usp_A 7; DELETE FROM Items", "Incorrect syntax near 'DELETE'." },
                      RefusedCase { "SELECT 1; SELECT 2", "Only one statement can be sent at a time." },
                      RefusedCase { "DELETE FROM T WHERE A = 'x'; DROP TABLE T", "Only one statement can be sent at a time." },
                      RefusedCase { "SELECT 'unterminated", "Unclosed quotation mark after the character string 'unterminated'." }),
    [](const ::testing::TestParamInfo<RefusedCase>& caseInfo) { return IndexedTestName(caseInfo.index, caseInfo.param.text); });

// Quoting the engines know: a ";" inside any of these is no statement end, and a second statement
// hidden behind a construct a simpler reader would misread is still found.
struct StatementCase {
    const char* text;
    const char* refusal; // nullptr: accepted as one statement
};

class StatementEnds : public ::testing::TestWithParam<StatementCase> { };

TEST_P(StatementEnds, OneStatementOrRefused)
{
    const StatementCase& c = GetParam();
    const QString text = QString::fromUtf8(c.text);
    if (!c.refusal) {
        const ParsedCommand command = ParseCommandText(text, knownProcedure);
        EXPECT_EQ(command.kind, ParsedCommand::Kind::Statement);
        return;
    }
    try {
        ParseCommandText(text, knownProcedure);
        FAIL() << "accepted: " << c.text;
    } catch (const AppError& error) {
        EXPECT_EQ(error.description(), QString::fromUtf8(c.refusal)) << c.text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Quoting, StatementEnds,
    ::testing::Values(
        StatementCase { "SELECT E'it\\'s; fine' AS X", nullptr },
        StatementCase { "SELECT e'\\\\'; DROP TABLE T", "Only one statement can be sent at a time." },
        StatementCase { "SELECT E'\\'; DROP TABLE T; --'", nullptr },
        StatementCase { "SELECT 'a\\'; DROP TABLE T; --'", "Only one statement can be sent at a time." },
        StatementCase { "SELECT NAME'x'", nullptr },
        StatementCase { "SELECT $$;$$ AS X", nullptr },
        StatementCase { "SELECT $fn$ ; $$ ; $fn$ AS X", nullptr },
        StatementCase { "SELECT $$'$$ = $$x$$; DROP TABLE T; --'", "Only one statement can be sent at a time." },
        StatementCase { "SELECT $tag$ open", "Unterminated dollar-quoted string at or near '$tag$'." },
        StatementCase { "SELECT A$B$ ; DROP TABLE T", "Only one statement can be sent at a time." },
        StatementCase { "SELECT $1; DROP TABLE T", "Only one statement can be sent at a time." },
        StatementCase { "SELECT 1 -- note\r; DROP TABLE T", "Only one statement can be sent at a time." },
        StatementCase { "SELECT 1 /* a /* b */ ; c */ AS X", nullptr },
        StatementCase { "SELECT 1 /* a /* b */ */ ; DROP TABLE T", "Only one statement can be sent at a time." },
        StatementCase { "SELECT 1 /* a /* b */", "Missing end comment mark '*/'." },
        StatementCase { "SELECT \"a;\"\"b\" FROM T", nullptr },
        StatementCase { "SELECT \"open", "Unclosed quoted name." },
        StatementCase { "SELECT E'open\\'", "Unclosed quotation mark after the character string 'open\\''." }),
    [](const ::testing::TestParamInfo<StatementCase>& caseInfo) { return IndexedTestName(caseInfo.index, caseInfo.param.text); });

TEST(PlainStatements, ANulCharacterIsRefused)
{
    const QString text = QStringLiteral("SELECT 'a") + QChar(0) + QStringLiteral("'; DROP TABLE T");
    EXPECT_THROW(ParseCommandText(text, knownProcedure), AppError);
}

TEST(PlainStatements, OneStatementPassesUnchangedWithoutItsFinalSemicolon)
{
    const ParsedCommand command = ParseCommandText(QStringLiteral("SELECT 'a;b' AS X -- c; d\r\n;  "), knownProcedure);
    ASSERT_EQ(command.kind, ParsedCommand::Kind::Statement);
    EXPECT_EQ(command.statement, QStringLiteral("SELECT 'a;b' AS X -- c; d\r\n"));
}

TEST(PlainStatements, AFirstWordThatIsNoProcedureIsAStatement)
{
    EXPECT_EQ(ParseCommandText(QStringLiteral("usp_Unknown"), knownProcedure).kind, ParsedCommand::Kind::Statement);
    EXPECT_EQ(ParseCommandText(QStringLiteral("USP_KNOWN"), knownProcedure).kind, ParsedCommand::Kind::Call);
}

} // namespace
