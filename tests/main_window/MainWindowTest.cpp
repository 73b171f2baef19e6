#include "core/Actions.h"
#include "core/AppInfo.h"
#include "form_framework/ChildWindows.h"
#include "form_framework/DataWindow.h"
#include "core/Database.h"
#include "core/DatabaseList.h"
#include "form_framework/FormRegistry.h"
#include "main_window/MainStartup.h"
#include "main_window/NavigatorPane.h"
#include "support/PromptRecorder.h"
#include "support/ShownTexts.h"
#include "core/Startup.h"
#include "core/RegistrySettings.h"
#include "core/Settings.h"
#include "support/TestDatabase.h"
#include "form_framework/WindowList.h"
#include "form_framework/WindowOpening.h"
#include "main_window/frmLogon.h"
#include "main_window/frmMain.h"
#include "administration/AdministrationWindows.h"
#include "form_framework/zFieldBase.h"
#include "declared_windows/DeclaredRecordWindow.h"
#include "form_framework/zInfo.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QStatusBar>
#include <QFile>
#include <QMdiArea>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

// A data window that records the commands that reach it; a record window with unsaved changes
// refuses to close when the save question is cancelled.
class ProbeWindow final : public DataWindow {
public:
    ProbeWindow(const QString& name, FormType type)
        : DataWindow(name)
    {
        info()->setFormType(type);
        info()->setFormCaption(name);
        setSizable(false);
        auto* populate = new QPushButton(QStringLiteral("Populate"), this);
        populate->setObjectName(QStringLiteral("btnPopulate"));
        QObject::connect(populate, &QPushButton::clicked, this, [this] { ++populated; });
        resize(300, 200);
    }
    void ProcessCommand(MainCommand command) override { commands << static_cast<int>(command); }
    QList<int> commands;
    int populated = 0;
};

const bool s_registered = [] {
    FormRegistry::registerForm(QStringLiteral("frmProbeRecord"), [] { return new ProbeWindow(QStringLiteral("frmProbeRecord"), FormType::Record); });
    FormRegistry::registerForm(QStringLiteral("frmProbeOther"), [] { return new ProbeWindow(QStringLiteral("frmProbeOther"), FormType::Other); });
    return true;
}();

void writeText(const QString& path, const QByteArray& text)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

class MainWindow : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        if (!m_database)
            return;
        Prompts().clear();
        writeText(GetMainPath() + QStringLiteral("menu.txt"), "Cases, _Cases\nNope, _Nope\n");
        frmMain::setInputBox({});
    }
    void TearDown() override
    {
        if (m_main) {
            // Children go without questions; the window itself then closes.
            for (QWidget* window : LoadedWindows()) {
                if (DataWindow* data = AsDataWindow(window))
                    data->info()->setDataChanged(false);
            }
            m_main->close();
            delete m_main.data();
        }
        DatabaseTest::TearDown();
    }
    // Logs on as the program does at start: trusted, as the operating-system user (SQLite: the
    // database's first administrator; PostgreSQL: peer log-on over the socket, where the test
    // cluster gives that user a role).
    void logOnTrusted()
    {
        ASSERT_EQ(OpenConnection(CurrentDB(), true, QString(), QString()), QString());
        ASSERT_TRUE(TrustedConnection());
    }
    frmMain* load()
    {
        m_main = new frmMain;
        m_main->Load();
        m_main->show();
        return m_main;
    }
    ProbeWindow* open(const QString& name)
    {
        auto* window = static_cast<ProbeWindow*>(ShowFormByName(name));
        window->bringToFront();
        QApplication::processEvents();
        return window;
    }
    QString setting(const QString& name)
    {
        QVariant value;
        return Act_GetSettingDB(name, value) ? value.toString() : QStringLiteral("<unread>");
    }
    QPointer<frmMain> m_main;
};

