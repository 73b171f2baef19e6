#include "FakeControls.h"
#include "TestMainWindow.h"

#include "core/AppError.h"
#include "form_framework/ChildWindows.h"
#include "core/Connection.h"
#include "core/Database.h"
#include "form_framework/FormRegistry.h"
#include "core/Permissions.h"
#include "support/PromptRecorder.h"
#include "support/TestDatabase.h"
#include "form_framework/WindowList.h"
#include "form_framework/WindowOpening.h"
#include "form_framework/zIdentity.h"
#include "form_framework/zInfo.h"

#include <QApplication>
#include <QMdiSubWindow>

#include <gtest/gtest.h>

#include <functional>

namespace {

// The data windows as children of a multiple-document host, over a real database.
class MdiWindows : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        RegisterTestForms();
        Prompts().clear();
        m_main = std::make_unique<TestMainWindow>();
        ASSERT_TRUE(CreateGadgetsTable(GetParam()));
    }

    void TearDown() override
    {
        SetCommandObserver(nullptr);
        for (QWidget* window : LoadedWindows()) {
            if (DataWindow* data = AsDataWindow(window))
                data->info()->setDataChanged(false);
            UnloadWindow(window);
        }
        QApplication::processEvents();
        m_main.reset();
        DatabaseTest::TearDown();
    }

    frmGadget* openNew()
    {
        return static_cast<frmGadget*>(OpenFormWithParams(QStringLiteral("frmGadget"), 0, { QStringLiteral("Mode"), 1 }));
    }

    std::unique_ptr<TestMainWindow> m_main;
};

TEST_P(MdiWindows, TheSaveSendsOneStatementWithExactlyTheChangedColumns)
{
    QStringList sent;
    frmGadget* window = openNew();
    window->name->setValue(QStringLiteral("Lamp"));
    window->serial->setValue(QStringLiteral("L-1"));
    // The permission check before the save and the reading of the row it made only read; what
    // writes is one statement.
    SetCommandObserver([&sent](const QString& sql) {
        if (!sql.contains(QLatin1String("usp_DB_Get_DB_Table_Permission")) && !sql.startsWith(QLatin1String("SELECT ")))
            sent << sql;
    });
    ASSERT_TRUE(window->info()->SaveData(true));
    ASSERT_EQ(sent.size(), 1);
    EXPECT_EQ(sent[0], QStringLiteral("INSERT INTO Gadgets(Gadget_Name, Serial, Working, Kind_ID)\r\nVALUES('Lamp', 'L-1', 1, NULL)\r\n"
                                      "RETURNING Gadget_ID"));
    const int id = window->info()->zID()->Value();

    sent.clear();
    window->serial->setValue(QStringLiteral("L-2"));
    window->working->setChecked(false);
    ASSERT_TRUE(window->info()->SaveData(true));
    ASSERT_EQ(sent.size(), 1);
    // It writes only while the row holds what the window last saw of it, and returns what it
    // holds then, for the next save: each value as the engine stores it (SQLite: its bytes in
    // hexadecimal, "Lamp" 4C616D70).
    const bool sqlite = GetParam() == Engine::SQLite;
    const QString expected = sqlite
        ? QStringLiteral("UPDATE Gadgets\r\nSET Serial = 'L-2',\r\nWorking = 0\r\nWHERE Gadget_ID = %1\r\n"
                         "AND CASE WHEN Gadget_Name IS NULL THEN NULL ELSE hex(Gadget_Name) END = '4C616D70' COLLATE BINARY\r\n"
                         "AND CASE WHEN Serial IS NULL THEN NULL ELSE hex(Serial) END = '4C2D31' COLLATE BINARY\r\n"
                         "AND CASE WHEN Working IS NULL THEN NULL ELSE hex(Working) END = '31' COLLATE BINARY\r\n"
                         "AND Kind_ID IS NULL\r\n"
                         "RETURNING 0 AS Error, CASE WHEN Gadget_Name IS NULL THEN NULL ELSE hex(Gadget_Name) END AS "
                         "Gadget_Name, CASE WHEN Serial IS NULL THEN NULL ELSE hex(Serial) END AS Serial, CASE WHEN "
                         "Working IS NULL THEN NULL ELSE hex(Working) END AS Working, CASE WHEN Kind_ID IS NULL THEN NULL "
                         "ELSE hex(Kind_ID) END AS Kind_ID")
        : QStringLiteral("UPDATE Gadgets\r\nSET Serial = 'L-2',\r\nWorking = 0\r\nWHERE Gadget_ID = %1\r\n"
                         "AND CAST(Gadget_Name AS TEXT) = 'Lamp'\r\nAND CAST(Serial AS TEXT) = 'L-1'\r\n"
                         "AND CAST(Working AS TEXT) = '1'\r\nAND Kind_ID IS NULL\r\n"
                         "RETURNING 0 AS Error, CAST(Gadget_Name AS TEXT) AS Gadget_Name, CAST(Serial AS TEXT) AS Serial, "
                         "CAST(Working AS TEXT) AS Working, CAST(Kind_ID AS TEXT) AS Kind_ID");
    EXPECT_EQ(sent[0], expected.arg(id));
}

