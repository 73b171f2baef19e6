#include "BarWindows.h"

#include "core/Connection.h"
#include "core/Database.h"
#include "support/PromptRecorder.h"
#include "core/Schema.h"
#include "support/TestDatabase.h"
#include "form_framework/ActionsMenu.h"
#include "form_framework/WindowList.h"
#include "form_framework/WindowOpening.h"
#include "form_framework/zIdentity.h"
#include "form_framework/zButtonsAddEdit.h"
#include "form_framework/zButtonsSearch.h"
#include "form_framework/zInfo.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QTest>

#include <functional>
#include <optional>

#include <gtest/gtest.h>

namespace {

QPushButton* button(QWidget* bar, const char* name)
{
    return bar->findChild<QPushButton*>(QString::fromLatin1(name));
}

QAction* menuItem(QMenu* menu, const char* name)
{
    return menu->findChild<QAction*>(QString::fromLatin1(name));
}

QString token(Engine engine, const QString& name)
{
    for (const auto& [key, value] : FactsOf(engine).schemaTokens) {
        if (key == name)
            return value;
    }
    return {};
}

void closeEverything()
{
    for (QWidget* window : LoadedWindows()) {
        if (DataWindow* data = AsDataWindow(window))
            data->info()->setDataChanged(false);
        UnloadWindow(window);
    }
    QApplication::processEvents();
}

// --- Layout and menus, no database needed --------------------------------------------------

struct RecordLayout {
    int width;
    int close, ok, actions, previous, next, moveWidth;
    const char* previousCaption;
};

class RecordBarLayout : public ::testing::TestWithParam<RecordLayout> { };

TEST_P(RecordBarLayout, ButtonsFollowTheRightEdgeAndTheMovePairCentresInTheGap)
{
    const RecordLayout& c = GetParam();
    zButtonsAddEdit bar;
    bar.resize(c.width, 36);
    bar.show();
    EXPECT_EQ(button(&bar, "btnClose")->x(), c.close);
    EXPECT_EQ(button(&bar, "btnOK")->x(), c.ok);
    EXPECT_EQ(button(&bar, "btnActions")->x(), c.actions);
    EXPECT_EQ(button(&bar, "btnMove0")->x(), c.previous);
    EXPECT_EQ(button(&bar, "btnMove1")->x(), c.next);
    EXPECT_EQ(button(&bar, "btnMove0")->width(), c.moveWidth);
    EXPECT_EQ(button(&bar, "btnMove0")->text(), QString::fromLatin1(c.previousCaption));
    EXPECT_EQ(button(&bar, "btnSave")->x(), 4) << "Save and New never move";
    EXPECT_EQ(button(&bar, "btnNew")->x(), 68);
}

INSTANTIATE_TEST_SUITE_P(Widths, RecordBarLayout,
    ::testing::Values(RecordLayout { 582, 519, 456, 393, 183, 262, 75, "<< &Previous" },
        RecordLayout { 400, 337, 274, 211, 140, 171, 27, "<<" },
        // gap 161: narrow; gap 162: wide
        RecordLayout { 477, 414, 351, 288, 178, 209, 27, "<<" },
        RecordLayout { 478, 415, 352, 289, 131, 210, 75, "<< &Previous" }),
    [](const ::testing::TestParamInfo<RecordLayout>& caseInfo) { return "Width" + std::to_string(caseInfo.param.width); });

TEST(RecordBar, ButtonsStretchWithTheBarsHeight)
{
    zButtonsAddEdit bar;
    bar.resize(582, 72);
    bar.show();
    EXPECT_EQ(button(&bar, "btnSave")->y(), 8);
    EXPECT_EQ(button(&bar, "btnSave")->height(), 56);
}

TEST(RecordBar, WindowCommandsComeAfterASeparatorAndArriveWithoutAmpersands)
{
    zButtonsAddEdit bar;
    QStringList chosen;
    QObject::connect(&bar, &zButtonsAddEdit::ActionClick, &bar, [&chosen](QString& name) { chosen << name; });
    QMenu* menu = bar.actionsMenu();
    const QList<QAction*> before = menu->actions();
    ASSERT_EQ(before.size(), 2);
    EXPECT_EQ(before.at(0)->text(), QStringLiteral("Record &History"));
    EXPECT_FALSE(before.at(1)->isVisible()) << "no window command yet: Record History stands alone";

    bar.AddAction(QStringLiteral("Print &Case Barcode"));
    bar.AddAction(QStringLiteral("-"));
    bar.AddAction(QStringLiteral("Save && &Print"), false);
    const QList<QAction*> after = menu->actions();
    ASSERT_EQ(after.size(), 5);
    EXPECT_TRUE(after.at(1)->isSeparator());
    EXPECT_TRUE(after.at(1)->isVisible());
    EXPECT_TRUE(after.at(3)->isSeparator());
    EXPECT_FALSE(after.at(4)->isEnabled());

    after.at(2)->trigger();
    after.at(4)->setEnabled(true);
    after.at(4)->trigger();
    EXPECT_EQ(chosen, (QStringList { QStringLiteral("Print Case Barcode"), QStringLiteral("Save  Print") }));
}

// A keyboard user opens the menu with Alt+A and picks an entry by its underlined letter: every
// entry has one, and no two share it while letters are left.
TEST(ActionsMenus, EveryEntryHasItsOwnAccessKey)
{
    zButtonsAddEdit record;
    zButtonsSearch search;
    QStringList chosen;
    QObject::connect(&search, &zButtonsSearch::ActionClick, &search, [&chosen](QString& name) { chosen << name; });
    for (const char* caption :
        { "View Item", "View Case", "Add Note", "Print Barcode Label", "-", "Save && Print", "H", "42" }) {
        record.AddAction(QString::fromLatin1(caption));
        search.AddAction(QString::fromLatin1(caption));
    }
    const struct {
        const char* bar;
        QMenu* menu;
    } menus[] = { { "record", record.actionsMenu() }, { "search", search.actionsMenu() } };
    for (const auto& m : menus) {
        SCOPED_TRACE(m.bar);
        std::function<void(QMenu*)> check = [&](QMenu* menu) {
            QSet<QChar> keys; // unique within each menu
            for (QAction* entry : menu->actions()) {
                if (entry->isSeparator())
                    continue;
                const QChar key = ActionsMenu::AccessKey(entry->text());
                EXPECT_FALSE(key.isNull()) << entry->text().toStdString();
                if (entry->text() != QStringLiteral("&H")) { // "H": its one letter is taken
                    EXPECT_FALSE(keys.contains(key)) << entry->text().toStdString();
                }
                keys.insert(key);
                if (entry->menu())
                    check(entry->menu());
            }
        };
        check(m.menu);
    }
    // Word initials first, then any free letter; the command still arrives by its caption.
    const auto captionOf = [&search](const char* name) {
        for (QAction* entry : search.actionsMenu()->actions()) {
            if (QString(entry->text()).remove(QLatin1Char('&')) == QString::fromLatin1(name))
                return entry->text();
        }
        return QString();
    };
    EXPECT_EQ(captionOf("View Item"), QStringLiteral("&View Item"));
    EXPECT_EQ(captionOf("View Case"), QStringLiteral("V&iew Case")) << "V and C are taken";
    EXPECT_EQ(captionOf("Add Note"), QStringLiteral("Add &Note")) << "A is Select All's";
    EXPECT_EQ(captionOf("42"), QStringLiteral("&42"));
    EXPECT_EQ(captionOf("H"), QStringLiteral("&H")) << "no letter left: a shared key still reaches it";
    for (QAction* entry : search.actionsMenu()->actions()) {
        if (entry->text() == QStringLiteral("&View Item"))
            entry->trigger();
    }
    EXPECT_EQ(chosen, QStringList { QStringLiteral("View Item") });
}

TEST(SearchBar, CloseFollowsTheRightEdgeAndSelectShowsOnlyWhenPicking)
{
    frmBarGadgets window;
    window.show();
    window.bar->resize(621, 33);
    EXPECT_EQ(button(window.bar, "btnClose")->x(), 557);
    EXPECT_EQ(button(window.bar, "btnActions")->x(), 493);
    EXPECT_FALSE(button(window.bar, "btnSelect")->isVisible());

    window.info()->setMode(FormMode::Pick);
    EXPECT_TRUE(button(window.bar, "btnSelect")->isVisible());
    EXPECT_EQ(button(window.bar, "btnSelect")->x(), 493);
    EXPECT_EQ(button(window.bar, "btnActions")->x(), 429);
    EXPECT_EQ(button(window.bar, "btnClose")->text(), QStringLiteral("&Cancel"));

    window.info()->setMode(FormMode::SearchList);
    EXPECT_FALSE(button(window.bar, "btnSelect")->isVisible());
    EXPECT_EQ(button(window.bar, "btnActions")->x(), 493);
    EXPECT_EQ(button(window.bar, "btnClose")->text(), QStringLiteral("&Close"));
}

TEST(SearchBar, EditDeleteEnabledMovesEditDeleteSelectAndActionsButNeverNew)
{
    zButtonsSearch bar;
    bar.setEditDeleteEnabled(true);
    for (const char* name : { "btnEdit", "btnDelete", "btnSelect", "btnActions", "btnNew" })
        EXPECT_TRUE(button(&bar, name)->isEnabled()) << name;
    bar.setEditDeleteEnabled(false);
    for (const char* name : { "btnEdit", "btnDelete", "btnSelect", "btnActions" })
        EXPECT_FALSE(button(&bar, name)->isEnabled()) << name;
    EXPECT_TRUE(button(&bar, "btnNew")->isEnabled());
    EXPECT_FALSE(bar.EditDeleteEnabled());
}

TEST(SearchBar, MenuItemsDriveTheResultList)
{
    frmBarGadgets window;
    window.show();
    QMenu* menu = window.bar->actionsMenu();
    menuItem(menu, "mnuAdjustColumnsData")->trigger();
    menuItem(menu, "mnuAdjustColumnsDataAndHeaders")->trigger();
    menuItem(menu, "mnuSelectAll")->trigger();
    window.bar->setEditDeleteEnabled(true);
    window.bar->ClickDelete();
    EXPECT_EQ(window.list->calls,
              (QStringList { QStringLiteral("AdjustColumnWidth 0"), QStringLiteral("AdjustColumnWidth 1"), QStringLiteral("SelectAll"),
                             QStringLiteral("Delete") }));

    window.bar->setAllowRecordHistory(false);
    EXPECT_FALSE(menuItem(menu, "mnuRecordHistory")->isVisible());
}

TEST(SearchBar, DisabledOrHiddenButtonsOnlyBeep)
{
    Prompts().clear();
    frmBarGadgets window;
    window.show();
    window.bar->ClickEdit(); // disabled until the list has rows
    window.bar->ClickSelect(); // hidden outside picker mode
    EXPECT_EQ(Prompts().beeps, 2);
    EXPECT_TRUE(window.list->calls.isEmpty());
}

// --- On a real window over a test table, both engines ----------------------------------------

class Bars : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        RegisterBarForms();
        Prompts().clear();
        const Engine engine = GetParam();
        ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("CREATE TABLE Gadgets (Gadget_ID %1, Gadget_Name %2, Serial %3)")
                                       .arg(token(engine, QStringLiteral("{ID}")), token(engine, QStringLiteral("{NAME}")),
                                            token(engine, QStringLiteral("{TEXT}")))));
        RefreshChangeLogTriggers(*DBConnection());
        ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, "
                                                  "DB_ID_Field, DB_Default_Permission) VALUES ('Gadgets', 'Gadgets', 'Gadget', 'Gadget_ID', 0)")));
        m_viewers.emplace();
    }

    void TearDown() override
    {
        closeEverything();
        m_viewers.reset();
        DatabaseTest::TearDown();
    }

    RecordingViewers& viewers() { return *m_viewers->get(); }

    frmBarGadget* openNew()
    {
        return static_cast<frmBarGadget*>(OpenFormWithParams(QStringLiteral("frmBarGadget"), 0, { QStringLiteral("Mode"), 1 }));
    }

    frmBarGadget* openRecord(int id)
    {
        return static_cast<frmBarGadget*>(
            OpenFormWithParams(QStringLiteral("frmBarGadget"), id, { QStringLiteral("Mode"), 2, QStringLiteral("IdentityValue"), id }));
    }

    int insertGadget(const QString& name)
    {
        const auto id = GetSQLValue(QStringLiteral("INSERT INTO Gadgets (Gadget_Name, Serial) VALUES (%1, 'S-1') RETURNING Gadget_ID").arg(name));
        return id ? id->toInt() : -1;
    }

    void revokeAdministrator()
    {
        ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("UPDATE DB_Users SET DB_Sys_Admin = 0")));
    }

    std::optional<RecordingViewers::Installed> m_viewers;
};

