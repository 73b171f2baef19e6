#include "core/ErrorReport.h"
#include "core/Actions.h"
#include "core/AppError.h"
#include "core/AppInfo.h"
#include "core/Connection.h"
#include "core/Database.h"
#include "core/DatabaseList.h"
#include "support/PromptRecorder.h"
#include "support/TestDatabase.h"
#include "support/TestNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

const QString CRLF = QStringLiteral("\r\n");
const QString DialogEnd
    = QStringLiteral("\r\n\r\nWould you like to continue?\r\nYes - Continue\r\nNo - Abort application");
const char* const ProviderRecommendation
    = "Exit application. Restart application. If you have the same error restart computer. "
      "If you still have the same error contact System Administrator.";

std::string text(const QString& s) { return s.toStdString(); }

QString readLog()
{
    QFile file(ErrorLogFile());
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

// The full text as it stands in the log: after the file-name line, up to the respond line.
QString fullTextInLog(const QString& log)
{
    const qsizetype start = log.indexOf(QStringLiteral("Bramblecot File Name: "));
    const qsizetype afterName = log.indexOf(CRLF, start) + 2;
    return log.mid(afterName, log.indexOf(QStringLiteral("Respond: "), afterName) - afterName);
}

class ErrorReportTest : public testing::Test {
protected:
    void SetUp() override
    {
        Prompts().clear();
        ClearPendingError();
        Terminations() = {};
        Sleeps().clear();
        QFile::remove(ErrorLogFile());
    }
    void TearDown() override
    {
        ClearPendingError();
        QFile::remove(ErrorLogFile());
    }
};

struct StripCase {
    const char* input;
    const char* expected;
};

void PrintTo(const StripCase& c, std::ostream* os) { *os << '"' << c.input << '"'; }

class StripErrorPrefixTest : public testing::TestWithParam<StripCase> { };

TEST_P(StripErrorPrefixTest, KeepsWhatFollowsTheLastBracket)
{
    EXPECT_EQ(text(StripErrorPrefix(QString::fromUtf8(GetParam().input))), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(ErrorReport, StripErrorPrefixTest,
    testing::Values(StripCase { "[Engine][Driver]   Query timeout expired", "Query timeout expired" },
        StripCase { "[a] b ] c", "c" }, StripCase { "no bracket at all", "no bracket at all" },
        // Without a bracket nothing is trimmed, not even leading blanks.
        StripCase { "  padded", "  padded" }, StripCase { "ends with]", "" },
        // Only blanks are removed after the bracket; a tab is part of the message.
        StripCase { "[x]\tkept", "\tkept" }),
    [](const testing::TestParamInfo<StripCase>& caseInfo) { return IndexedTestName(caseInfo.index, caseInfo.param.input); });

struct MaskCase {
    const char* name;
    const char* sql;
    const char* expected;
};

void PrintTo(const MaskCase& c, std::ostream* os) { *os << c.sql; }

class MaskPasswordsTest : public testing::TestWithParam<MaskCase> { };

TEST_P(MaskPasswordsTest, HidesPasswordValuesOnly)
{
    EXPECT_EQ(text(MaskPasswords(QString::fromUtf8(GetParam().sql))), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(ErrorReport, MaskPasswordsTest,
    testing::Values(
        MaskCase { "SeveralParameters",
            "EXEC usp_DB_Change_Password @Login = 'bob', @OldPassword = 'it''s, old', @NewPassword = 'n3w'",
            "EXEC usp_DB_Change_Password @Login = 'bob', @OldPassword = '********', @NewPassword = '********'" },
        MaskCase { "AnyCaseNoBlanks", "EXEC usp_x @password='abc',@User_Name='ann'",
            "EXEC usp_x @password='********',@User_Name='ann'" },
        MaskCase { "LineEnds", "EXEC usp_x @Name = 'a',\r\n@PasswordHint = 'dog''s name'\r\n",
            "EXEC usp_x @Name = 'a',\r\n@PasswordHint = '********'\r\n" },
        MaskCase {
            "UnquotedValue", "EXEC usp_x @Password = NULL, @Id = 5", "EXEC usp_x @Password = '********', @Id = 5" },
        MaskCase { "EmptyString", "EXEC usp_x @Password = '', @Id = 5", "EXEC usp_x @Password = '********', @Id = 5" },
        MaskCase { "NoPasswordParameter", "SELECT Password_Hash FROM DB_Logins WHERE Login_Name = 'Password'",
            "SELECT Password_Hash FROM DB_Logins WHERE Login_Name = 'Password'" }),
    [](const testing::TestParamInfo<MaskCase>& caseInfo) { return std::string(caseInfo.param.name); });

TEST_F(ErrorReportTest, BuildsTheFullAndTheDialogTextWithEveryPart)
{
    SetPendingError(
        AppError(ErrProviderFailure, QStringLiteral("[Engine][Driver] Connection lost"), QStringLiteral("Engine")));
    Prompts().answer(MsgBox::Yes);
    ShowError(QStringLiteral("SELECT * FROM Items"),
        QStringLiteral("Make sure you open stored procedures Forward Only."),
        QStringLiteral("modFunction::OpenRecordset"));

    ASSERT_EQ(Prompts().boxes.size(), 1u);
    const PromptRecorder::Box& box = Prompts().boxes[0];
    EXPECT_EQ(text(box.text),
        text(QStringLiteral("Connection lost\r\nMessage: Make sure you open stored procedures Forward Only.\r\n"
                            "Recommendation: ")
            + QString::fromUtf8(ProviderRecommendation) + DialogEnd));
    EXPECT_EQ(box.style, 52);
    EXPECT_EQ(text(box.title), "Error: -2147467259");

    EXPECT_EQ(text(fullTextInLog(readLog())),
        text(QStringLiteral("VB Error.\r\nNumber: -2147467259\r\nDescription: Connection lost\r\n"
                            "SQL String: SELECT * FROM Items\r\n"
                            "Message: Make sure you open stored procedures Forward Only.\r\nSource: Engine\r\n"
                            "Procedure: Bramblecot_Main::modFunction::OpenRecordset\r\nRecommendation: ")
            + QString::fromUtf8(ProviderRecommendation) + CRLF));
}

TEST_F(ErrorReportTest, LeavesOutEmptyPartsAndUnknownRecommendations)
{
    SetPendingError(
        AppError(ErrToReport, QStringLiteral("Cannot find Settings file"), QStringLiteral("Bramblecot_Main")));
    Prompts().answer(MsgBox::Yes);
    ShowError(QString(), QString(), QString());

    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_EQ(text(Prompts().boxes[0].text), text(QStringLiteral("Cannot find Settings file") + DialogEnd));
    EXPECT_EQ(text(fullTextInLog(readLog())),
        "VB Error.\r\nNumber: -2147220504\r\nDescription: Cannot find Settings file\r\nSource: Bramblecot_Main\r\n");
}

struct RecommendationCase {
    const char* name;
    qint32 number;
    const char* recommendation;
};

void PrintTo(const RecommendationCase& c, std::ostream* os) { *os << c.number; }

class RecommendationTest : public ErrorReportTest, public testing::WithParamInterface<RecommendationCase> { };

TEST_P(RecommendationTest, AppearsInBothTexts)
{
    SetPendingError(AppError(GetParam().number, QStringLiteral("failed"), QStringLiteral("src")));
    Prompts().answer(MsgBox::Yes);
    ShowError(QString(), QString(), QString());

    const QString line = QStringLiteral("Recommendation: ") + QString::fromUtf8(GetParam().recommendation);
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_EQ(text(Prompts().boxes[0].text), text(QStringLiteral("failed\r\n") + line + DialogEnd));
    EXPECT_TRUE(fullTextInLog(readLog()).endsWith(QStringLiteral("Source: src\r\n") + line + CRLF)) << text(readLog());
}

INSTANTIATE_TEST_SUITE_P(ErrorReport, RecommendationTest,
    testing::Values(RecommendationCase { "ProviderFailure", ErrProviderFailure, ProviderRecommendation },
        RecommendationCase {
            "ComponentNotCreatable", ErrComponentNotCreatable, "Make sure ADO 2.5 installed on your station." }),
    [](const testing::TestParamInfo<RecommendationCase>& caseInfo) { return std::string(caseInfo.param.name); });

struct AnswerCase {
    int answer;
    const char* respond;
    int terminations;
    bool pendingLeft;
};

void PrintTo(const AnswerCase& c, std::ostream* os) { *os << c.respond; }

class AnswerTest : public ErrorReportTest, public testing::WithParamInterface<AnswerCase> { };

TEST_P(AnswerTest, LogsTheAnswerAndEndsOnlyOnNo)
{
    SetPendingError(AppError(ErrToReport, QStringLiteral("Recordset is closed"), QStringLiteral("Bramblecot_Main")));
    Prompts().answer(GetParam().answer);
    ShowError(QStringLiteral("SELECT 1"), QString(), QStringLiteral("modFunction::OpenRecordset"));

    const QString log = readLog();
    EXPECT_TRUE(
        log.endsWith(QStringLiteral("Respond: ") + QString::fromUtf8(GetParam().respond) + QStringLiteral("\r\n\r\n")))
        << text(log);
    EXPECT_EQ(Terminations().calls, GetParam().terminations);
    // On No the program has ended already; on Yes the caller carries on with the failure consumed.
    EXPECT_EQ(PendingError().has_value(), GetParam().pendingLeft);
}

INSTANTIATE_TEST_SUITE_P(ErrorReport, AnswerTest,
    testing::Values(AnswerCase { MsgBox::Yes, "Continue", 0, false }, AnswerCase { MsgBox::No, "Abort", 1, true }),
    PrintedTestName<AnswerCase>);

TEST_F(ErrorReportTest, PasswordsNeverReachTheLog)
{
    SetPendingError(
        AppError(ErrProviderCommand, QStringLiteral("password authentication failed"), QStringLiteral("Engine")));
    Prompts().answer(MsgBox::Yes);
    ShowError(QStringLiteral("EXEC usp_DB_Change_Password @OldPassword = 'Hunter2', @NewPassword = 'Tr0ub4dor'"),
        QString(), QStringLiteral("modFunction::OpenRecordset"));

    const QString log = readLog();
    EXPECT_TRUE(log.contains(QStringLiteral("SQL String: EXEC usp_DB_Change_Password @OldPassword = '********', "
                                            "@NewPassword = '********'\r\n")))
        << text(log);
    EXPECT_FALSE(log.contains(QStringLiteral("Hunter2")));
    EXPECT_FALSE(log.contains(QStringLiteral("Tr0ub4dor")));
}

TEST_F(ErrorReportTest, LogBlocksHaveTheirLinesInOrderAndABlankLineBetween)
{
    WriteErrorLog(MsgBox::Yes, QStringLiteral("VB Error.\r\nNumber: 1\r\n"));
    DBList().push_back({ QStringLiteral("evidence.db on (local)"), QStringLiteral("evidence.db"),
        QStringLiteral("(local)"), QString() });
    CurrentDB() = static_cast<int>(DBList().size());
    WriteErrorLog(MsgBox::No, QStringLiteral("VB Error.\r\nNumber: 2\r\n"));
    DBList().pop_back();
    CurrentDB() = 0;

    const QString log = readLog();
    ASSERT_TRUE(log.endsWith(QStringLiteral("\r\n\r\n"))) << text(log);
    const QStringList blocks = log.left(log.size() - 4).split(QStringLiteral("\r\n\r\n"));
    ASSERT_EQ(blocks.size(), 2) << text(log);

    const QString dateTime = QStringLiteral("Date/Time: \\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d:\\d\\d (AM|PM)");
    const QString tail = QStringLiteral("Bramblecot Version: ") + QRegularExpression::escape(GetVersionText())
        + QStringLiteral("\r\nBramblecot File Name: core_tests\r\nVB Error.\r\n");
    // Without a chosen database the Database line is left out and the block goes on.
    const QRegularExpression first(QStringLiteral("^User: ") + QRegularExpression::escape(UserName())
        + QStringLiteral("\r\nHost: ") + QRegularExpression::escape(HostName()) + CRLF + dateTime + CRLF + tail
        + QStringLiteral("Number: 1\r\nRespond: Continue$"));
    const QRegularExpression second(
        QStringLiteral("^User: .*\r\nHost: .*\r\nDatabase: evidence\\.db on \\(local\\)\r\n") + dateTime + CRLF + tail
        + QStringLiteral("Number: 2\r\nRespond: Abort$"));
    EXPECT_TRUE(first.match(blocks[0]).hasMatch()) << text(blocks[0]);
    EXPECT_TRUE(second.match(blocks[1]).hasMatch()) << text(blocks[1]);
}

TEST_F(ErrorReportTest, MissingErrorsFolderIsRetriedThenReportedInItsOwnBox)
{
    const QString savedMainPath = GetMainPath();
    QTemporaryDir withoutErrors;
    ASSERT_TRUE(withoutErrors.isValid());
    SetMainPath(withoutErrors.path());
    const QString path = ErrorLogFile();

    SetPendingError(AppError(ErrToReport, QStringLiteral("Recordset is closed"), QStringLiteral("Bramblecot_Main")));
    Prompts().answer(MsgBox::Yes);
    ShowError(QString(), QString(), QStringLiteral("modFunction::OpenRecordset"));
    SetMainPath(savedMainPath);

    EXPECT_EQ(Sleeps(), std::vector<int>({ 500, 500, 500, 500 }));
    ASSERT_EQ(Prompts().boxes.size(), 2u);
    const PromptRecorder::Box& box = Prompts().boxes[1];
    EXPECT_EQ(text(box.text), text(QStringLiteral("Cannot save to Error Log. Cannot open file ") + path));
    EXPECT_EQ(box.style, MsgBox::OKOnly | MsgBox::Critical);
    EXPECT_EQ(text(box.title), "Cannot save to Error Log");
    EXPECT_FALSE(QDir(withoutErrors.path()).exists(QStringLiteral("Errors")));
    // The program goes on as the user chose.
    EXPECT_EQ(Terminations().calls, 0);
    EXPECT_FALSE(PendingError().has_value());
}

// A link planted where the log goes is not written through, and the box says why, at once.
TEST_F(ErrorReportTest, AnErrorLogThatIsASymbolicLinkIsRefusedAndNamedSo)
{
    const QString savedMainPath = GetMainPath();
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("Errors")));
    SetMainPath(folder.path());
    const QString path = ErrorLogFile();
    const QString target = folder.filePath(QStringLiteral("elsewhere.txt"));
    ASSERT_TRUE(QFile::link(target, path));

    WriteErrorLog(MsgBox::Yes, QStringLiteral("VB Error.\r\nNumber: 1\r\n"));
    SetMainPath(savedMainPath);

    EXPECT_TRUE(Sleeps().empty()) << "a link is not waited for";
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_EQ(text(Prompts().boxes[0].text),
        text(QStringLiteral("Cannot save to Error Log. Cannot open file ") + path
            + QStringLiteral(": it is a symbolic link.")));
    EXPECT_FALSE(QFileInfo::exists(target)) << "nothing was written through the link";
}

// Provider errors and the command timeout live on the connection.
class ErrorDialogWithConnection : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        Prompts().clear();
        ClearPendingError();
        QFile::remove(ErrorLogFile());
    }
    void TearDown() override
    {
        ClearPendingError();
        QFile::remove(ErrorLogFile());
        DatabaseTest::TearDown();
    }
};

TEST_P(ErrorDialogWithConnection, NumbersEveryProviderErrorAndShowsTheTimeout)
{
    DBConnection()->setCommandTimeout(480);
    DBConnection()->providerErrors() = {
        { QStringLiteral("57014"), QStringLiteral("[Engine] canceling statement"), QStringLiteral("Engine"),
            QStringLiteral("57014") },
        { QStringLiteral("2"), QStringLiteral("second problem"), QStringLiteral("Engine"), QString() },
        { QStringLiteral("3"), QStringLiteral("third problem"), QStringLiteral("Engine"), QStringLiteral("HY000") },
    };
    SetPendingError(
        AppError(ErrQueryTimeout, QStringLiteral("[Engine] Query timeout expired"), QStringLiteral("Engine")));
    Prompts().answer(MsgBox::Yes);
    ShowError(QStringLiteral("SELECT 1"), QString(), QStringLiteral("modFunction::OpenRecordset"));

    const QString recommendation = QStringLiteral("Recommendation: Continue application. Your current Timeout for DB = "
                                                  "480 sec. You may change it in menu <Database>.");
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_EQ(text(Prompts().boxes[0].text),
        text(QStringLiteral("1. Query timeout expired\r\n") + recommendation
            + QStringLiteral("\r\n2. second problem\r\n3. third problem") + DialogEnd));
    EXPECT_TRUE(fullTextInLog(readLog()).endsWith(recommendation
        + QStringLiteral("\r\n\r\n"
                         "ADO Error 1.\r\nNumber: 57014\r\nDescription: [Engine] canceling statement\r\n"
                         "Source: Engine\r\nSQL State: 57014\r\n\r\n"
                         "ADO Error 2.\r\nNumber: 2\r\nDescription: second problem\r\nSource: Engine\r\n"
                         "SQL State: \r\n\r\n"
                         "ADO Error 3.\r\nNumber: 3\r\nDescription: third problem\r\nSource: Engine\r\n"
                         "SQL State: HY000\r\n\r\n")))
        << text(readLog());
    EXPECT_TRUE(DBConnection()->providerErrors().empty());
}

INSTANTIATE_TEST_SUITE_P(ErrorReport, ErrorDialogWithConnection, testing::ValuesIn(TestEngines()), EngineTestName);

} // namespace
