// The windows of the framework tables over a fresh database: what the clerk types, what is
// refused and in which order, what the searches send, and the options and file update windows.

#include "../reference_tables/ReferenceFixture.h"

#include "administration/AdministrationWindows.h"
#include "core/Database.h"
#include "core/Settings.h"
#include "form_framework/WindowList.h"
#include "form_framework/zButtonsAddEdit.h"
#include "form_framework/zFieldBase.h"
#include "form_framework/zInfo.h"
#include "list_controls/zComboBoxText.h"
#include "list_controls/zListView.h"
#include "declared_windows/DeclaredRecordWindow.h"
#include "declared_windows/DeclaredSearchWindow.h"
#include "support/PromptRecorder.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class AdministrationWindows : public ReferenceTest {
protected:
    void SetUp() override
    {
        ReferenceTest::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        RegisterAdministrationTableForms();
    }

    int addUser(const QString& name)
    {
        return insert(QStringLiteral("INSERT INTO DB_Users (DB_User_Name, DB_Last_Name, DB_First_Name, DB_Sys_Admin) "
                                     "VALUES ('%1', 'Last', 'First', 0) RETURNING DB_User_ID")
                          .arg(name));
    }
    int idOf(const QString& sql) { return count(sql); }
};

TEST_P(AdministrationWindows, RecordWindowsRefuseInTheDeclaredOrder)
{
    addUser(QStringLiteral("carla"));
    const struct {
        const char* window;
        std::vector<std::pair<const char*, const char*>> typed;
        const char* message;
    } cases[] = {
        { "frmTablePermission", {}, "User is a required field." },
        { "frmTablePermission", { { "zcbtUser", "carla" } }, "Table is a required field." },
        { "frmTable", {}, "Table Name is a required field." },
        { "frmTable", { { "ztxtTableName", "db_users" }, { "ztxtTableGoodName", "U" }, { "ztxtRecordGoodName", "U" } },
            "Table with Table Name <db_users> already exists in the database." },
        { "frmUser", {}, "System Name is a required field." },
        { "frmUser", { { "ztxtSysName", "CARLA" }, { "ztxtLastName", "L" }, { "ztxtFirstName", "F" } },
            "User with System Name <CARLA> already exists in the database." },
        { "frmReport", { { "ztxtName", "Something new" }, { "ztxtCode", "alltables" } },
            "Report with Report Code <alltables> already exists in the database." },
        { "frmDBAction", { { "ztxtName", "Only a name" } }, "Action Code is a required field." },
    };
    for (const auto& c : cases) {
        DeclaredRecordWindow* window = openNew(QString::fromLatin1(c.window));
        ASSERT_NE(window, nullptr) << c.window;
        for (const auto& [control, text] : c.typed)
            type(window->field(QString::fromLatin1(control)), QString::fromLatin1(text));
        EXPECT_EQ(save(window), QString::fromLatin1(c.message)) << c.window;
        window->info()->setDataChanged(false);
        UnloadWindow(window);
    }
}

// The only employee of the database is not linked to a new user by itself: the link is optional.
TEST_P(AdministrationWindows, ANewUserIsLinkedToNoEmployeeUntilOneIsChosen)
{
    const int person = insert(
        QStringLiteral("INSERT INTO People (First_Name, Last_Name) VALUES ('John', 'Smith') RETURNING Person_ID"));
    const int employee = insert(
        QStringLiteral("INSERT INTO Employees (Person_ID, Payroll_Number) VALUES (%1, 'P-1') RETURNING Employee_ID")
            .arg(person));
    DeclaredRecordWindow* window = openNew(QStringLiteral("frmUser"));
    ASSERT_NE(window, nullptr);
    zFieldBase* picker = window->field(QStringLiteral("zcbtEmployee"));
    EXPECT_LE(picker->Value().toInt(), 0);
    for (const auto& [control, text] : { std::pair { "ztxtSysName", "dana" }, std::pair { "ztxtLastName", "Doe" },
             std::pair { "ztxtFirstName", "Dana" } })
        type(window->field(QString::fromLatin1(control)), QString::fromLatin1(text));
    EXPECT_EQ(save(window), QString());
    EXPECT_EQ(
        count(QStringLiteral("SELECT COUNT(*) FROM DB_Users WHERE DB_User_Name = 'dana' AND Employee_ID IS NULL")), 1);
    window->info()->setDataChanged(false);
    UnloadWindow(window);

    // The clerk's own choice is stored.
    window = openNew(QStringLiteral("frmUser"));
    ASSERT_NE(window, nullptr);
    for (const auto& [control, text] : { std::pair { "ztxtSysName", "erin" }, std::pair { "ztxtLastName", "Roe" },
             std::pair { "ztxtFirstName", "Erin" } })
        type(window->field(QString::fromLatin1(control)), QString::fromLatin1(text));
    window->field(QStringLiteral("zcbtEmployee"))->setValue(employee);
    EXPECT_EQ(save(window), QString());
    EXPECT_EQ(count(QStringLiteral("SELECT Employee_ID FROM DB_Users WHERE DB_User_Name = 'erin'")), employee);
}