TEST_P(Bars, RecordBarFollowsTheModeAndTheChangedFlagThroughTyping)
{
    frmBarGadget* window = openNew();
    ASSERT_NE(window, nullptr);
    zButtonsAddEdit* bar = window->bar;
    EXPECT_FALSE(bar->NewEnabled());
    EXPECT_FALSE(bar->ActionsEnabled());
    EXPECT_FALSE(bar->SaveEnabled());
    EXPECT_FALSE(bar->OkEnabled());
    EXPECT_EQ(bar->CloseCaption(), QStringLiteral("&Close"));

    window->name->setFocus();
    QTest::keyClicks(window->name, QStringLiteral("Radio"));
    EXPECT_TRUE(bar->SaveEnabled());
    EXPECT_TRUE(bar->OkEnabled());
    EXPECT_EQ(bar->CloseCaption(), QStringLiteral("&Cancel"));

    QTest::mouseClick(button(bar, "btnSave"), Qt::LeftButton);
    ASSERT_EQ(window->info()->Mode(), FormMode::Edit);
    EXPECT_GT(window->info()->zID()->Value(), 0);
    EXPECT_TRUE(bar->NewEnabled());
    EXPECT_TRUE(bar->ActionsEnabled());
    EXPECT_FALSE(bar->SaveEnabled());
    EXPECT_FALSE(bar->OkEnabled());
    EXPECT_EQ(bar->CloseCaption(), QStringLiteral("&Close"));

    // The main window's commands press the buttons.
    window->info()->DoCommand(MainCommand::New);
    EXPECT_EQ(window->info()->Mode(), FormMode::Add);
    EXPECT_FALSE(bar->NewEnabled());
    EXPECT_EQ(window->events.count(QStringLiteral("defaults")), 2) << "once on opening, once for New";
    EXPECT_TRUE(Prompts().boxes.empty());
}