TEST_P(MdiWindows, AnUpdateOfAVanishedRecordSaysSoAndChangesNothing)
{
    frmGadget* window = openNew();
    window->name->setValue(QStringLiteral("Vase"));
    ASSERT_TRUE(window->info()->SaveData(true));
    const int id = window->info()->zID()->Value();
    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("DELETE FROM Gadgets WHERE Gadget_ID = %1").arg(id)));
    window->name->setValue(QStringLiteral("Vase 2"));
    window->info()->setDataChanged(true);
    Prompts().clear();
    EXPECT_FALSE(window->info()->SaveData(true));
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_EQ(Prompts().boxes[0].text, QStringLiteral("Unable to Open Recordset\r\n\r\nGadget <%1> no longer exists in the database.").arg(id));
    EXPECT_TRUE(window->info()->DataChanged());
    EXPECT_EQ(window->info()->zID()->Value(), id);
}

TEST_P(MdiWindows, ARefusedSaveKeepsTheWindowAsItWas)
{
    frmGadget* window = openNew();
    window->name->setValue(QString(200, QLatin1Char('x')));
    window->kind->setValue(999999); // no such row may be referenced once the table refuses it
    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("DROP TABLE Gadgets")));
    Prompts().clear();
    EXPECT_FALSE(window->info()->SaveData(true));
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_TRUE(Prompts().boxes[0].text.startsWith(QStringLiteral("Unable to Open Recordset\r\n\r\n")));
    EXPECT_EQ(window->info()->zID()->Text(), QStringLiteral("NEW"));
    EXPECT_EQ(window->info()->Mode(), FormMode::Add);
}

TEST_P(MdiWindows, NewWithCancelLeavesTheRecordAsItWas)
{
    frmGadget* window = openNew();
    window->name->setValue(QStringLiteral("Clock"));
    ASSERT_TRUE(window->info()->SaveData(true));
    window->name->setValue(QStringLiteral("Clock 2"));
    window->info()->setDataChanged(true);
    Prompts().answer(MsgBox::Cancel);
    window->info()->ClickNew();
    EXPECT_EQ(window->info()->Mode(), FormMode::Edit);
    EXPECT_TRUE(window->info()->DataChanged());
    EXPECT_EQ(window->name->text(), QStringLiteral("Clock 2"));
    Prompts().answer(MsgBox::No);
    window->info()->ClickNew();
    EXPECT_EQ(window->info()->Mode(), FormMode::Add);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Add Gadget"));
}