TEST_P(MainWindow, LayoutComesFromTheUsersSettings)
{
    ASSERT_TRUE(Act_SaveSettingDB(QStringLiteral("DB_Show_Toolbar"), false));
    ASSERT_TRUE(Act_SaveSettingDB(QStringLiteral("DB_Navigators_On_Left"), false));
    ASSERT_TRUE(Act_SaveSettingDB(QStringLiteral("DB_Show_GoTo_Navigator"), false));
    ASSERT_TRUE(Act_SaveSettingDB(QStringLiteral("DB_Navigators_Width"), 4500));
    frmMain* main = load();
    EXPECT_TRUE(MainWindowLoaded());
    EXPECT_FALSE(main->toolbar()->isVisible());
    EXPECT_TRUE(main->menuItem(QStringLiteral("mnuNavigatorRight"))->isChecked());
    EXPECT_FALSE(main->menuItem(QStringLiteral("mnuNavigatorLeft"))->isChecked());
    EXPECT_FALSE(main->navigators()->tree()->isVisible());
    EXPECT_TRUE(main->navigators()->openWindowsList()->isVisible());
    EXPECT_FALSE(main->navigators()->horizontalDivider()->isVisible());
    EXPECT_EQ(main->navigators()->widthTwips(), 4500);
    EXPECT_EQ(main->navigators()->verticalDividerLeft(), 0) << "a right pane has its divider on its left edge";
    const QString display = DatabaseAt(CurrentDB())->DisplayName;
    EXPECT_EQ(main->windowTitle(), ApplicationTitle() + QStringLiteral(" - Database: ") + display + QStringLiteral(" - User: ") + UserName());
    EXPECT_EQ(main->menu(QStringLiteral("mnuDatabase"))->title(), QStringLiteral("&Database (") + display + QStringLiteral(")"));
    EXPECT_TRUE(main->menuItem(QStringLiteral("mnuDBName1"))->isChecked());
    EXPECT_EQ(main->menuItem(QStringLiteral("mnuAbout"))->text(), QStringLiteral("&About ") + ApplicationTitle() + QStringLiteral("..."));
    EXPECT_FALSE(main->menuItem(QStringLiteral("mnuTest"))->isVisible());
    EXPECT_TRUE(Prompts().boxes.empty());
}

TEST_P(MainWindow, OptionItemsToggleAndAreSavedAtOnce)
{
    frmMain* main = load();
    QAction* left = main->menuItem(QStringLiteral("mnuNavigatorLeft"));
    ASSERT_TRUE(left->isChecked());
    left->trigger(); // choosing the checked side moves the pane to the other side
    EXPECT_TRUE(main->menuItem(QStringLiteral("mnuNavigatorRight"))->isChecked());
    EXPECT_EQ(setting(QStringLiteral("DB_Navigators_On_Left")), QStringLiteral("0"));
    main->menuItem(QStringLiteral("mnuShowGoTo"))->trigger();
    main->menuItem(QStringLiteral("mnuShowOpenWindows"))->trigger();
    EXPECT_FALSE(main->navigators()->isVisible()) << "both navigators hidden hide the pane";
    main->menuItem(QStringLiteral("mnuShowOpenWindows"))->trigger();
    EXPECT_TRUE(main->navigators()->isVisible());
    EXPECT_EQ(setting(QStringLiteral("DB_Show_GoTo_Navigator")), QStringLiteral("0"));
    EXPECT_EQ(setting(QStringLiteral("DB_Show_Open_Windows_Navigator")), QStringLiteral("1"));
}

TEST_P(MainWindow, CommandsGoToTheActiveChildByNumber)
{
    frmMain* main = load();
    main->ToolbarButtonClick(QStringLiteral("Save"));
    EXPECT_EQ(Prompts().beeps, 1) << "no child window: one beep";

    ProbeWindow* record = open(QStringLiteral("frmProbeRecord"));
    ProbeWindow* other = open(QStringLiteral("frmProbeOther"));
    ASSERT_EQ(main->activeChildWindow(), other);
    main->menuItem(QStringLiteral("mnuRecord2"))->trigger(); // Save
    main->menuItem(QStringLiteral("mnuXML"))->trigger();
    main->ToolbarButtonClick(QStringLiteral("Preview"));
    EXPECT_EQ(other->commands, (QList<int> { 7, 3, 10 }));

    record->bringToFront();
    QApplication::processEvents();
    ASSERT_EQ(main->activeChildWindow(), record);
    Prompts().clear();
    main->menuItem(QStringLiteral("mnuPrint"))->trigger();
    main->menuItem(QStringLiteral("mnuDelete"))->trigger(); // a record window beeps at Delete
    EXPECT_EQ(record->commands, QList<int> { 9 });
    EXPECT_EQ(Prompts().beeps, 1);
    EXPECT_TRUE(other->commands.size() == 3);

    main->mnuPopulate_Click();
    EXPECT_EQ(record->populated, 1);
}