TEST_P(AdministrationWindows, NewRecordsStartWithTheirDeclaredTicks)
{
    const struct {
        const char* window;
        const char* box;
        bool ticked;
    } cases[] = {
        { "frmActionPermission", "zchkPermission", true },
        { "frmTablePermission", "zchkPermission", true },
        { "frmDBAction", "zchkDefault", true },
        { "frmReport", "zchkDefault", true },
        { "frmTable", "zchkTDAA", false },
        { "frmUser", "zchkSysAdmin", false },
        { "frmFileUpdate", "zchkUpdateOnStart", true },
    };
    for (const auto& c : cases) {
        DeclaredRecordWindow* window = openNew(QString::fromLatin1(c.window));
        ASSERT_NE(window, nullptr) << c.window;
        EXPECT_EQ(window->field(QString::fromLatin1(c.box))->Value().toBool(), c.ticked) << c.window;
        UnloadWindow(window);
    }
}

TEST_P(AdministrationWindows, ATablePermissionSavesAndAsecondOfTheSameCombinationIsRefused)
{
    addUser(QStringLiteral("dora"));
    for (int attempt = 0; attempt < 2; ++attempt) {
        DeclaredRecordWindow* window = openNew(QStringLiteral("frmTablePermission"));
        ASSERT_NE(window, nullptr);
        type(window->field(QStringLiteral("zcbtUser")), QStringLiteral("dora"));
        type(window->field(QStringLiteral("zcbtTable")), QStringLiteral("DB_Users"));
        type(window->field(QStringLiteral("zcbtTableAction")), QStringLiteral("Delete"));
        const QString message = save(window);
        if (attempt == 0)
            EXPECT_EQ(message, QString());
        else
            EXPECT_TRUE(message.startsWith(QStringLiteral("Combination of User <"))
                && message.contains(QStringLiteral("already exists in the database.")))
                << message.toStdString();
        window->info()->setDataChanged(false);
        UnloadWindow(window);
    }
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM DB_Table_Permissions p JOIN DB_Users u ON u.DB_User_ID = "
                                   "p.DB_User_ID WHERE u.DB_User_Name = 'dora' AND p.DB_Permission = 1")),
        1);
}

TEST_P(AdministrationWindows, ATableActionNotInTheListIsRefusedNotOffered)
{
    addUser(QStringLiteral("erin"));
    DeclaredRecordWindow* window = openNew(QStringLiteral("frmTablePermission"));
    ASSERT_NE(window, nullptr);
    type(window->field(QStringLiteral("zcbtUser")), QStringLiteral("erin"));
    type(window->field(QStringLiteral("zcbtTable")), QStringLiteral("DB_Users"));
    type(window->field(QStringLiteral("zcbtTableAction")), QStringLiteral("Archive"));
    EXPECT_EQ(save(window), QStringLiteral("Table Action should match an item in the list."));
    window->info()->setDataChanged(false);
}