TEST_P(MdiWindows, APickerLivesAndDiesWithItsParent)
{
    frmGadget* window = openNew();
    DataWindow* picker = OpenPickerForm(window->kind, QStringLiteral("frmGadgets"));
    ASSERT_NE(picker, nullptr);
    EXPECT_TRUE(picker->isChildOfMainWindow());
    EXPECT_TRUE(m_main->entries.contains(QStringLiteral("disable frmGadget")));
    EXPECT_TRUE(m_main->entries.contains(QStringLiteral("frmGadgets caption Select Gadget")));

    // Activating the parent brings its picker forward and leaves the status text alone.
    m_main->statusText = QStringLiteral("unchanged");
    ActivateChildForm(window);
    EXPECT_EQ(m_main->statusText, QStringLiteral("unchanged"));

    ASSERT_TRUE(UnloadWindow(picker));
    QApplication::processEvents();
    EXPECT_TRUE(window->isEnabled());
    EXPECT_TRUE(m_main->entries.contains(QStringLiteral("enable frmGadget")));
    EXPECT_EQ(window->info()->ChildForm(), nullptr);

    // Closing a parent closes its open picker first.
    DataWindow* second = OpenPickerForm(window->kind, QStringLiteral("frmGadgets"));
    ASSERT_NE(second, nullptr);
    ASSERT_TRUE(UnloadWindow(window));
    QApplication::processEvents();
    EXPECT_TRUE(LoadedWindows().isEmpty());
}

TEST_P(MdiWindows, AChildThatRefusesToCloseKeepsItsParentOpen)
{
    frmGadget* parent = openNew();
    auto* child = static_cast<frmGadget*>(OpenFormWithParams(
        QStringLiteral("frmGadget"), 0, { QStringLiteral("Mode"), 1, QStringLiteral("Control"), ControlParameter(parent->kind) }));
    ASSERT_EQ(parent->info()->ChildForm(), child);
    child->info()->setDataChanged(true);
    Prompts().answer(MsgBox::Cancel);
    EXPECT_FALSE(UnloadWindow(parent));
    QApplication::processEvents();
    EXPECT_TRUE(LoadedWindows().contains(parent));
    EXPECT_TRUE(LoadedWindows().contains(child));

    // The record made from the picker becomes the picker's value.
    child->name->setValue(QStringLiteral("Made from the picker"));
    ASSERT_TRUE(child->info()->SaveData(true));
    EXPECT_EQ(parent->kind->Value().toInt(), child->info()->zID()->Value());
}

TEST_P(MdiWindows, CommandsReachTheActiveWindowOrBeep)
{
    SendCommandToActiveForm(5);
    EXPECT_EQ(Prompts().beeps, 1);
    frmGadget* window = openNew();
    m_main->area().setActiveSubWindow(qobject_cast<QMdiSubWindow*>(window->frame()));
    SendCommandToActiveForm(9);
    EXPECT_TRUE(window->events.contains(QStringLiteral("command 9")));
}

TEST_P(MdiWindows, AWindowBelowTheClientAreaOpensAtTheTop)
{
    frmGadget* window = openNew();
    window->frame()->resize(300, 200);
    window->frame()->move(50, 500);
    QApplication::processEvents();
    ASSERT_TRUE(UnloadWindow(window));
    QApplication::processEvents();
    // The size is remembered, raised to what the window's layout needs; the new window's place is
    // checked against the client area.
    frmGadget* again = openNew();
    EXPECT_EQ(again->frame()->size(), QSize(300, 200).expandedTo(again->frameSizeFor(again->contentsMinimumSize())));
    EXPECT_LE(again->frame()->y() + again->frame()->height(), m_main->clientAreaSize().height());
}