TEST_P(MainWindow, MenuKeysOpenTablesToolsOrSayThereIsNoLogic)
{
    frmMain* main = load();
    main->RunMenuKey(QStringLiteral("Nope"));
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_EQ(Prompts().boxes[0].text, QStringLiteral("No associated logic for menu key <Nope> was found."));

    Prompts().clear();
    main->RunMenuKey(QStringLiteral("barcodes")); // keys ignore case; its window comes later
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_TRUE(Prompts().boxes[0].text.contains(QStringLiteral("<frmBarcodes>"))) << Prompts().boxes[0].text.toStdString();

    Prompts().clear();
    main->mnuUserInfo_Click();
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_TRUE(Prompts().boxes[0].text.contains(QStringLiteral("<frmUserInfo>")));
    EXPECT_FALSE(FormParams::contains(QStringLiteral("frmUserInfo"))) << "a failed opening leaves no queued parameters";

    Prompts().clear();
    main->RunMenuKey(QStringLiteral("NotAvailable"));
    EXPECT_TRUE(Prompts().boxes.empty());
}

// Exit, log-off and database switch stop at the first window that refuses; the windows that
// closed stay closed and the connection is untouched.
TEST_P(MainWindow, ClosingCommandsStopAtAChildThatRefuses)
{
    DatabaseEntry second = DBList().front();
    second.DisplayName = QStringLiteral("Other on nowhere");
    DBList().push_back(second);
    ASSERT_TRUE(Act_SaveSettingDB(QStringLiteral("DB_Prompt_Database_Switch"), false));
    frmMain* main = load();
    const QString caption = main->windowTitle();
    DatabaseConnection* connection = DBConnection();

    using Command = std::function<void()>;
    const std::vector<std::pair<const char*, Command>> commands {
        { "exit", [main] { main->close(); } },
        { "log-off", [main] { main->Logoff(); } },
        { "switch", [main] { main->SwitchDatabase(2); } },
        { "restart", [main] { main->Restart(); } },
    };
    for (const auto& [name, command] : commands) {
        ProbeWindow* refusing = open(QStringLiteral("frmProbeRecord"));
        refusing->info()->setDataChanged(true);
        QPointer<ProbeWindow> newer = open(QStringLiteral("frmProbeOther"));
        Prompts().clear();
        if (std::string(name) == "restart")
            Prompts().answer(MsgBox::Yes); // the restart question
        Prompts().answer(MsgBox::Cancel); // the unsaved-changes question
        command();
        QApplication::processEvents();
        EXPECT_TRUE(newer.isNull() || !LoadedWindows().contains(newer.data())) << name << ": the newer window closed first";
        EXPECT_TRUE(LoadedWindows().contains(refusing)) << name;
        EXPECT_TRUE(main->isVisible()) << name;
        EXPECT_EQ(DBConnection(), connection) << name;
        EXPECT_EQ(CurrentDB(), 1) << name;
        EXPECT_EQ(main->windowTitle(), caption) << name;
        refusing->info()->setDataChanged(false);
        refusing->frame()->close();
        QApplication::processEvents();
    }
}

TEST_P(MainWindow, SwitchingToTheCurrentDatabaseDoesNothing)
{
    frmMain* main = load();
    DatabaseConnection* connection = DBConnection();
    main->SwitchDatabase(1);
    EXPECT_TRUE(Prompts().boxes.empty()) << "not even the question";
    EXPECT_EQ(DBConnection(), connection);
}

TEST_P(MainWindow, TimeoutFromTheInputBox)
{
    frmMain* main = load();
    QString asked;
    frmMain::setInputBox([&asked](const QString& prompt, const QString&, const QString&) -> std::optional<QString> {
        asked = prompt;
        return QStringLiteral("-45");
    });
    main->SetQueryTimeout();
    EXPECT_EQ(asked, QStringLiteral("Input timeout for database ") + DatabaseAt(1)->DisplayName);
    EXPECT_EQ(DBConnection()->commandTimeout(), 45);
    EXPECT_EQ(main->menuItem(QStringLiteral("mnuTimeout"))->text(), QStringLiteral("&Timeout = 45 sec."));
    EXPECT_EQ(setting(QStringLiteral("DB_Query_Timeout")), QStringLiteral("45"));

    frmMain::setInputBox([](const QString&, const QString&, const QString&) -> std::optional<QString> { return QStringLiteral("99999"); });
    main->SetQueryTimeout();
    EXPECT_EQ(DBConnection()->commandTimeout(), 45);
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_EQ(Prompts().boxes[0].text, QStringLiteral("The timeout must be between 1 and 32767 seconds."));
}

