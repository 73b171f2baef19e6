// Every file an export writes for its user is owner-only and is never written through a symbolic
// link planted where it goes: the link's target stays as it was and the refusal is reported once.

#include "core/AppInfo.h"
#include "core/DesktopOpener.h"
#include "core/FileDialogs.h"
#include "core/MessageBoxes.h"
#include "exports/MailMerge.h"
#include "exports/RecordsetFiles.h"
#include "exports/ReportFiles.h"
#include "exports/SpreadsheetExport.h"
#include "support/PromptRecorder.h"
#include "support/TestDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <functional>

#include <sys/stat.h>

namespace {

class AnswerDialogs final : public FileDialogs {
public:
    explicit AnswerDialogs(QString answer)
        : m_answer(std::move(answer))
    {
    }
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&, const QString&) override
    {
        return m_answer;
    }
    QString openFileName(QWidget*, const QString&, const QString&, const QString&) override { return {}; }

private:
    QString m_answer;
};

class OpenNothing final : public DesktopOpener {
public:
    bool open(const QUrl&) override { return true; }
};

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int modeOf(const QString& path)
{
    struct stat info { };
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return -1;
    return static_cast<int>(info.st_mode & 0777);
}

const char* const kItemsReport = R"(<?xml version="1.0"?>
<Report title="Items"><Column field="Item" caption="Item"/></Report>
)";

const QString kStatement = QStringLiteral("SELECT 'Knife' AS \"Item\", 12.5 AS \"Weight\"");

struct Writer {
    const char* name;
    // Where it writes, below the program folder.
    const char* file;
    std::function<bool(const QString& path)> write;
    // The data file is written through the text file routine, which asks before replacing.
    bool asksBeforeReplacing = false;
};

std::vector<Writer> writers()
{
    return {
        { "workbook", "Temp/Items.xlsx",
            [](const QString&) {
                return ExportToExcel(kStatement, QStringLiteral("Items"), { QStringLiteral("Items") });
            } },
        { "rowset XML", "Temp/Items.xml",
            [](const QString& path) {
                Dialogs::setFiles(std::make_unique<AnswerDialogs>(path));
                return SaveRecordsetAs(kStatement, static_cast<int>(RecordsetFormat::XML), QStringLiteral("Items"));
            } },
        { "rowset ADTG", "Temp/Items.adtg",
            [](const QString& path) {
                Dialogs::setFiles(std::make_unique<AnswerDialogs>(path));
                return SaveRecordsetAs(kStatement, static_cast<int>(RecordsetFormat::ADTG), QStringLiteral("Items"));
            } },
        { "mail-merge data", "Temp/Labels.txt", [](const QString& path) { return WriteTabData(kStatement, path); },
            true },
        { "report file", "Temp/Items.pdf",
            [](const QString& path) {
                return RenderReportToPdf(GetMainPath() + QStringLiteral("Reports/Items.rpt"), kStatement, path);
            } },
    };
}

class SafeExportFiles : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        Prompts().clear();
        Desktop::setOpener(std::make_unique<OpenNothing>());
        m_installed = true;
        QDir main(GetMainPath());
        ASSERT_TRUE(main.mkpath(QStringLiteral("Reports")) && main.mkpath(QStringLiteral("Temp")));
        QFile report(GetMainPath() + QStringLiteral("Reports/Items.rpt"));
        ASSERT_TRUE(report.open(QIODevice::WriteOnly));
        report.write(kItemsReport);
        report.close();
        QFile victim(victimPath());
        ASSERT_TRUE(victim.open(QIODevice::WriteOnly));
        victim.write("victim");
    }
    void TearDown() override
    {
        if (m_installed) {
            Dialogs::setFiles(nullptr);
            Desktop::setOpener(nullptr);
        }
        DatabaseTest::TearDown();
    }

    static QString victimPath() { return GetMainPath() + QStringLiteral("victim.txt"); }

    bool m_installed = false;
};

TEST_P(SafeExportFiles, APlantedLinkIsRefusedAndItsTargetLeftAlone)
{
    for (const Writer& writer : writers()) {
        SCOPED_TRACE(writer.name);
        const QString path = GetMainPath() + QString::fromUtf8(writer.file);
        QFile::remove(path);
        ASSERT_TRUE(QFile::link(victimPath(), path));
        Prompts().clear();
        if (writer.asksBeforeReplacing)
            Prompts().answer(MsgBox::Yes);

        EXPECT_FALSE(writer.write(path));

        EXPECT_EQ(readAll(victimPath()), QByteArray("victim"));
        EXPECT_TRUE(QFileInfo(path).isSymLink());
        ASSERT_FALSE(Prompts().boxes.empty());
        EXPECT_TRUE(Prompts().boxes.back().text.contains(QStringLiteral("symbolic link")))
            << Prompts().boxes.back().text.toStdString();
        QFile::remove(path);
    }
}

TEST_P(SafeExportFiles, WrittenFilesAreTheOwnersOnly)
{
    for (const Writer& writer : writers()) {
        SCOPED_TRACE(writer.name);
        const QString path = GetMainPath() + QString::fromUtf8(writer.file);
        QFile::remove(path);
        Prompts().clear();

        EXPECT_TRUE(writer.write(path));

        EXPECT_FALSE(readAll(path).isEmpty());
        EXPECT_EQ(modeOf(path), 0600);
        EXPECT_TRUE(Prompts().boxes.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, SafeExportFiles, ::testing::ValuesIn(TestEngines()), EngineTestName);

} // namespace
