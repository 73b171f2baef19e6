// The mail-merge, export and report entry points that windows and menus call, each called outside
// any action: a failure is reported once and returned, never thrown into the event loop.

#include "core/Actions.h"
#include "core/AppInfo.h"
#include "form_framework/CrystalReport.h"
#include "core/DesktopOpener.h"
#include "exports/Exports.h"
#include "core/FileDialogs.h"
#include "exports/MailMerge.h"
#include "support/PromptRecorder.h"
#include "exports/RecordsetFiles.h"
#include "exports/ReportFiles.h"
#include "exports/SpreadsheetExport.h"
#include "support/TestDatabase.h"
#include "core/Viewers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <functional>

namespace {

class NoPresenter final : public MergedDocumentPresenter {
public:
    void preview(std::unique_ptr<QTextDocument>, const QString&) override { ++shown; }
    void print(std::unique_ptr<QTextDocument>, const QString&) override { ++shown; }
    static inline int shown = 0;
};

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

class OpenAnything final : public DesktopOpener {
public:
    bool open(const QUrl&) override
    {
        ++opened;
        return true;
    }
    static inline int opened = 0;
};

const char* const kItemsReport = R"(<?xml version="1.0"?>
<Report title="Items"><Column field="Item" caption="Item"/></Report>
)";

struct EntryPoint {
    const char* name;
    // Runs the entry point with the statement; its result.
    std::function<bool(const QString& statement)> call;
    // What the one box it shows says, in part.
    const char* reported;
    // Whether a failing statement is what stops it once the folder is writable again (the report
    // viewer opener leaves the statement to the window it opens; the preview's file is still missing).
    bool stopsAtTheQuery = true;
};