// A colour saved in Database Options paints the main window's area at once, not at the next log-on.
TEST_P(MainWindow, ASavedBackgroundColourPaintsTheMainWindowAtOnce)
{
    RegisterAdministrationTableForms();
    frmMain* main = load();
    auto* area = main->findChild<QMdiArea*>();
    ASSERT_NE(area, nullptr);
    EXPECT_EQ(area->background().color(), QColor(0xC0, 0xC0, 0xC0)) << "a new database's 12632256";
    main->DBOptions();
    QApplication::processEvents();
    DeclaredRecordWindow* options = nullptr;
    for (QWidget* window : LoadedWindows())
        if (window->objectName() == QLatin1String("frmDBOptions"))
            options = qobject_cast<DeclaredRecordWindow*>(window);
    ASSERT_NE(options, nullptr);
    options->field(QStringLiteral("znumRGB"))->setValue(255);
    EXPECT_EQ(area->background().color(), QColor(0xC0, 0xC0, 0xC0)) << "typed, not yet saved";
    options->info()->SaveData(true);
    QApplication::processEvents();
    EXPECT_TRUE(Prompts().boxes.empty());
    EXPECT_EQ(area->background().color(), QColor(255, 0, 0));
}

// The input box and the status bar show their texts as written: a database's or a record's name
// is never read as markup.
TEST_P(MainWindow, TheInputBoxAndTheStatusBarShowPlainText)
{
    const QString name = DBList().front().DisplayName;
    DBList().front().DisplayName = QStringLiteral("<b>Evidence</b> on <Server>");
    frmMain* main = load();
    QString shown = QStringLiteral("<no box>");
    WhenDialogShown([&shown](QDialog* box) {
        if (auto* label = box->findChild<QLabel*>())
            shown = ShownText(label);
    });
    main->SetQueryTimeout(); // the desktop's input box, answered with Esc
    EXPECT_EQ(shown, QStringLiteral("Input timeout for database <b>Evidence</b> on <Server>"));

    const QString status = QStringLiteral("Saved <Table Permission> for <i>O'Neil</i>");
    main->setStatusText(status);
    auto* left = main->statusBar()->findChild<QLabel*>(QStringLiteral("Left"));
    ASSERT_NE(left, nullptr);
    EXPECT_EQ(ShownText(left), status);
    DBList().front().DisplayName = name;
}

// The Database menu shows the time-out the connection has, however it got it: the stored setting at
// log-on, or the one every OpenRecordset sets; and the prompt offers that same number.
TEST_P(MainWindow, TheTimeoutCaptionShowsTheTimeoutInForce)
{
    logOnTrusted();
    frmMain* main = load();
    QAction* caption = main->menuItem(QStringLiteral("mnuTimeout"));
    EXPECT_EQ(caption->text(), QStringLiteral("&Timeout = %1 sec.").arg(DBConnection()->commandTimeout()));

    // A window's load opens a recordset with its own, longer time-out.
    ASSERT_NE(OpenRecordset(QStringLiteral("SELECT 1 AS One"), false), nullptr);
    ASSERT_EQ(DBConnection()->commandTimeout(), 480);
    QMenu* database = main->menu(QStringLiteral("mnuDatabase"));
    database->popup(main->geometry().center());
    database->hide();
    EXPECT_EQ(caption->text(), QStringLiteral("&Timeout = 480 sec."));
    QString offered;
    frmMain::setInputBox([&offered](const QString&, const QString&, const QString& defaultText) -> std::optional<QString> {
        offered = defaultText;
        return std::nullopt;
    });
    main->SetQueryTimeout();
    EXPECT_EQ(offered, QStringLiteral("480"));
}

TEST_P(MainWindow, ChangePasswordIsRefusedForTheTrustedLogon)
{
    logOnTrusted();
    frmMain* main = load();
    main->ChangePassword();
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_EQ(Prompts().boxes[0].text, QStringLiteral("You cannot change your password since you connected using Trusted Connection."));
}

INSTANTIATE_TEST_SUITE_P(Engines, MainWindow, ::testing::ValuesIn(TestEngines()), EngineTestName);

// --- Pure layout and parsing rules ----------------------------------------------------------

TEST(Dividers, StayWithinTheirLimits)
{
    EXPECT_EQ(ClampHorizontalDivider(200, 9000), 1000);
    EXPECT_EQ(ClampHorizontalDivider(8800, 9000), 8000);
    EXPECT_EQ(ClampHorizontalDivider(4000, 9000), 4000);
    // Left pane: at least 1000, at most half the window (integer halving).
    EXPECT_EQ(ClampVerticalDivider(500, 3600, 15001, false), 1000);
    EXPECT_EQ(ClampVerticalDivider(9000, 3600, 15001, false), 7500);
    // Right pane: the width that results (pane width - left) obeys the same limits.
    EXPECT_EQ(ClampVerticalDivider(3000, 3600, 15000, true), 2600);
    EXPECT_EQ(ClampVerticalDivider(-9000, 3600, 15000, true), 3600 - 7500);
}