TEST_P(Bars, NewGoesOnToDefaultsOnlyWhenTheWindowReallySwitched)
{
    const int id = insertGadget(QStringLiteral("'Camera'"));
    frmBarGadget* window = openRecord(id);
    ASSERT_NE(window, nullptr);
    QTest::keyClicks(window->name, QStringLiteral(" 2"));
    ASSERT_TRUE(window->info()->DataChanged());

    Prompts().answer(MsgBox::Cancel);
    window->bar->ClickNew();
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_EQ(Prompts().boxes.at(0).title, QStringLiteral("Save Changes?"));
    EXPECT_EQ(window->info()->Mode(), FormMode::Edit);
    EXPECT_TRUE(window->info()->DataChanged()) << "the unsaved edit is still marked";
    EXPECT_EQ(window->name->text(), QStringLiteral("Camera 2"));
    EXPECT_FALSE(window->events.contains(QStringLiteral("defaults")));

    Prompts().answer(MsgBox::No);
    window->bar->ClickNew();
    EXPECT_EQ(window->info()->Mode(), FormMode::Add);
    EXPECT_FALSE(window->info()->DataChanged());
    EXPECT_TRUE(window->events.contains(QStringLiteral("defaults")));
    EXPECT_EQ(window->serial->text(), QStringLiteral("S-?"));
}

