// Where the menu keys lead. A key is a command of the main window, or the name of a table that
// DB_Tables knows, whose search window it opens; any other key says there is no logic for it. The
// shipped menu file is walked against a fresh database, so a misspelt key or a table whose DB_Tables
// row is missing fails here by name, and so does a table with a search window that the menu lacks.

#include "core/AppInfo.h"
#include "form_framework/ChildWindows.h"
#include "form_framework/DataWindow.h"
#include "core/Database.h"
#include "form_framework/FormRegistry.h"
#include "support/PromptRecorder.h"
#include "core/SqlText.h"
#include "support/TestDatabase.h"
#include "form_framework/WindowList.h"
#include "main_window/frmMain.h"
#include "form_framework/zInfo.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QPointer>
#include <QSet>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

namespace {

const QString kShippedMenu = QStringLiteral(BRAMBLECOT_SOURCE_DIR "/program_files/menu.txt");

QString noLogic(const QString& key)
{
    return QStringLiteral("No associated logic for menu key <") + key + QStringLiteral("> was found.");
}

class MenuKeys : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        Prompts().clear();
        const QString menu = GetMainPath() + QStringLiteral("menu.txt");
        QFile::remove(menu);
        ASSERT_TRUE(QFile::copy(kShippedMenu, menu));
        m_main = new frmMain;
        m_main->Load();
        m_main->show();
    }
    void TearDown() override
    {
        if (m_main) {
            for (QWidget* window : LoadedWindows()) {
                if (DataWindow* data = AsDataWindow(window))
                    data->info()->setDataChanged(false);
            }
            m_main->close();
            delete m_main.data();
        }
        DatabaseTest::TearDown();
    }

    // The keys of the Go To menu's entries that run (leaves the user can choose; greyed ones cannot).
    QStringList enabledKeys() const
    {
        QStringList keys;
        std::function<void(const QMenu*)> walk = [&](const QMenu* menu) {
            for (QAction* item : menu->actions()) {
                if (item->isSeparator())
                    continue;
                if (item->menu())
                    walk(item->menu());
                else if (item->isEnabled())
                    keys << item->objectName();
            }
        };
        walk(m_main->menu(QStringLiteral("mnuGoTo")));
        return keys;
    }

    QPointer<frmMain> m_main;
};

TEST_P(MenuKeys, EveryEntryOfTheShippedMenuIsACommandOrATableOfTheDatabase)
{
    const QStringList keys = enabledKeys();
    ASSERT_FALSE(keys.isEmpty()) << "the shipped menu was not loaded";
    QStringList unrouted;
    for (const QString& key : keys) {
        Prompts().clear();
        m_main->RunMenuKey(key);
        const bool noLogicShown = std::any_of(Prompts().boxes.begin(), Prompts().boxes.end(),
            [&key](const PromptRecorder::Box& box) { return box.text == noLogic(key); });
        if (noLogicShown)
            unrouted << key;
        UnloadAllForms();
    }
    EXPECT_TRUE(unrouted.isEmpty()) << "menu keys that are neither a command nor a table in DB_Tables: "
                                    << unrouted.join(QStringLiteral(", ")).toStdString();
}

TEST_P(MenuKeys, EveryTableWithASearchWindowHasAnEntryThatRuns)
{
    const QSet<QString> keys = [this] {
        QSet<QString> lower;
        for (const QString& key : enabledKeys())
            lower << key.toLower();
        return lower;
    }();
    std::unique_ptr<Recordset> tables = OpenRecordset(
        QStringLiteral("SELECT DB_Table_Name FROM DB_Tables WHERE Multiple_Records_DB_App_Form_ID IS NOT NULL"));
    ASSERT_TRUE(tables);
    ASSERT_GT(tables->recordCount(), 0);
    for (int row = 0; row < tables->recordCount(); ++row) {
        const QString table = tables->valueAt(row, 0).toString();
        EXPECT_TRUE(keys.contains(table.toLower()))
            << "table " << table.toStdString() << " has a search window but no entry of the shipped menu that runs";
    }
}

// A data window standing in for a table's search window.
class ProbeList final : public DataWindow {
public:
    ProbeList()
        : DataWindow(QStringLiteral("frmProbeThings"))
    {
        info()->setFormType(FormType::Other);
        info()->setFormCaption(QStringLiteral("Probe Things"));
        setSizable(false);
        resize(300, 200);
    }
};