// The table pickers of the permission windows show tables by the names shown everywhere else,
// take those names and the internal ones typed, and never offer to add a table.
TEST_P(AdministrationWindows, TablePickersTakeTheShownNamesAndOfferNoNewTable)
{
    const int itemActions = idOf(QStringLiteral("SELECT DB_Table_ID FROM DB_Tables WHERE DB_Table_Name = 'Item_Actions'"));
    ASSERT_GT(itemActions, 0);
    DeclaredRecordWindow* record = openNew(QStringLiteral("frmTablePermission"));
    ASSERT_NE(record, nullptr);
    DeclaredSearchWindow* search = openSearch(QStringLiteral("frmTablePermissions"));
    ASSERT_NE(search, nullptr);
    const struct {
        QWidget* window;
        zFieldBase* picker;
    } pickers[] = { { record, record->field(QStringLiteral("zcbtTable")) }, { search, search->criteria().at(1) } };
    for (const auto& p : pickers) {
        SCOPED_TRACE(p.window->objectName().toStdString());
        ASSERT_NE(p.picker, nullptr);
        // Typing goes to the active window.
        QApplication::setActiveWindow(p.window);
        auto* box = qobject_cast<QComboBox*>(p.picker->inputBox());
        ASSERT_NE(box, nullptr);
        QStringList listed;
        for (int row = 0; row < box->count(); ++row)
            listed << box->itemText(row);
        EXPECT_TRUE(listed.contains(QStringLiteral("Item Actions"))) << listed.join(QStringLiteral(", ")).toStdString();
        EXPECT_FALSE(listed.contains(QStringLiteral("Item_Actions")));
        auto* button = p.picker->findChild<QPushButton*>(QStringLiteral("btnButton"));
        EXPECT_TRUE(button == nullptr || !button->isVisible()) << "the picker offers to add a table";
        for (const char* typed : { "Item Actions", "item_actions" }) {
            p.picker->setValue(QVariant());
            type(p.picker, QString::fromLatin1(typed));
            EXPECT_EQ(p.picker->Value().toInt(), itemActions) << typed;
        }
    }
    QApplication::setActiveWindow(record);
    type(record->field(QStringLiteral("zcbtUser")), UserName());
    type(record->field(QStringLiteral("zcbtTable")), QStringLiteral("Loot Room"));
    type(record->field(QStringLiteral("zcbtTableAction")), QStringLiteral("Delete"));
    EXPECT_EQ(save(record), QStringLiteral("Table should match an item in the list."));
    EXPECT_EQ(Prompts().boxes.size(), 1u) << "a question followed the refusal";
    record->info()->setDataChanged(false);
}

// A picker in error draws its own text in red; the list it drops down reads in the normal colour.
TEST_P(AdministrationWindows, APickersListIsNotDrawnInTheErrorColour)
{
    addUser(QStringLiteral("frank"));
    DeclaredRecordWindow* window = openNew(QStringLiteral("frmTablePermission"));
    ASSERT_NE(window, nullptr);
    zFieldBase* user = window->field(QStringLiteral("zcbtUser"));
    type(user, QStringLiteral("nobody"));
    ASSERT_FALSE(user->FieldError().isEmpty());
    auto* box = qobject_cast<QComboBox*>(user->inputBox());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->palette().color(QPalette::Text), QColor(255, 0, 0)) << "the error shows in the box";
    box->showPopup();
    QApplication::processEvents();
    const QImage list = box->view()->grab().toImage();
    int red = 0;
    int dark = 0;
    for (int y = 0; y < list.height(); ++y) {
        for (int x = 0; x < list.width(); ++x) {
            const QColor pixel = list.pixelColor(x, y);
            red += pixel.red() > 160 && pixel.green() < 90 && pixel.blue() < 90;
            dark += pixel.red() < 90 && pixel.green() < 90 && pixel.blue() < 90;
        }
    }
    box->hidePopup();
    EXPECT_EQ(red, 0);
    EXPECT_GT(dark, 0) << "no entry was drawn";
    window->info()->setDataChanged(false);
}

TEST_P(AdministrationWindows, SearchesQueryNothingUntilPopulatedAndSendOnlyChosenCriteria)
{
    DeclaredSearchWindow* search = openSearch(QStringLiteral("frmTablePermissions"));
    ASSERT_NE(search, nullptr);
    EXPECT_EQ(search->grid()->CountItems(), 0);
    EXPECT_EQ(search->GetSearchSQL(), QStringLiteral("EXEC usp_DB_Search_DB_Table_Permissions_All "));
    const int remove
        = idOf(QStringLiteral("SELECT DB_Table_Action_ID FROM DB_Table_Actions WHERE DB_Table_Action_Name = 'Delete'"));
    type(search->criteria().at(2), QStringLiteral("Delete"));
    EXPECT_EQ(search->GetSearchSQL(),
        QStringLiteral("EXEC usp_DB_Search_DB_Table_Permissions_All @DB_Table_Action_ID = %1").arg(remove));

    DeclaredSearchWindow* users = openSearch(QStringLiteral("frmUsers"));
    ASSERT_NE(users, nullptr);
    type(users->criteria().at(0), QStringLiteral("O'Neil%"));
    EXPECT_EQ(users->GetSearchSQL(), QStringLiteral("EXEC usp_DB_Search_DB_Users_All @DB_User_Name = 'O''Neil%'"));
}