TEST_P(Bars, NewWithoutPermissionToAddChangesNothing)
{
    const int id = insertGadget(QStringLiteral("'Camera'"));
    revokeAdministrator();
    frmBarGadget* window = openRecord(id);
    ASSERT_NE(window, nullptr);
    window->bar->ClickNew();
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_TRUE(Prompts().boxes.at(0).text.contains(QStringLiteral("You are not permitted to Add <Gadget>.")))
        << Prompts().boxes.at(0).text.toStdString();
    EXPECT_EQ(window->info()->Mode(), FormMode::Edit);
    EXPECT_EQ(window->info()->zID()->Value(), id);
    EXPECT_FALSE(window->events.contains(QStringLiteral("defaults")));
}

// Permission to add is no permission to edit: the record just added is not edited on.
TEST_P(Bars, TheSaveAsksForAddThenForEdit)
{
    revokeAdministrator();
    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral(
        "INSERT INTO DB_Table_Permissions (DB_User_ID, DB_Table_ID, DB_Table_Action_ID, DB_Permission) "
        "SELECT u.DB_User_ID, t.DB_Table_ID, a.DB_Table_Action_ID, 1 FROM DB_Users u, DB_Tables t, DB_Table_Actions a "
        "WHERE u.DB_User_Name = SUSER_NAME() AND t.DB_Table_Name = 'Gadgets' AND a.DB_Table_Action_Name = 'Add'")));
    frmBarGadget* window = openNew();
    ASSERT_NE(window, nullptr);
    window->name->setFocus();
    QTest::keyClicks(window->name, QStringLiteral("Radio"));
    QTest::mouseClick(button(window->bar, "btnSave"), Qt::LeftButton);
    ASSERT_EQ(window->info()->Mode(), FormMode::Edit);
    EXPECT_TRUE(Prompts().boxes.empty());

    QTest::keyClicks(window->name, QStringLiteral(" 2"));
    QTest::mouseClick(button(window->bar, "btnSave"), Qt::LeftButton);
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_TRUE(Prompts().boxes.at(0).text.startsWith(QStringLiteral("You are not permitted to Edit <Gadget>.")))
        << Prompts().boxes.at(0).text.toStdString();
    EXPECT_TRUE(window->info()->DataChanged()) << "the refused edit stays on screen, unsaved";
    EXPECT_EQ(GetSQLValue(QStringLiteral("SELECT Gadget_Name FROM Gadgets"))->toString(), QStringLiteral("Radio"));
    window->info()->setDataChanged(false);
}