// Temp/ (where the data files, workbooks and the test's output go) is a regular file here, so
// nothing can be written below it, not even by root.
class EntryPointsOutsideActions : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        Prompts().clear();
        NoPresenter::shown = 0;
        OpenAnything::opened = 0;
        m_presenter = SetMergedDocumentPresenter(std::make_unique<NoPresenter>());
        m_viewers = SetViewerWindows(nullptr);
        Desktop::setOpener(std::make_unique<OpenAnything>());
        m_installed = true;

        QDir main(GetMainPath());
        main.mkpath(QStringLiteral("Reports"));
        QFile::remove(TemplatePath(QStringLiteral("Sample Labels")));
        ASSERT_TRUE(QFile::copy(QStringLiteral(BRAMBLECOT_SOURCE_DIR "/program_files/Reports/Sample Labels.html"),
            TemplatePath(QStringLiteral("Sample Labels"))));
        QFile report(GetMainPath() + QStringLiteral("Reports/Items.rpt"));
        ASSERT_TRUE(report.open(QIODevice::WriteOnly));
        report.write(kItemsReport);
        report.close();

        ASSERT_TRUE(main.rename(QStringLiteral("Temp"), QStringLiteral("Temp.kept")));
        QFile blocker(GetMainPath() + QStringLiteral("Temp"));
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
        blocker.write("not a folder");
    }
    void TearDown() override
    {
        if (QFileInfo(GetMainPath() + QStringLiteral("Temp.kept")).isDir()) {
            QFile::remove(GetMainPath() + QStringLiteral("Temp"));
            QDir(GetMainPath()).rename(QStringLiteral("Temp.kept"), QStringLiteral("Temp"));
        }
        if (m_installed) {
            Dialogs::setFiles(nullptr);
            Desktop::setOpener(nullptr);
            SetViewerWindows(std::move(m_viewers));
            SetMergedDocumentPresenter(std::move(m_presenter));
        }
        DatabaseTest::TearDown();
    }

    static std::vector<EntryPoint> entryPoints()
    {
        const QString temp = GetMainPath() + QStringLiteral("Temp/");
        return {
            { "WordReport",
                [](const QString& sql) {
                    return WordReport(QStringLiteral("Sample Labels"), sql, QStringLiteral("Sample Labels"), true);
                },
                "File might be open" },
            { "WriteTabData",
                [temp](const QString& sql) { return WriteTabData(sql, temp + QStringLiteral("Labels.txt")); },
                "File might be open" },
            { "ExportToExcel",
                [](const QString& sql) {
                    return ExportToExcel(sql, QStringLiteral("Items"), { QStringLiteral("Items") });
                },
                "Unable to Export to Excel" },
            { "ExportToText", [](const QString& sql) { return ExportToText(sql, QStringLiteral("Items"), QString()); },
                "Unable to Export to Text" },
            { "SaveRecordsetAs XML",
                [temp](const QString& sql) {
                    Dialogs::setFiles(std::make_unique<AnswerDialogs>(temp + QStringLiteral("Items.xml")));
                    return SaveRecordsetAs(sql, static_cast<int>(RecordsetFormat::XML), QStringLiteral("Items"));
                },
                "Unable to Save Data As" },
            { "SaveRecordsetAs ADTG",
                [temp](const QString& sql) {
                    Dialogs::setFiles(std::make_unique<AnswerDialogs>(temp + QStringLiteral("Items.adtg")));
                    return SaveRecordsetAs(sql, static_cast<int>(RecordsetFormat::ADTG), QStringLiteral("Items"));
                },
                "Unable to Save Data As" },
            { "RenderReportToPdf",
                [temp](const QString& sql) {
                    return RenderReportToPdf(
                        GetMainPath() + QStringLiteral("Reports/Items.rpt"), sql, temp + QStringLiteral("Items.pdf"));
                },
                "Unable to Render Report" },
            { "ReportPreview::Act_ShowReport",
                [temp](const QString& sql) {
                    ReportPreview preview;
                    return preview.Act_ShowReport(temp + QStringLiteral("Items.rpt"), sql);
                },
                "Cannot read report", false },
            { "ShowCrystalReport",
                [](const QString& sql) { return ShowCrystalReport(QStringLiteral("../Temp/Items.rpt"), sql); },
                "Cannot find Crystal Report", false },
        };
    }

    // Calls the entry point outside any action: no exception, one box that says what was expected,
    // false, and the pointer back to the arrow.
    static void expectReportedOnce(const EntryPoint& entry, const QString& statement, const QString& reported)
    {
        SCOPED_TRACE(entry.name);
        Prompts().clear();
        ASSERT_TRUE(ActionStack().empty());
        bool result = true;
        try {
            result = entry.call(statement);
        } catch (const std::exception& error) {
            ADD_FAILURE() << "threw " << error.what();
        } catch (...) {
            ADD_FAILURE() << "threw";
        }
        EXPECT_FALSE(result);
        ASSERT_EQ(Prompts().boxes.size(), 1u);
        EXPECT_TRUE(Prompts().boxes.at(0).text.contains(reported)) << Prompts().boxes.at(0).text.toStdString();
        EXPECT_TRUE(ActionStack().empty());
        EXPECT_EQ(BusyPointerDepth(), 0);
    }

    bool m_installed = false;
    std::unique_ptr<MergedDocumentPresenter> m_presenter;
    std::unique_ptr<ViewerWindows> m_viewers;
};

TEST_P(EntryPointsOutsideActions, AnUnwritableFolderIsReportedOnceAndReturned)
{
    const QString statement = QStringLiteral(
        "SELECT 'Labels' AS \"Title\", 'C-0000000001' AS \"Code\", 'Knife' AS \"Name\", 'Knife' AS \"Item\"");
    for (const EntryPoint& entry : entryPoints())
        expectReportedOnce(entry, statement, QString::fromUtf8(entry.reported));
    EXPECT_EQ(NoPresenter::shown, 0);
    EXPECT_EQ(OpenAnything::opened, 0);
}

TEST_P(EntryPointsOutsideActions, AFailingQueryIsReportedOnceAndReturned)
{
    // With the folder back in place only the query fails.
    QFile::remove(GetMainPath() + QStringLiteral("Temp"));
    ASSERT_TRUE(QDir(GetMainPath()).rename(QStringLiteral("Temp.kept"), QStringLiteral("Temp")));
    for (const EntryPoint& entry : entryPoints()) {
        if (entry.stopsAtTheQuery)
            expectReportedOnce(entry, QStringLiteral("SELECT * FROM No_Such_Table"), QStringLiteral("No_Such_Table"));
    }
    ASSERT_TRUE(QDir(GetMainPath()).rename(QStringLiteral("Temp"), QStringLiteral("Temp.kept")));
}

INSTANTIATE_TEST_SUITE_P(Engines, EntryPointsOutsideActions, ::testing::ValuesIn(TestEngines()), EngineTestName);

} // namespace