// A stored size that is no whole number of pixels is applied rounded; the rounded size is not
// the user's, so only a size the user gave the window in its normal state is saved.
TEST_P(MdiWindows, AWindowSavesOnlyASizeTheUserGaveItInTheNormalState)
{
    const auto storedSize = [] {
        std::unique_ptr<Recordset> size
            = OpenRecordset(QStringLiteral("EXEC usp_DB_Form_Size_Load @DB_App_Form_Name = 'frmGadget'"));
        return size && !size->eof() ? std::pair(size->value(0).toInt(), size->value(1).toInt()) : std::pair(0, 0);
    };
    const auto reopenAndClose = [](const std::function<void(QWidget*)>& user) {
        frmGadget* window = static_cast<frmGadget*>(
            OpenFormWithParams(QStringLiteral("frmGadget"), 0, { QStringLiteral("Mode"), 1 }));
        if (!window)
            return false;
        QApplication::processEvents();
        user(window->frame());
        QApplication::processEvents();
        const bool closed = UnloadWindow(window);
        QApplication::processEvents();
        return closed;
    };
    ASSERT_TRUE(reopenAndClose([](QWidget*) {}));
    EXPECT_EQ(storedSize(), std::pair(0, 0)) << "the design size is not the user's either";
    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("EXEC usp_DB_Form_Size_Save @DB_App_Form_Name = 'frmGadget', "
                                              "@DB_Width_Twips = 7000, @DB_Height_Twips = 5003")));

    const struct Case {
        const char* what;
        std::function<void(QWidget*)> user;
        std::pair<int, int> saved;
    } cases[] = {
        { "left alone", [](QWidget*) {}, std::pair(7000, 5003) },
        { "maximized at once", [](QWidget* frame) { frame->showMaximized(); }, std::pair(7000, 5003) },
        { "minimized and restored",
            [](QWidget* frame) {
                frame->showMinimized();
                QApplication::processEvents();
                frame->showNormal();
            },
            std::pair(7000, 5003) },
        { "resized and back to the size it opened with",
            [](QWidget* frame) {
                const QSize start = frame->size();
                frame->resize(300, 200);
                QApplication::processEvents();
                frame->resize(start);
            },
            std::pair(7000, 5003) },
        { "resized, then maximized",
            [](QWidget* frame) {
                frame->resize(420, 310);
                QApplication::processEvents();
                frame->showMaximized();
            },
            std::pair(6300, 4650) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(reopenAndClose(c.user));
        EXPECT_EQ(storedSize(), c.saved);
    }
}

TEST_P(MdiWindows, NextOnTheListOpensTheNextRecordAndClosesThisOne)
{
    auto* list = static_cast<frmGadgets*>(ShowFormByName(QStringLiteral("frmGadgets")));
    QList<int> ids;
    for (const char* name : { "one", "two" }) {
        ids << GetSQLValue(QStringLiteral("INSERT INTO Gadgets (Gadget_Name) VALUES ('%1') RETURNING Gadget_ID").arg(QLatin1String(name)))->toInt();
    }
    list->list->rows = ids;
    list->list->current = 0;
    auto* first = static_cast<frmGadget*>(OpenFormWithParams(QStringLiteral("frmGadget"), ids[0],
                                                              { QStringLiteral("Mode"), 2, QStringLiteral("IdentityValue"), ids[0] }));
    first->info()->ClickMove(1);
    QApplication::processEvents();
    EXPECT_FALSE(LoadedWindows().contains(first));
    frmGadget* second = nullptr;
    for (QWidget* w : LoadedWindows()) {
        if (auto* g = qobject_cast<frmGadget*>(w))
            second = g;
    }
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->info()->zID()->Value(), ids[1]);
    EXPECT_EQ(second->name->text(), QStringLiteral("two"));

    second->info()->ClickMove(1); // already the last row: beep, and close all the same
    QApplication::processEvents();
    EXPECT_EQ(Prompts().beeps, 1);
    EXPECT_FALSE(LoadedWindows().contains(second));
}