TEST(Timeout, EntriesAreRoundedMadePositiveAndBounded)
{
    const std::vector<std::pair<QString, int>> cases { { "-45", 45 }, { "0", 0 },  { "abc", 0 },   { "", 0 },
                                                      { "2.5", 2 },  { "3.5", 4 }, { "40000", -1 }, { " 30 ", 30 } };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(ParseTimeoutEntry(text), expected) << text.toStdString();
}

// --- Start-up -------------------------------------------------------------------------------

class StartupRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        Prompts().clear();
        Terminations() = {};
        m_saved = GetMainPath();
        SetMainPath(m_folder.path());
        QDir(m_folder.path()).mkpath(QStringLiteral("Errors"));
        QDir(m_folder.path()).mkpath(QStringLiteral("Data"));
        writeText(m_folder.filePath(QStringLiteral("menu.txt")), "Cases, _Cases\n");
        RegistrySettings::setValue(QStringLiteral("Options"), QStringLiteral("DBOnServer"), QString());
    }
    void TearDown() override
    {
        if (m_main) {
            m_main->close();
            delete m_main.data();
        }
        CloseConnection();
        DBList().clear();
        CurrentDB() = 0;
        SetMainPath(m_saved);
    }
    QTemporaryDir m_folder;
    QString m_saved;
    QPointer<frmMain> m_main;
};

TEST_F(StartupRun, FirstStartCreatesTheDatabaseAndLogsOnSilently)
{
    writeText(m_folder.filePath(QStringLiteral("Settings.xml")),
              "<Settings><Database><Server>(local)</Server><Database_Name>Fresh.db</Database_Name></Database>"
              "<Update_Location></Update_Location></Settings>");
    m_main = Main();
    ASSERT_NE(m_main, nullptr);
    EXPECT_TRUE(m_main->isMaximized());
    EXPECT_TRUE(QFile::exists(m_folder.filePath(QStringLiteral("Data/Fresh.db"))));
    EXPECT_TRUE(TrustedConnection());
    // The first administrator's record is complete: the start-up check opens nothing.
    EXPECT_TRUE(Prompts().boxes.empty());
    EXPECT_EQ(BusyPointerDepth(), 0);
    // A user whose record lacks a name is sent to it; a check that gives no value asks nothing.
    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("UPDATE DB_Users SET DB_First_Name = NULL")));
    EXPECT_TRUE(UserShouldCompleteRecord());
    DBConnection()->close();
    EXPECT_FALSE(UserShouldCompleteRecord());
}

TEST_F(StartupRun, FailedSilentLogonShowsTheLogonWindowWhoseExitEndsTheProgram)
{
    writeText(m_folder.filePath(QStringLiteral("Settings.xml")),
              "<Settings><Database><Server>(local)</Server><Database_Name>X.db</Database_Name><Engine>Oracle</Engine>"
              "</Database></Settings>");
    bool sawLogon = false;
    QTimer::singleShot(50, [&] {
        if (auto* logon = qobject_cast<frmLogon*>(QApplication::activeModalWidget())) {
            sawLogon = true;
            logon->btnExit->click();
        }
    });
    m_main = Main();
    EXPECT_TRUE(sawLogon);
    EXPECT_EQ(m_main, nullptr);
    EXPECT_EQ(Terminations().calls, 1);
    EXPECT_EQ(BusyPointerDepth(), 0);
}

// A workstation whose settings file cannot be used: the program says what is wrong with it, then
// offers the log-on window with no database listed; nothing crashes.
TEST_F(StartupRun, AnUnusableSettingsFileIsNamedAndTheLogonWindowListsNoDatabase)
{
    writeText(m_folder.filePath(QStringLiteral("Settings.xml")), "");
    Prompts().answer(MsgBox::Yes);
    Prompts().answer(MsgBox::Yes);
    int listed = -1;
    QTimer::singleShot(50, [&] {
        if (auto* logon = qobject_cast<frmLogon*>(QApplication::activeModalWidget())) {
            listed = logon->cboDatabase->count();
            logon->btnExit->click();
        }
    });
    m_main = Main();
    EXPECT_EQ(listed, 0) << "the log-on window was not shown, or listed a database";
    EXPECT_EQ(m_main, nullptr);
    ASSERT_FALSE(Prompts().boxes.empty());
    EXPECT_TRUE(Prompts().boxes.front().text.startsWith(QStringLiteral("Settings file is empty\r\nMessage: Settings file <")))
        << qPrintable(Prompts().boxes.front().text);
    EXPECT_EQ(BusyPointerDepth(), 0);
}

} // namespace