TEST_P(MenuKeys, ATableAddedToTheDatabaseOpensFromItsKeyAndAnUnknownKeyHasNoLogic)
{
    FormRegistry::registerForm(QStringLiteral("frmProbeThings"), [] { return new ProbeList; });
    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral(
        "INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmProbeThings', 'Probe Things')")));
    ASSERT_TRUE(Act_ExecuteSQL(
        QStringLiteral("INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, "
                       "DB_Default_Permission, Multiple_Records_DB_App_Form_ID)\r\n"
                       "SELECT 'Probe_Things', 'Probe Things', 'Probe Thing', 'Probe_Thing_ID', 1, DB_App_Form_ID "
                       "FROM DB_App_Forms WHERE DB_App_Form_Name = 'frmProbeThings'")));

    m_main->RunMenuKey(QStringLiteral("probe_things")); // table names ignore case
    EXPECT_TRUE(Prompts().boxes.empty()) << Prompts().boxes.front().text.toStdString();
    const QList<QWidget*> windows = LoadedWindows();
    const bool opened = std::any_of(windows.begin(), windows.end(),
        [](QWidget* window) { return window->objectName() == QLatin1String("frmProbeThings"); });
    EXPECT_TRUE(opened) << "the table's search window did not open";

    // A key that is neither a command nor a table: a misspelt table, a window's name.
    for (const char* key : { "Probe_Thing", "frmProbeThings", "Case_Status" }) {
        SCOPED_TRACE(key);
        Prompts().clear();
        m_main->RunMenuKey(QString::fromLatin1(key));
        ASSERT_EQ(Prompts().boxes.size(), 1u);
        EXPECT_EQ(Prompts().boxes[0].text, noLogic(QString::fromLatin1(key)));
    }
}

// A table whose window is not there yet: the one message names the table when the database
// records no search window for it, and the window when one is recorded but not built.
TEST_P(MenuKeys, ATableWithoutItsWindowNamesWhatIsMissing)
{
    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES "
                                              "('frmProbeUnbuilt', 'Probe Unbuilt')")));
    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral(
        "INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, "
        "DB_Default_Permission) VALUES ('Probe_Windowless', 'Probe Windowless', 'Probe', 'Probe_ID', 1)")));
    ASSERT_TRUE(Act_ExecuteSQL(
        QStringLiteral("INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, "
                       "DB_Default_Permission, Multiple_Records_DB_App_Form_ID)\r\n"
                       "SELECT 'Probe_Unbuilt', 'Probe Unbuilt', 'Probe', 'Probe_ID', 1, DB_App_Form_ID "
                       "FROM DB_App_Forms WHERE DB_App_Form_Name = 'frmProbeUnbuilt'")));
    const struct {
        const char* key;
        const char* named;
    } cases[] = {
        { "Probe_Windowless", "No search window is registered for the table <Probe_Windowless>." },
        { "Probe_Unbuilt", "The window <frmProbeUnbuilt> is not available." },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        Prompts().clear();
        const qsizetype open = LoadedWindows().size();
        m_main->RunMenuKey(QString::fromLatin1(c.key));
        ASSERT_EQ(Prompts().boxes.size(), 1u);
        EXPECT_TRUE(Prompts().boxes[0].text.contains(QString::fromLatin1(c.named)))
            << Prompts().boxes[0].text.toStdString();
        EXPECT_EQ(LoadedWindows().size(), open);
    }
}

// The tool windows' keys ask for their own right before anything opens; a user without it gets
// the one refusal naming it.
TEST_P(MenuKeys, ToolKeysRefuseAUserWithoutTheRight)
{
    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("UPDATE DB_Users SET DB_Sys_Admin = 0")));
    const struct {
        const char* key;
        const char* refusal;
    } cases[] = {
        { "ReplaceText", "You are not permitted to execute action <Replace Text>." },
        { "RenameFiles", "You are not permitted to execute action <Rename Files>." },
        { "Rep_DB_Changes", "You are not permitted to run report <Database Changes>." },
        { "SQL2Excel", "You are not permitted to run report <Run SQL to Excel Report>." },
        { "CurrentActivity", "You are not permitted to View <" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        Prompts().clear();
        const qsizetype open = LoadedWindows().size();
        m_main->RunMenuKey(QString::fromLatin1(c.key));
        ASSERT_EQ(Prompts().boxes.size(), 1u);
        EXPECT_TRUE(Prompts().boxes[0].text.startsWith(QString::fromLatin1(c.refusal)))
            << Prompts().boxes[0].text.toStdString();
        EXPECT_EQ(LoadedWindows().size(), open);
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, MenuKeys, ::testing::ValuesIn(TestEngines()), EngineTestName);

} // namespace