TEST_P(MdiWindows, PermissionRefusalsAndUnknownTablesSayWhy)
{
    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("UPDATE DB_Users SET DB_Sys_Admin = 0")));
    EXPECT_FALSE(CheckTablePermission(QStringLiteral("Delete"), QStringLiteral("DB_Users"), true));
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_EQ(Prompts().boxes[0].title, QStringLiteral("Table Permissions"));
    EXPECT_EQ(Prompts().boxes[0].text, QStringLiteral("You are not permitted to Delete <User>.\r\n\r\nPlease contact System Administrator if you "
                                                      "think that\r\nyou should have permissions to execute this action.\r\n\r\n"
                                                      "Action: Delete\r\nTable: Users\r\nUser Name: ")
                                           + UserName());
    Prompts().clear();
    EXPECT_FALSE(CheckTablePermission(QStringLiteral("View"), QStringLiteral("DB_Users"), false));
    EXPECT_TRUE(Prompts().boxes.empty()) << "a refusal is silent when not asked to show it";
    EXPECT_FALSE(CheckReportPermission(QStringLiteral(" Nothing "), false));
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_EQ(Prompts().boxes[0].text, QStringLiteral("Report <Nothing> wasn't found. Please contact System Administrator."));
    EXPECT_EQ(Prompts().boxes[0].title, QStringLiteral("Report Permissions"));
    Prompts().clear();
    EXPECT_FALSE(CheckActionPermission(QStringLiteral("RenameFiles"), true));
    EXPECT_TRUE(Prompts().boxes.at(0).text.startsWith(QStringLiteral("You are not permitted to execute action <Rename Files>.")));

    // OpenTableForm stops quietly after the refusal message.
    Prompts().clear();
    OpenTableForm(QStringLiteral("DB_Users"));
    EXPECT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_TRUE(LoadedWindows().isEmpty());
}

// A window that places its children by hand has no size hint; as a sub-window it keeps the size
// its constructor gave it.
TEST_P(MdiWindows, AWindowWithoutALayoutKeepsItsDesignSize)
{
    FormRegistry::registerForm(QStringLiteral("frmPlain"), [] {
        auto* window = new DataWindow(QStringLiteral("frmPlain"));
        window->info()->setFormType(FormType::Other);
        window->resize(400, 300);
        return window;
    });
    DataWindow* window = LoadFormByName(QStringLiteral("frmPlain"));
    ASSERT_NE(window, nullptr);
    QApplication::processEvents();
    EXPECT_TRUE(window->isChildOfMainWindow());
    EXPECT_EQ(window->size(), QSize(400, 300));
}

INSTANTIATE_TEST_SUITE_P(Engines, MdiWindows, ::testing::ValuesIn(TestEngines()), EngineTestName);

// Two clients of one server inserting at the same time each get their own new identity back.
TEST(ConcurrentClients, EachInsertReturnsItsOwnIdentity)
{
    if (!RequireEngine(Engine::PostgreSQL))
        GTEST_SKIP() << "no PostgreSQL cluster is running";
    TestDatabase database(Engine::PostgreSQL);
    auto first = database.connect();
    auto second = database.connect();
    first->executeStatement(QStringLiteral("CREATE TABLE Gadgets (Gadget_ID INTEGER GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY, "
                                           "Gadget_Name TEXT)"));
    first->beginTransaction();
    second->beginTransaction();
    const int a = first->execute(QStringLiteral("INSERT INTO Gadgets(Gadget_Name)\r\nVALUES('a')\r\nRETURNING Gadget_ID")).valueAt(0, 0).toInt();
    const int b = second->execute(QStringLiteral("INSERT INTO Gadgets(Gadget_Name)\r\nVALUES('b')\r\nRETURNING Gadget_ID")).valueAt(0, 0).toInt();
    // The later commit comes first: a maximum read now would hand both clients the same number.
    second->commitTransaction();
    first->commitTransaction();
    EXPECT_NE(a, b);
    EXPECT_EQ(first->execute(QStringLiteral("SELECT Gadget_Name FROM Gadgets WHERE Gadget_ID = %1").arg(a)).valueAt(0, 0).toString(), QStringLiteral("a"));
    EXPECT_EQ(first->execute(QStringLiteral("SELECT Gadget_Name FROM Gadgets WHERE Gadget_ID = %1").arg(b)).valueAt(0, 0).toString(), QStringLiteral("b"));
}

} // namespace