TEST_P(AdministrationWindows, OptionsWindowsOfferNeitherNewNorMove)
{
    const int me = idOf(QStringLiteral("SELECT DB_User_ID FROM DB_Users ORDER BY DB_User_ID DESC"));
    const int options = idOf(QStringLiteral("SELECT MIN(DB_App_Option_ID) FROM DB_App_Options"));
    const struct {
        const char* window;
        int identity;
        const char* locked;
        const char* caption;
    } cases[] = { { "frmUserInfo", me, "ztxtSysName", "User Options" },
        { "frmDBOptions", options, "ztxtCode", "Database Options" } };
    for (const auto& c : cases) {
        DeclaredRecordWindow* window = openEdit(QString::fromLatin1(c.window), c.identity);
        ASSERT_NE(window, nullptr) << c.window;
        EXPECT_EQ(window->info()->FormCaption(), QString::fromLatin1(c.caption));
        for (const char* name : { "btnNew", "btnMove0", "btnMove1" })
            EXPECT_FALSE(window->buttons()->findChild<QPushButton*>(QString::fromLatin1(name))->isVisible())
                << c.window << name;
        EXPECT_TRUE(window->field(QString::fromLatin1(c.locked))->Locked()) << c.window;
        UnloadWindow(window);
    }
}

TEST_P(AdministrationWindows, TheUsersOwnPromptBoxIsTheSettingTheSwitchReads)
{
    ASSERT_TRUE(Act_SaveSettingDB(QStringLiteral("DB_Prompt_Database_Switch"), false));
    const int me = idOf(QStringLiteral("SELECT DB_User_ID FROM DB_Users WHERE DB_User_Name = SUSER_NAME()"));
    DeclaredRecordWindow* window = openEdit(QStringLiteral("frmUserInfo"), me);
    ASSERT_NE(window, nullptr);
    zFieldBase* prompt = window->field(QStringLiteral("zchkPromptDatabaseSwitch"));
    EXPECT_FALSE(prompt->Value().toBool());
    QTest::mouseClick(prompt->inputBox(), Qt::LeftButton, {}, QPoint(5, prompt->inputBox()->height() / 2));
    QApplication::processEvents();
    EXPECT_EQ(save(window), QString());
    QVariant setting;
    ASSERT_TRUE(Act_GetSettingDB(QStringLiteral("DB_Prompt_Database_Switch"), setting));
    EXPECT_TRUE(setting.toBool());
}

// Both options windows: the default state's list follows the default country, and a default state
// of another country is refused, naming both.
TEST_P(AdministrationWindows, TheDefaultStateFollowsTheDefaultCountry)
{
    const int me = idOf(QStringLiteral("SELECT DB_User_ID FROM DB_Users WHERE DB_User_Name = SUSER_NAME()"));
    const int options = idOf(QStringLiteral("SELECT MIN(DB_App_Option_ID) FROM DB_App_Options"));
    const int us = idOf(QStringLiteral("SELECT Country_ID FROM Countries WHERE Country_Code_2 = 'US'"));
    const int canadianStates = idOf(QStringLiteral(
        "SELECT COUNT(*) FROM States s JOIN Countries c ON c.Country_ID = s.Country_ID WHERE c.Country_Code_2 = 'CA'"));
    ASSERT_GT(canadianStates, 0);
    const struct {
        const char* window;
        int identity;
        const char* stateColumn;
        const char* table;
        const char* key;
    } cases[] = { { "frmUserInfo", me, "DB_User_Default_State_ID", "DB_Users", "DB_User_ID" },
        { "frmDBOptions", options, "DB_Default_State_ID", "DB_App_Options", "DB_App_Option_ID" } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.window);
        DeclaredRecordWindow* window = openEdit(QString::fromLatin1(c.window), c.identity);
        ASSERT_NE(window, nullptr);
        auto* state = qobject_cast<zComboBoxText*>(window->field(QStringLiteral("zcbtState")));
        ASSERT_NE(state, nullptr);
        type(window->field(QStringLiteral("zcbtCountry")), QStringLiteral("United States"));
        type(state, QStringLiteral("Illinois"));
        ASSERT_GT(state->Value().toInt(), 0);
        type(window->field(QStringLiteral("zcbtCountry")), QStringLiteral("Canada"));
        EXPECT_EQ(state->ListCount(), canadianStates + 1) << "Canada's states and the state still chosen";
        EXPECT_EQ(save(window), QStringLiteral("Default State <Illinois> is not a state of Default Country <Canada>."));
        EXPECT_NE(idOf(QStringLiteral("SELECT COALESCE(%1, 0) FROM %2 WHERE %3 = %4")
                           .arg(QLatin1String(c.stateColumn), QLatin1String(c.table), QLatin1String(c.key))
                           .arg(c.identity)),
            state->Value().toInt());
        type(window->field(QStringLiteral("zcbtCountry")), QStringLiteral("United States"));
        EXPECT_EQ(save(window), QString());
        EXPECT_EQ(idOf(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = %4")
                           .arg(QLatin1String(c.stateColumn), QLatin1String(c.table), QLatin1String(c.key))
                           .arg(c.identity)),
            state->Value().toInt());
        EXPECT_EQ(idOf(QStringLiteral("SELECT Country_ID FROM States WHERE State_ID = %1").arg(state->Value().toInt())), us);
        UnloadWindow(window);
        QApplication::processEvents();
    }
}