TEST_P(Bars, HiddenOrDisabledNewOnlyBeeps)
{
    frmBarGadget* window = openNew();
    ASSERT_NE(window, nullptr);
    window->bar->ClickNew(); // disabled in add mode
    EXPECT_EQ(Prompts().beeps, 1);
    window->bar->setAllowNew(false);
    window->bar->setNewEnabled(true);
    window->bar->ClickNew(); // hidden
    EXPECT_EQ(Prompts().beeps, 2);
    EXPECT_EQ(window->events.count(QStringLiteral("defaults")), 1);
}

TEST_P(Bars, OkClosesOnlyAfterASuccessfulSave)
{
    frmBarGadget* window = openNew();
    ASSERT_NE(window, nullptr);
    QPointer<frmBarGadget> watch(window);
    QTest::keyClicks(window->name, QStringLiteral("Lamp"));
    window->name->valid = false;
    QTest::mouseClick(button(window->bar, "btnOK"), Qt::LeftButton);
    QApplication::processEvents();
    ASSERT_FALSE(watch.isNull()) << "a failing save keeps the window open";
    EXPECT_EQ(GetSQLValue(QStringLiteral("SELECT COUNT(*) FROM Gadgets"))->toInt(), 0);

    window->name->valid = true;
    QTest::mouseClick(button(window->bar, "btnOK"), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_TRUE(watch.isNull());
    EXPECT_EQ(GetSQLValue(QStringLiteral("SELECT COUNT(*) FROM Gadgets"))->toInt(), 1);
}

TEST_P(Bars, EscapePressesCloseWhichStillAsksAboutUnsavedChanges)
{
    const int id = insertGadget(QStringLiteral("'Camera'"));
    frmBarGadget* window = openRecord(id);
    ASSERT_NE(window, nullptr);
    QPointer<frmBarGadget> watch(window);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    window->name->setFocus();
    QTest::keyClicks(window->name, QStringLiteral("!"));
    Prompts().answer(MsgBox::Cancel);
    QTest::keyClick(window->name, Qt::Key_Escape);
    QApplication::processEvents();
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    ASSERT_FALSE(watch.isNull());

    Prompts().answer(MsgBox::No);
    QTest::keyClick(window->name, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_TRUE(watch.isNull());
}

TEST_P(Bars, ActionsOpensUnderTheButtonWhereverThePointerIs)
{
    const int id = insertGadget(QStringLiteral("'Camera'"));
    frmBarGadget* window = openRecord(id);
    ASSERT_NE(window, nullptr);
    QPushButton* actions = button(window->bar, "btnActions");
    ASSERT_TRUE(actions->isEnabled());
    const QPoint elsewhere = window->mapToGlobal(QPoint(0, 0)) - QPoint(300, 300);
    QCursor::setPos(elsewhere);
    actions->click(); // as Alt+A would: the pointer is elsewhere, the user's eyes on the button
    QMenu* menu = window->bar->actionsMenu();
    EXPECT_TRUE(menu->isVisible());
    const QPoint under = actions->mapToGlobal(QPoint(0, actions->height()));
    const QRect screen = actions->screen()->availableGeometry();
    if (under.y() + menu->height() <= screen.bottom()) {
        EXPECT_EQ(menu->geometry().topLeft(), under) << "the menu hangs from the button's lower left corner";
    } else {
        EXPECT_EQ(menu->geometry().bottom() + 1, actions->mapToGlobal(QPoint(0, 0)).y()) << "no room below: above it";
    }
    EXPECT_LE((QCursor::pos() - elsewhere).manhattanLength(), 2) << "the pointer stays where the user left it";
    menu->hide();

    const QList<QAction*> items = menu->actions();
    ASSERT_EQ(items.size(), 3) << "Record History, the separator, the window's command";
    items.at(2)->trigger();
    EXPECT_TRUE(window->events.contains(QStringLiteral("action Print Case Barcode")));
}

TEST_P(Bars, RecordHistoryShowsTheChangeLogOfTheSavedRecord)
{
    frmBarGadget* window = openNew();
    ASSERT_NE(window, nullptr);
    QTest::keyClicks(window->name, QStringLiteral("Radio"));
    QTest::mouseClick(button(window->bar, "btnSave"), Qt::LeftButton);
    const int id = window->info()->zID()->Value();
    ASSERT_GT(id, 0);
    QTest::keyClicks(window->name, QStringLiteral(" Mk II"));
    QTest::mouseClick(button(window->bar, "btnSave"), Qt::LeftButton);
    ASSERT_TRUE(Prompts().boxes.empty()) << Prompts().boxes.at(0).text.toStdString();

    menuItem(window->bar->actionsMenu(), "mnuRecordHistory")->trigger();
    ASSERT_TRUE(Prompts().boxes.empty()) << Prompts().boxes.at(0).text.toStdString();
    ASSERT_EQ(viewers().texts.size(), 1);
    const QStringList lines = viewers().texts.at(0).split(QStringLiteral("\r\n"));
    ASSERT_GE(lines.size(), 10);
    EXPECT_EQ(lines.at(0), QStringLiteral("Record History"));
    EXPECT_EQ(lines.at(1), QStringLiteral("Record: Gadget <%1>").arg(id));
    EXPECT_EQ(lines.at(5), QStringLiteral("Query:\tEXEC usp_DB_Search_Record_History @DB_Table_Name = 'Gadgets', @DB_PK = %1").arg(id));
    EXPECT_EQ(lines.at(8), QStringLiteral("Date/Time\tOperation\tUser\tHost\tProgram\tOld Values\tNew Values"));
    const QStringList insert = lines.at(9).split(QLatin1Char('\t'));
    const QStringList update = lines.at(10).split(QLatin1Char('\t'));
    ASSERT_EQ(insert.size(), 7);
    ASSERT_EQ(update.size(), 7);
    EXPECT_EQ(insert.at(1), QStringLiteral("Insert"));
    EXPECT_TRUE(insert.at(6).contains(QStringLiteral("Radio")));
    EXPECT_EQ(update.at(1), QStringLiteral("Update"));
    EXPECT_TRUE(update.at(5).contains(QStringLiteral("Radio")));
    EXPECT_TRUE(update.at(6).contains(QStringLiteral("Radio Mk II")));
    EXPECT_EQ(lines.at(11), QString()) << "the block ends with an empty line";
}

TEST_P(Bars, SearchBarNewOpensTheRecordWindowInAddModeWhenPermitted)
{
    auto* list = static_cast<frmBarGadgets*>(ShowFormByName(QStringLiteral("frmBarGadgets")));
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(button(list->bar, "btnNew")->isVisible());
    EXPECT_TRUE(button(list->bar, "btnEdit")->isVisible());
    list->bar->ClickNew();
    const auto* record = qobject_cast<frmBarGadget*>(AsDataWindow(LoadedWindows().last()));
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->info()->Mode(), FormMode::Add);
    EXPECT_TRUE(Prompts().boxes.empty());

    revokeAdministrator();
    const qsizetype open = LoadedWindows().size();
    list->bar->ClickNew();
    EXPECT_EQ(LoadedWindows().size(), open);
    EXPECT_EQ(Prompts().boxes.size(), 1u);
}

TEST_P(Bars, SearchWindowWithoutRecordWindowPutsDeleteAtTheLeftEdge)
{
    DataWindow* window = LoadFormByName(QStringLiteral("frmBarGadgetsNoRecord"));
    ASSERT_NE(window, nullptr);
    auto* bar = static_cast<frmBarGadgets*>(window)->bar;
    EXPECT_FALSE(button(bar, "btnNew")->isVisible());
    EXPECT_FALSE(button(bar, "btnEdit")->isVisible());
    EXPECT_EQ(button(bar, "btnDelete")->x(), 4);
    bar->setAllowDelete(false);
    bar->resize(700, 33);
    EXPECT_FALSE(button(bar, "btnDelete")->isVisible());
    EXPECT_EQ(button(bar, "btnDelete")->x(), 4);
}

TEST_P(Bars, SelectHandsTheRowToTheFieldThatOpenedThePickerAndCloses)
{
    frmBarGadget* owner = openNew();
    ASSERT_NE(owner, nullptr);
    owner->name->foreignKey = true;
    auto* picker = static_cast<frmBarGadgets*>(OpenPickerForm(owner->name, QStringLiteral("frmBarGadgets")));
    ASSERT_NE(picker, nullptr);
    QPointer<frmBarGadgets> watch(picker);
    EXPECT_TRUE(button(picker->bar, "btnSelect")->isVisible());
    EXPECT_EQ(button(picker->bar, "btnClose")->text(), QStringLiteral("&Cancel"));
    picker->list->rows = { 41, 42 };
    picker->list->current = 1;
    picker->bar->setEditDeleteEnabled(true);
    picker->bar->ClickSelect();
    QApplication::processEvents();
    EXPECT_TRUE(watch.isNull());
    EXPECT_EQ(owner->name->FKValue(), 42);
}

TEST_P(Bars, SearchBarRecordHistoryNamesTheSelectedRow)
{
    const int id = insertGadget(QStringLiteral("'Camera'"));
    auto* list = static_cast<frmBarGadgets*>(ShowFormByName(QStringLiteral("frmBarGadgets")));
    ASSERT_NE(list, nullptr);
    list->list->rows = { id };
    list->list->current = 0;
    list->list->selectedText = QStringLiteral("Camera");
    menuItem(list->bar->actionsMenu(), "mnuRecordHistory")->trigger();
    ASSERT_EQ(viewers().texts.size(), 1);
    const QStringList lines = viewers().texts.at(0).split(QStringLiteral("\r\n"));
    EXPECT_EQ(lines.at(1), QStringLiteral("Record: Gadget <Camera>"));
    EXPECT_TRUE(lines.at(9).contains(QStringLiteral("\tInsert\t")));
}

INSTANTIATE_TEST_SUITE_P(Engines, Bars, ::testing::ValuesIn(TestEngines()), EngineTestName);

} // namespace
