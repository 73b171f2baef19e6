#include "core/DatabaseList.h"
#include "exports/Exports.h"
#include "support/PromptRecorder.h"
#include "core/Recordset.h"
#include "core/SysInfo.h"
#include "support/RecordingViewers.h"
#include "support/TestDatabase.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <optional>

#include <gtest/gtest.h>

namespace {

const QRegularExpression kSignature(QStringLiteral("^Created on \\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d:\\d\\d (AM|PM) by \\S+$"));

TEST(ClipText, ValuesTakeTheFixedFormatsWhateverTheirColumnType)
{
    Recordset rs;
    rs.addResultSet({ { QStringLiteral("Id"), ColumnType::Integer }, { QStringLiteral("Price"), ColumnType::Currency },
                      { QStringLiteral("Ratio"), ColumnType::Double }, { QStringLiteral("Day"), ColumnType::Date },
                      { QStringLiteral("At"), ColumnType::DateTime }, { QStringLiteral("Ok"), ColumnType::Boolean },
                      { QStringLiteral("Name"), ColumnType::Text } });
    const QVariant row1[] = { 7, 1234567.5, 0.25, QDate(2024, 3, 5), QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)), true,
                              QStringLiteral("O'Neil") };
    for (int c = 0; c < 7; ++c)
        rs.appendValue(c, row1[c]);
    rs.finishRow();
    for (int c = 0; c < 7; ++c)
        rs.appendNull(c);
    rs.finishRow();
    rs.finishResultSet();
    EXPECT_EQ(ClipText(rs), QStringLiteral("7\t1234567.5\t0.25\t03/05/2024\t03/05/2024 02:07:09 PM\tTrue\tO'Neil\r\n"
                                           "\t\t\t\t\t\t\r\n"));
}

class Exports : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        Prompts().clear();
        m_viewers = m_installed.emplace().get();
    }

    void TearDown() override
    {
        m_installed.reset();
        m_viewers = nullptr;
        DatabaseTest::TearDown();
    }

    std::optional<RecordingViewers::Installed> m_installed;
    RecordingViewers* m_viewers = nullptr;
};

TEST_P(Exports, TheSignatureNamesTheTimeAndTheLogIn)
{
    const QString signature = ReportSignature();
    EXPECT_TRUE(kSignature.match(signature).hasMatch()) << signature.toStdString();
}

TEST_P(Exports, TextExportHasTheExactLayout)
{
    const QString statement = QStringLiteral("SELECT 1 AS \"N\", 'a' AS \"T\"\r\nUNION ALL\r\nSELECT 2, NULL");
    ExportToText(statement, QStringLiteral("Numbers"), QStringLiteral("Two of them"));
    ASSERT_TRUE(Prompts().boxes.empty()) << Prompts().boxes.at(0).text.toStdString();
    ASSERT_EQ(m_viewers->texts.size(), 1);
    QStringList lines = m_viewers->texts.at(0).split(QStringLiteral("\r\n"));
    ASSERT_GT(lines.size(), 3);
    EXPECT_TRUE(kSignature.match(lines.at(3)).hasMatch()) << lines.at(3).toStdString();
    lines[3] = QStringLiteral("<signature>");
    const QString expected = QStringLiteral("Numbers\r\nTwo of them\r\n\r\n<signature>\r\nDatabase: ") + DatabaseAt(CurrentDB())->DisplayName
        + QStringLiteral("\r\nQuery:\tSELECT 1 AS \"N\", 'a' AS \"T\"\r\n\tUNION ALL\r\n\tSELECT 2, NULL\r\n\r\n\r\n"
                         "N\tT\r\n1\ta\r\n2\t\r\n\r\n\r\n");
    EXPECT_EQ(lines.join(QStringLiteral("\r\n")), expected);
}

TEST_P(Exports, AResultSetWithoutRowsStillShowsItsFieldNames)
{
    ExportToText(QStringLiteral("SELECT 1 AS \"Only\" WHERE 1 = 0"), QStringLiteral("T"), QString());
    ASSERT_EQ(m_viewers->texts.size(), 1);
    EXPECT_TRUE(m_viewers->texts.at(0).endsWith(QStringLiteral("\r\n\r\n\r\nOnly\r\n\r\n\r\n")));
}

TEST_P(Exports, AFailingQueryShowsNothing)
{
    EXPECT_FALSE(ExportToText(QStringLiteral("SELECT * FROM No_Such_Table"), QStringLiteral("T"), QString()));
    EXPECT_TRUE(m_viewers->texts.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Engines, Exports, ::testing::ValuesIn(TestEngines()), EngineTestName);

// --- The system information program ----------------------------------------------------------

class RecordingStarter final : public ProcessStarter {
public:
    explicit RecordingStarter(QStringList& starts, bool succeed)
        : m_starts(starts)
        , m_succeed(succeed)
    {
    }
    bool startDetached(const QString& program, const QStringList&, const QString&) override
    {
        m_starts << program;
        return m_succeed;
    }

private:
    QStringList& m_starts;
    bool m_succeed;
};

class SystemInformation : public ::testing::Test {
protected:
    void SetUp() override
    {
        Prompts().clear();
        m_path = qgetenv("PATH");
        qputenv("PATH", m_bin.path().toLocal8Bit());
    }
    void TearDown() override
    {
        qputenv("PATH", m_path);
        Platform::setProcesses(nullptr);
    }
    void install(const QString& name)
    {
        QFile file(QDir(m_bin.path()).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n");
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    bool saidUnavailable() const
    {
        return Prompts().boxes.size() == 1 && Prompts().boxes.at(0).text == QStringLiteral("System Information Is Unavailable At This Time");
    }

    QTemporaryDir m_bin;
    QByteArray m_path;
    QStringList m_starts;
};

TEST_F(SystemInformation, TheDesktopsProgramIsStartedWhenInstalled)
{
    install(QStringLiteral("hardinfo"));
    install(QStringLiteral("kinfocenter"));
    Platform::setProcesses(std::make_unique<RecordingStarter>(m_starts, true));
    StartSysInfo();
    EXPECT_EQ(m_starts, QStringList { QDir(m_bin.path()).filePath(QStringLiteral("kinfocenter")) });
    EXPECT_TRUE(Prompts().boxes.empty());
}

TEST_F(SystemInformation, NoProgramOrAFailedStartSaysItIsUnavailable)
{
    Platform::setProcesses(std::make_unique<RecordingStarter>(m_starts, true));
    StartSysInfo();
    EXPECT_TRUE(m_starts.isEmpty());
    EXPECT_TRUE(saidUnavailable());

    Prompts().clear();
    install(QStringLiteral("hardinfo"));
    Platform::setProcesses(std::make_unique<RecordingStarter>(m_starts, false));
    StartSysInfo();
    EXPECT_EQ(m_starts.size(), 1);
    EXPECT_TRUE(saidUnavailable());
}

} // namespace