TEST_P(AdministrationWindows, TheColourPreviewFollowsTheNumberAndKeepsItsColourForBadValues)
{
    const int options = idOf(QStringLiteral("SELECT MIN(DB_App_Option_ID) FROM DB_App_Options"));
    DeclaredRecordWindow* window = openEdit(QStringLiteral("frmDBOptions"), options);
    ASSERT_NE(window, nullptr);
    auto* swatch = window->findChild<QLabel*>(QStringLiteral("lblColor"));
    ASSERT_NE(swatch, nullptr);
    zFieldBase* number = window->field(QStringLiteral("znumRGB"));
    type(number, QStringLiteral("255"));
    EXPECT_EQ(swatch->palette().color(QPalette::Window), QColor(255, 0, 0));
    // One more than the largest colour cannot be typed; a stored one can still arrive.
    number->setValue(16777216);
    QApplication::processEvents();
    EXPECT_EQ(swatch->palette().color(QPalette::Window), QColor(255, 0, 0)) << "out of range leaves the preview";
    number->setValue(QVariant());
    QApplication::processEvents();
    EXPECT_EQ(swatch->palette().color(QPalette::Window), window->palette().color(QPalette::Window));
    window->info()->setDataChanged(false);
}

TEST_P(AdministrationWindows, FileUpdatesConvertFoldersAndReadLocalFiles)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString dir = QDir::toNativeSeparators(folder.path());
    QFile file(folder.filePath(QStringLiteral("Bramblecot.exe")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("x");
    file.close();
    insert(QStringLiteral("INSERT INTO DB_File_Names (DB_File_Name, DB_Program_File) VALUES ('Bramblecot.exe', 1) "
                          "RETURNING DB_File_Name_ID"));

    DeclaredRecordWindow* window = openNew(QStringLiteral("frmFileUpdate"));
    ASSERT_NE(window, nullptr);
    type(window->field(QStringLiteral("zcbtFile")), QStringLiteral("Bramblecot.exe"));
    type(window->field(QStringLiteral("ztxtFolder(0)")), QStringLiteral("http://example.invalid/files"));
    Prompts().clear();
    click(window, "btnGet");
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_EQ(Prompts().boxes[0].text, QStringLiteral("Not supported. Cannot get file info from the Internet."));

    // A local folder whose name merely starts like a scheme is local.
    type(window->field(QStringLiteral("ztxtFolder(0)")), dir + QStringLiteral("/httpdocs"));
    Prompts().clear();
    click(window, "btnGet");
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_EQ(Prompts().boxes[0].text, QStringLiteral("File <%1/httpdocs/Bramblecot.exe> does not exists.").arg(dir));

    type(window->field(QStringLiteral("ztxtFolder(0)")), dir + QStringLiteral("/"));
    Prompts().clear();
    click(window, "btnGet");
    EXPECT_TRUE(Prompts().boxes.empty());
    EXPECT_EQ(window->field(QStringLiteral("ztxtFileVersion"))->Text(), QString());
    EXPECT_TRUE(window->field(QStringLiteral("zdatDateTime"))->Value().toDateTime().isValid());

    type(window->field(QStringLiteral("ztxtFolder(1)")), QStringLiteral("C:\\Program Files\\It's here"));
    EXPECT_EQ(save(window), QString());
    const int saved = idOf(QStringLiteral("SELECT MAX(DB_File_Update_ID) FROM DB_File_Updates"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM DB_File_Updates u JOIN DB_Folders f ON f.DB_Folder_ID = "
                                   "u.Client_DB_Folder_ID WHERE f.DB_Folder_Name = 'C:\\Program Files\\It''s here'")),
        1);
    UnloadWindow(window);

    DeclaredRecordWindow* again = openEdit(QStringLiteral("frmFileUpdate"), saved);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->field(QStringLiteral("ztxtFolder(1)"))->Text(), QStringLiteral("C:\\Program Files\\It's here"));
    EXPECT_EQ(again->field(QStringLiteral("ztxtFolder(0)"))->Text(), dir + QStringLiteral("/"));
}

INSTANTIATE_TEST_SUITE_P(Engines, AdministrationWindows, ::testing::ValuesIn(TestEngines()), EngineTestName);

} // namespace
