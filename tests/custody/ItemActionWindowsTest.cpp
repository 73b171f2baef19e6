// The item action, action type, transfer and item location windows over a fresh database on both
// engines, driven as a clerk drives them, and the insert procedure the bulk action calls.

#include "../reference_tables/ReferenceFixture.h"

#include "cases/CaseWindows.h"
#include "core/Database.h"
#include "core/Recordset.h"
#include "core/SqlText.h"
#include "custody/CustodyWindows.h"
#include "form_framework/WindowList.h"
#include "form_framework/WindowOpening.h"
#include "form_framework/zFieldBase.h"
#include "form_framework/zIdentity.h"
#include "form_framework/zInfo.h"
#include "form_framework/zLabel.h"
#include "form_framework/zMemo.h"
#include "list_controls/zComboBoxText.h"
#include "list_controls/zListView.h"
#include "declared_windows/DeclaredRecordWindow.h"
#include "declared_windows/DeclaredSearchWindow.h"
#include "support/CaseRows.h"
#include "support/PromptRecorder.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableView>

#include <gtest/gtest.h>

namespace {

class ItemActionWindows : public ReferenceTest {
protected:
    void SetUp() override
    {
        ReferenceTest::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        RegisterCaseWindows();
        RegisterItemActionWindows();
        const CaseClasses classes = InsertCaseClasses();
        clerk = classes.employee;
        officer = InsertEmployee(QStringLiteral("P-2"));
        caseId = InsertCase(classes, QStringLiteral("20240307"));
        item = InsertItem(caseId, QStringLiteral("I-1"));
        const int batchType = insert(QStringLiteral("INSERT INTO Batch_Types (Batch_Type_Name, Batch_Type_Code) "
                                                    "VALUES ('Test Box', 'TBOX') RETURNING Batch_Type_ID"));
        batch = insert(QStringLiteral("INSERT INTO Batches (Batch_Number, Created_Date_Time, Created_By_Employee_ID, "
                                      "Batch_Type_ID) VALUES ('B-7', '2024-03-07 10:00:00', %1, %2) RETURNING Batch_ID")
                           .arg(clerk)
                           .arg(batchType));
        room = location(QStringLiteral("Room"));
        shelf = location(QStringLiteral("Shelf"));
        store = actionType(QStringLiteral("Store"), QStringLiteral("BC"), QStringLiteral("'Item_Locations'"));
        transfer = actionType(QStringLiteral("Transfer"), QStringLiteral("MC"), QStringLiteral("'Item_Transfers'"));
        release = actionType(QStringLiteral("Release"), QStringLiteral("EC"), QStringLiteral("'Item_Transfers'"));
        note = actionType(QStringLiteral("Note"), QStringLiteral("MC"), QStringLiteral("NULL"));
        Prompts().clear();
    }

    int location(const QString& name)
    {
        return insert(
            QStringLiteral("INSERT INTO Locations (Location_Name, Location_Code) VALUES (%1, %1) RETURNING Location_ID")
                .arg(SQLString(name)));
    }
    // A type at that chain position whose details live in the named table (an SQL literal).
    int actionType(const QString& name, const QString& chain, const QString& relatedTable)
    {
        return insert(
            QStringLiteral("INSERT INTO Item_Action_Types (Item_Action_Type_Name_Present, Item_Action_Type_Name_Past, "
                           "Item_Action_Type_Code, Item_Action_Time_ID, Related_DB_Table_ID) "
                           "SELECT %1, %1, %1, t.Item_Action_Time_ID, "
                           "(SELECT DB_Table_ID FROM DB_Tables WHERE DB_Table_Name = %3) "
                           "FROM Item_Action_Times t WHERE t.Item_Action_Time_Code = %2 RETURNING Item_Action_Type_ID")
                .arg(SQLString(name), SQLString(chain), relatedTable));
    }
    int action(int type, const QString& subjectColumn, int subject,
        const QString& when = QStringLiteral("2024-03-08 09:00:00"), int performer = 0)
    {
        return insert(QStringLiteral("INSERT INTO Item_Actions (%1, Item_Action_Type_ID, Performed_By_Employee_ID, "
                                     "Item_Action_Date_Time) VALUES (%2, %3, %4, %5) RETURNING Item_Action_ID")
                          .arg(subjectColumn)
                          .arg(subject)
                          .arg(type)
                          .arg(performer > 0 ? performer : clerk)
                          .arg(SQLString(when)));
    }
    static zComboBoxText* picker(DeclaredRecordWindow* window, const QString& name)
    {
        return qobject_cast<zComboBoxText*>(window->field(name));
    }
    static bool chosen(QWidget* window, int option)
    {
        return window->findChild<QRadioButton*>(QStringLiteral("optItemCase_%1").arg(option))->isChecked();
    }
    static void selectRow(DeclaredSearchWindow* search, int identity)
    {
        search->PopulateData();
        QApplication::processEvents();
        for (int row = 0; row < search->grid()->CountItems(); ++row) {
            search->grid()->listView()->selectRow(row);
            if (search->grid()->SelectedItemID() == identity)
                return;
        }
        ADD_FAILURE() << "no row " << identity;
    }
    QString lastMessage() const { return Prompts().boxes.empty() ? QString() : Prompts().boxes.back().text; }

    int clerk = 0, officer = 0, caseId = 0, item = 0, batch = 0, room = 0, shelf = 0;
    int store = 0, transfer = 0, release = 0, note = 0;
};

// ---- The insert procedure -----------------------------------------------------------------

TEST_P(ItemActionWindows, InsertProcedureWritesOneSubjectAndItsLocationTogether)
{
    if (IsSkipped())
        return;
    struct Case {
        const char* name;
        QString call;
        bool accepted;
        int locations; // item locations written with it
    };
    const QString tail
        = QStringLiteral(", @Item_Action_Date_Time = '3/8/2024 9:00:00 AM', @Item_Action_Description = 'It''s here'");
    const auto call = [&](const QString& subjects, int performer, int type, int where) {
        return QStringLiteral(
            "EXEC usp_Evd_Insert_Item_Action %1, @Performed_By_Employee_ID = %2, @Item_Action_Type_ID = %3%4, "
            "@Location_ID = %5")
            .arg(subjects)
            .arg(performer)
            .arg(type)
            .arg(tail)
            .arg(where);
    };
    const QString itemOnly = QStringLiteral("@Item_ID = %1").arg(item);
    const std::vector<Case> cases = {
        { "stored with its location", call(itemOnly, clerk, store, shelf), true, 1 },
        { "a case, no location", call(QStringLiteral("@Case_ID = %1").arg(caseId), clerk, store, 0), true, 0 },
        { "a transfer type takes no location",
            call(QStringLiteral("@Batch_ID = %1").arg(batch), clerk, transfer, shelf), true, 0 },
        { "no subject", call(QStringLiteral("@Item_ID = 0"), clerk, store, shelf), false, 0 },
        { "two subjects", call(itemOnly + QStringLiteral(", @Case_ID = %1").arg(caseId), clerk, store, shelf), false,
            0 },
        { "performer 0", call(itemOnly, 0, store, shelf), false, 0 },
        { "the bulk action's -1", call(itemOnly, -1, store, shelf), false, 0 },
        // The item location fails (no such location): the action goes with it.
        { "a failing item location", call(itemOnly, clerk, store, 999999), false, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int actionsBefore = count(QStringLiteral("SELECT COUNT(*) FROM Item_Actions"));
        const int locationsBefore = count(QStringLiteral("SELECT COUNT(*) FROM Item_Locations"));
        Prompts().clear();
        std::unique_ptr<Recordset> result = OpenRecordset(c.call);
        EXPECT_EQ(result != nullptr, c.accepted) << lastMessage().toStdString();
        EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Item_Actions")), actionsBefore + (c.accepted ? 1 : 0));
        EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Item_Locations")), locationsBefore + c.locations);
        if (result && c.accepted) {
            const int id = result->valueAt(0, 0).toInt();
            EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Item_Actions WHERE Item_Action_ID = %1 "
                                           "AND Item_Action_Description = 'It''s here'")
                                .arg(id)),
                1);
        }
        CloseRecordset(result);
    }
    Prompts().clear();
    EXPECT_EQ(OpenRecordset(call(itemOnly, -1, store, shelf)), nullptr);
    EXPECT_TRUE(lastMessage().contains(QStringLiteral("needs the employee who performed it")))
        << lastMessage().toStdString();
}

// ---- Item actions -------------------------------------------------------------------------

TEST_P(ItemActionWindows, TheSubjectIsRestoredOnLoadingAndChosenByAPreset)
{
    if (IsSkipped())
        return;
    const int onCase = action(note, QStringLiteral("Case_ID"), caseId);
    DeclaredRecordWindow* window = openEdit(QStringLiteral("frmItemAction"), onCase);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(chosen(window, 1));
    EXPECT_FALSE(window->field(QStringLiteral("zcbtItem"))->Applicable());
    EXPECT_TRUE(window->field(QStringLiteral("zcbtCase"))->Applicable());
    EXPECT_FALSE(window->findChild<zLabel*>(QStringLiteral("zlblICB(0)"))->Applicable());
    EXPECT_EQ(window->field(QStringLiteral("zcbtCase"))->Value().toInt(), caseId);

    // Moving a stored action to a batch stores the batch alone.
    window->findChild<QRadioButton*>(QStringLiteral("optItemCase_2"))->setChecked(true);
    window->field(QStringLiteral("zcbtBatch"))->setValue(batch);
    EXPECT_EQ(save(window), QString());
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Item_Actions WHERE Item_Action_ID = %1 AND Case_ID IS NULL "
                                   "AND Item_ID IS NULL AND Batch_ID = %2")
                        .arg(onCase)
                        .arg(batch)),
        1);

    const struct {
        const char* key;
        int identity;
        int option;
        const char* pickerName;
    } presets[] = { { "Case_ID", caseId, 1, "zcbtCase" }, { "Batch_ID", batch, 2, "zcbtBatch" } };
    for (const auto& p : presets) {
        auto* added = qobject_cast<DeclaredRecordWindow*>(OpenFormWithParams(
            QStringLiteral("frmItemAction"), 0, { QStringLiteral("Mode"), 1, QString::fromLatin1(p.key), p.identity }));
        ASSERT_NE(added, nullptr) << p.key;
        EXPECT_TRUE(chosen(added, p.option)) << p.key;
        EXPECT_EQ(added->field(QString::fromLatin1(p.pickerName))->Value().toInt(), p.identity) << p.key;
        EXPECT_FALSE(added->field(QStringLiteral("zcbtItem"))->Applicable()) << p.key;
        UnloadWindow(added);
    }
}

TEST_P(ItemActionWindows, TheTypeDetailsFollowEveryChangeOfTheAction)
{
    if (IsSkipped())
        return;
    const int stored = action(store, QStringLiteral("Item_ID"), item);
    DeclaredRecordWindow* window = openEdit(QStringLiteral("frmItemAction"), stored);
    ASSERT_NE(window, nullptr);
    zFieldBase* memo = window->field(QStringLiteral("ztxtMemo"));
    EXPECT_TRUE(memo->Value().toString().startsWith(QStringLiteral("Store / Store (Store)")))
        << memo->Value().toString().toStdString();
    EXPECT_TRUE(memo->Value().toString().contains(QStringLiteral("Beginning of Chain")));
    window->field(QStringLiteral("zcbtAction"))->setValue(transfer);
    EXPECT_TRUE(memo->Value().toString().startsWith(QStringLiteral("Transfer")))
        << memo->Value().toString().toStdString();
    EXPECT_TRUE(memo->Value().toString().contains(QStringLiteral("Item Transfers")));
    window->field(QStringLiteral("zcbtAction"))->setValue(-1);
    EXPECT_EQ(memo->Value().toString(), QString());
}

// The summary of the longest type the table takes shows whole in the window as it opens: every
// line of it in view, nothing scrolled out of sight to either side or below.
TEST_P(ItemActionWindows, TheTypeDetailsShowWhole)
{
    if (IsSkipped())
        return;
    const int received = insert(QStringLiteral(
        "INSERT INTO Item_Action_Types (Item_Action_Type_Name_Present, Item_Action_Type_Name_Past, "
        "Item_Action_Type_Code, Item_Action_Time_ID, Related_DB_Table_ID, Comments) "
        "SELECT 'Receive from an outside agency', 'Received from an outside agency', 'RCV', "
        "Item_Action_Time_ID, (SELECT DB_Table_ID FROM DB_Tables WHERE DB_Table_Name = 'Item_Transfers'), "
        "'Count the sealed bags; photograph each seal first' FROM Item_Action_Times "
        "WHERE Item_Action_Time_Code = 'MC' RETURNING Item_Action_Type_ID"));
    DeclaredRecordWindow* window = openNew(QStringLiteral("frmItemAction"));
    ASSERT_NE(window, nullptr);
    window->field(QStringLiteral("zcbtAction"))->setValue(received);
    QApplication::processEvents();
    auto* memo = qobject_cast<zMemo*>(window->field(QStringLiteral("ztxtMemo")));
    ASSERT_NE(memo, nullptr);
    const QString details = memo->Value().toString();
    EXPECT_TRUE(details.startsWith(QStringLiteral("Receive from an outside agency / Received")))
        << details.toStdString();
    EXPECT_TRUE(details.endsWith(QStringLiteral("photograph each seal first"))) << details.toStdString();
    EXPECT_TRUE(memo->isVisible());
    EXPECT_EQ(memo->box()->horizontalScrollBar()->maximum(), 0);
    EXPECT_EQ(memo->box()->verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(memo->box()->verticalScrollBar()->value(), 0);
    window->info()->setDataChanged(false);
    UnloadWindow(window);
}

TEST_P(ItemActionWindows, DetailsOpenTheDetailWindowOfTheType)
{
    if (IsSkipped())
        return;
    const int storedNoLocation = action(store, QStringLiteral("Item_ID"), item);
    const int storedWithLocation
        = action(store, QStringLiteral("Item_ID"), item, QStringLiteral("2024-03-09 09:00:00"));
    const int placed = insert(QStringLiteral("INSERT INTO Item_Locations (Item_Action_ID, Location_ID) VALUES (%1, %2) "
                                             "RETURNING Item_Location_ID")
                                  .arg(storedWithLocation)
                                  .arg(shelf));
    const int noted = action(note, QStringLiteral("Item_ID"), item);
    const int unknownType = actionType(QStringLiteral("Reopen"), QStringLiteral("MC"), QStringLiteral("'Cases'"));
    const int reopened = action(unknownType, QStringLiteral("Item_ID"), item);
    const QString noDetails = QStringLiteral("No details logic associated with this type of action.");

    for (const int id : { noted, reopened }) {
        DeclaredRecordWindow* window = openEdit(QStringLiteral("frmItemAction"), id);
        ASSERT_NE(window, nullptr);
        Prompts().clear();
        click(window, "btnDetails");
        EXPECT_EQ(lastMessage(), noDetails);
        UnloadWindow(window);
    }

    DeclaredRecordWindow* window = openEdit(QStringLiteral("frmItemAction"), storedNoLocation);
    ASSERT_NE(window, nullptr);
    window->runAction(QStringLiteral("view details"));
    auto* fresh = loaded<DeclaredRecordWindow>("frmItemLocation");
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(fresh->info()->Mode(), FormMode::Add);
    EXPECT_EQ(fresh->field(QStringLiteral("zcbtItemAction"))->Value().toInt(), storedNoLocation);
    UnloadWindow(fresh);

    DeclaredSearchWindow* search = openSearch(QStringLiteral("frmItemActions"));
    ASSERT_NE(search, nullptr);
    selectRow(search, storedWithLocation);
    search->runAction(QStringLiteral("View Details"));
    auto* existing = loaded<DeclaredRecordWindow>("frmItemLocation");
    ASSERT_NE(existing, nullptr);
    EXPECT_EQ(existing->identity()->Value(), placed);

    // Letter case of the table name does not matter.
    owner().executeStatement(
        QStringLiteral("UPDATE DB_Tables SET DB_Table_Name = 'ITEM_TRANSFERS' WHERE DB_Table_Name = 'Item_Transfers'"));
    const int moved = action(transfer, QStringLiteral("Case_ID"), caseId);
    window->identity()->setValue(moved);
    window->runAction(QStringLiteral("View Details"));
    auto* transferWindow = loaded<DeclaredRecordWindow>("frmItemTransfer");
    ASSERT_NE(transferWindow, nullptr);
    EXPECT_EQ(transferWindow->field(QStringLiteral("zcbtItemAction"))->Value().toInt(), moved);

    // With nothing saved or selected there is no action to detail.
    DeclaredRecordWindow* added = openNew(QStringLiteral("frmItemAction"));
    ASSERT_NE(added, nullptr);
    Prompts().clear();
    click(added, "btnDetails");
    EXPECT_EQ(lastMessage(), QStringLiteral("Please save the record before creating details."));
    UnloadWindow(search);
    QApplication::processEvents();
    DeclaredSearchWindow* empty = openSearch(QStringLiteral("frmItemActions"));
    ASSERT_NE(empty, nullptr);
    Prompts().clear();
    empty->runAction(QStringLiteral("View Details"));
    EXPECT_EQ(lastMessage(), QStringLiteral("Please save the record before creating details."));
}

// ---- Transfers ----------------------------------------------------------------------------

// The action pickers of the detail windows name each action's moment in the general date form, as
// the date fields and grids show it, on both engines; the transfer's action, required and alone in
// its list, is chosen for the clerk.
TEST_P(ItemActionWindows, ActionPickersShowTheirMomentsInTheGeneralDateForm)
{
    action(store, QStringLiteral("Item_ID"), item, QStringLiteral("2024-03-05 14:07:00"));
    action(store, QStringLiteral("Case_ID"), caseId, QStringLiteral("2024-03-06 00:00:00"));
    const int moved = action(transfer, QStringLiteral("Batch_ID"), batch, QStringLiteral("2024-12-07 09:05:30"));
    const struct {
        const char* window;
        QStringList texts;
        int chosen;
    } cases[] = {
        { "frmItemLocation",
            { QStringLiteral("Case 20240307 - Store 03/06/2024"),
                QStringLiteral("Item I-1 - Store 03/05/2024 2:07:00 PM") },
            -1 },
        { "frmItemTransfer", { QStringLiteral("Batch B-7 - Transfer 12/07/2024 9:05:30 AM") }, moved },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.window);
        DeclaredRecordWindow* window = openNew(QString::fromLatin1(c.window));
        ASSERT_NE(window, nullptr);
        zComboBoxText* actions = picker(window, QStringLiteral("zcbtItemAction"));
        QStringList texts;
        for (int row = 0; row < actions->ListCount(); ++row)
            texts << actions->ListText(row);
        EXPECT_EQ(texts, c.texts);
        EXPECT_EQ(actions->Value().toInt(), c.chosen);
        window->info()->setDataChanged(false);
        UnloadWindow(window);
    }
}

TEST_P(ItemActionWindows, TheChainPositionDecidesWhichEmployeesTakePart)
{
    if (IsSkipped())
        return;
    // Answers in lower case count, unknown ones leave the employees as the last known answer set them.
    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral(
        "UPDATE Item_Action_Times SET Item_Action_Time_Code = 'ec' WHERE Item_Action_Time_Code = 'EC'")));
    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral(
        "INSERT INTO Item_Action_Times (Item_Action_Time_Name, Item_Action_Time_Code) VALUES ('Odd', 'XX')")));
    const int odd = actionType(QStringLiteral("Odd"), QStringLiteral("XX"), QStringLiteral("'Item_Transfers'"));
    const int receive = actionType(QStringLiteral("Receive"), QStringLiteral("BC"), QStringLiteral("'Item_Transfers'"));
    const struct {
        int type;
        bool from;
        bool to;
    } steps[] = { { receive, false, true }, { odd, false, true }, { transfer, true, true }, { release, true, false },
        { odd, true, false } };
    DeclaredRecordWindow* window = openNew(QStringLiteral("frmItemTransfer"));
    ASSERT_NE(window, nullptr);
    for (const auto& step : steps) {
        const int id = action(step.type, QStringLiteral("Item_ID"), item);
        picker(window, QStringLiteral("zcbtItemAction"))->RePopulate();
        window->field(QStringLiteral("zcbtItemAction"))->setValue(id);
        SCOPED_TRACE(step.type);
        EXPECT_EQ(window->field(QStringLiteral("zcbtEmployee(0)"))->Applicable(), step.from);
        EXPECT_EQ(window->findChild<zLabel*>(QStringLiteral("zlblEmployee(0)"))->Applicable(), step.from);
        EXPECT_EQ(window->field(QStringLiteral("zcbtEmployee(1)"))->Applicable(), step.to);
    }

    // A beginning of chain stores no From employee, even one chosen before.
    const int begun = action(receive, QStringLiteral("Case_ID"), caseId);
    picker(window, QStringLiteral("zcbtItemAction"))->RePopulate();
    window->field(QStringLiteral("zcbtItemAction"))->setValue(-1);
    window->field(QStringLiteral("zcbtItemAction"))->setValue(begun);
    window->field(QStringLiteral("zcbtLocation(0)"))->setValue(room);
    window->field(QStringLiteral("zcbtLocation(1)"))->setValue(shelf);
    window->field(QStringLiteral("zcbtEmployee(1)"))->setValue(officer);
    EXPECT_EQ(save(window), QString());
    EXPECT_EQ(count(QStringLiteral(
                  "SELECT COUNT(*) FROM Item_Transfers WHERE Item_Action_ID = %1 AND From_Employee_ID IS NULL "
                  "AND To_Employee_ID = %2")
                        .arg(begun)
                        .arg(officer)),
        1);
}

TEST_P(ItemActionWindows, ANewTransferStartsWhereItsSubjectWasLastPut)
{
    if (IsSkipped())
        return;
    const int placed = action(store, QStringLiteral("Item_ID"), item, QStringLiteral("2024-03-08 09:00:00"), officer);
    insert(QStringLiteral(
        "INSERT INTO Item_Locations (Item_Action_ID, Location_ID) VALUES (%1, %2) RETURNING Item_Location_ID")
               .arg(placed)
               .arg(shelf));
    const int moving = action(transfer, QStringLiteral("Item_ID"), item, QStringLiteral("2024-03-09 09:00:00"));
    const int firstOfCase = action(transfer, QStringLiteral("Case_ID"), caseId, QStringLiteral("2024-03-09 09:00:00"));

    const auto leaveAction = [](DeclaredRecordWindow* window, int id) {
        window->field(QStringLiteral("zcbtItemAction"))->setValue(id);
        Q_EMIT picker(window, QStringLiteral("zcbtItemAction"))->DropDownLostFocus();
    };
    const struct {
        const char* name;
        int action;
        int presetLocation; // 0: none
        int location;
        int employee;
    } cases[] = {
        { "both From fields taken", moving, 0, shelf, officer },
        { "a chosen From location is kept", moving, room, room, officer },
        { "nothing earlier", firstOfCase, 0, -1, -1 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DeclaredRecordWindow* window = openNew(QStringLiteral("frmItemTransfer"));
        ASSERT_NE(window, nullptr);
        if (c.presetLocation)
            window->field(QStringLiteral("zcbtLocation(0)"))->setValue(c.presetLocation);
        leaveAction(window, c.action);
        EXPECT_EQ(window->field(QStringLiteral("zcbtLocation(0)"))->Value().toInt(), c.location);
        EXPECT_EQ(window->field(QStringLiteral("zcbtEmployee(0)"))->Value().toInt(), c.employee);
        EXPECT_EQ(window->field(QStringLiteral("zcbtLocation(1)"))->Value().toInt(), -1)
            << "the To fields are never touched";
        UnloadWindow(window);
    }

    // A stored transfer keeps its From fields.
    const int stored
        = insert(QStringLiteral("INSERT INTO Item_Transfers (Item_Action_ID, From_Location_ID, To_Location_ID) "
                                "VALUES (%1, %2, %2) RETURNING Item_Transfer_ID")
                     .arg(moving)
                     .arg(room));
    DeclaredRecordWindow* window = openEdit(QStringLiteral("frmItemTransfer"), stored);
    ASSERT_NE(window, nullptr);
    leaveAction(window, moving);
    EXPECT_EQ(window->field(QStringLiteral("zcbtEmployee(0)"))->Value().toInt(), -1);
}

TEST_P(ItemActionWindows, TransferFieldRulesAndUniqueAction)
{
    if (IsSkipped())
        return;
    // Two weight units: a picker of one entry chooses it by itself.
    const auto unit = [this](const char* name, const char* code) {
        return insert(
            QStringLiteral("INSERT INTO Units (Unit_Type_ID, Unit_Name, Unit_Code) SELECT Unit_Type_ID, '%1', '%2' "
                           "FROM Unit_Types WHERE Unit_Type_Code = 'W' RETURNING Unit_ID")
                .arg(QLatin1String(name), QLatin1String(code)));
    };
    const int gram = unit("Gram", "g");
    unit("Ounce", "oz");
    ASSERT_GT(gram, 0);
    const int moving = action(transfer, QStringLiteral("Item_ID"), item);
    DeclaredRecordWindow* window = openNew(QStringLiteral("frmItemTransfer"));
    ASSERT_NE(window, nullptr);
    window->field(QStringLiteral("zcbtItemAction"))->setValue(moving);
    window->field(QStringLiteral("zcbtEmployee(0)"))->setValue(clerk);
    window->field(QStringLiteral("zcbtEmployee(1)"))->setValue(officer);
    // Locations by record code and by name.
    type(window->field(QStringLiteral("zcbtLocation(0)")), QStringLiteral("L-%1").arg(room, 10, 10, QLatin1Char('0')));
    type(window->field(QStringLiteral("zcbtLocation(1)")), QStringLiteral("Shelf"));
    EXPECT_EQ(window->field(QStringLiteral("zcbtLocation(0)"))->Value().toInt(), room);
    EXPECT_EQ(window->field(QStringLiteral("zcbtLocation(1)"))->Value().toInt(), shelf);

    const struct {
        QVariant weight;
        int unit;
        const char* message; // what the message contains; "" saved
    } cases[] = {
        { QVariant(), gram, "Weight Out Unit cannot be populated if Item Weight Out is empty." },
        { 12.5, -1, "Weight Out Unit is required if Item Weight Out is populated." },
        // The field's own decimals and range.
        { 12.3456, gram, "Only 3 digits after decimal point allowed." },
        { 0, gram, "Item Weight Out" },
        { 12.345, gram, "" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        window->field(QStringLiteral("znumWeight(0)"))->setValue(c.weight);
        window->field(QStringLiteral("zcbtUnit(0)"))->setValue(c.unit);
        const QString shown = save(window);
        if (*c.message)
            EXPECT_TRUE(shown.contains(QString::fromLatin1(c.message))) << shown.toStdString();
        else
            EXPECT_EQ(shown, QString())
                << window->field(QStringLiteral("znumWeight(0)"))->Value().toString().toStdString();
    }
    // A second transfer for the same action is refused.
    DeclaredRecordWindow* second = openNew(QStringLiteral("frmItemTransfer"));
    ASSERT_NE(second, nullptr);
    second->field(QStringLiteral("zcbtItemAction"))->setValue(moving);
    second->field(QStringLiteral("zcbtLocation(0)"))->setValue(room);
    second->field(QStringLiteral("zcbtLocation(1)"))->setValue(room);
    second->field(QStringLiteral("zcbtEmployee(0)"))->setValue(clerk);
    second->field(QStringLiteral("zcbtEmployee(1)"))->setValue(clerk);
    EXPECT_TRUE(save(second).contains(QStringLiteral("already exists in the database"))) << lastMessage().toStdString();
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Item_Transfers")), 1);
}

// ---- Item locations and action types ------------------------------------------------------

TEST_P(ItemActionWindows, ItemLocationsViewTheirActionAndSubject)
{
    if (IsSkipped())
        return;
    const int onCase = action(store, QStringLiteral("Case_ID"), caseId);
    const int placed = insert(QStringLiteral("INSERT INTO Item_Locations (Item_Action_ID, Location_ID) VALUES (%1, %2) "
                                             "RETURNING Item_Location_ID")
                                  .arg(onCase)
                                  .arg(shelf));
    DeclaredRecordWindow* window = openEdit(QStringLiteral("frmItemLocation"), placed);
    ASSERT_NE(window, nullptr);
    window->runAction(QStringLiteral("View Item / Case / Batch"));
    auto* caseWindow = loaded<DeclaredRecordWindow>("frmCase");
    ASSERT_NE(caseWindow, nullptr);
    EXPECT_EQ(caseWindow->identity()->Value(), caseId);
    window->runAction(QStringLiteral("View Action"));
    auto* actionWindow = loaded<DeclaredRecordWindow>("frmItemAction");
    ASSERT_NE(actionWindow, nullptr);
    EXPECT_EQ(actionWindow->identity()->Value(), onCase);
}

TEST_P(ItemActionWindows, ATypedTypeNameFillsBothNames)
{
    if (IsSkipped())
        return;
    DeclaredRecordWindow* window = openNew(QStringLiteral("frmItemActionType"), QStringLiteral("Photograph"));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->field(QStringLiteral("ztxtName(0)"))->Value().toString(), QStringLiteral("Photograph"));
    EXPECT_EQ(window->field(QStringLiteral("ztxtName(1)"))->Value().toString(), QStringLiteral("Photograph"));
}

// "Me" in the performer picker stands for the log-in's employee. A log-in no employee is linked to
// is told so, and who links one, rather than offered to add an employee called "me".
TEST_P(ItemActionWindows, MeFromALogInWithoutAnEmployeeSaysWhoLinksOne)
{
    if (IsSkipped())
        return;
    const auto link = [this](const QString& employee) {
        owner().executeStatement(
            QStringLiteral("UPDATE DB_Users SET Employee_ID = %1 WHERE LOWER(DB_User_Name) = LOWER(%2)")
                .arg(employee, SQLString(UserName())));
    };
    link(QStringLiteral("NULL"));
    DeclaredRecordWindow* window = openNew(QStringLiteral("frmItemAction"));
    ASSERT_NE(window, nullptr);
    zComboBoxText* performer = picker(window, QStringLiteral("zcbtEmployee"));
    type(performer, QStringLiteral("me"));
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_EQ(Prompts().boxes.back().text,
        QStringLiteral("This log-in <%1> has no employee, so <me> names no one. An administrator links an employee "
                       "to the log-in in its User window.")
            .arg(UserName()));
    EXPECT_EQ(performer->Text(), QString());
    // Saving then asks for the performer; it never offers to add an employee.
    EXPECT_FALSE(window->info()->SaveData(false));
    for (const auto& box : Prompts().boxes)
        EXPECT_FALSE(box.text.contains(QStringLiteral("Would you like to add"))) << box.text.toStdString();

    link(QString::number(officer));
    Prompts().clear();
    type(performer, QStringLiteral("Me"));
    EXPECT_EQ(performer->Value().toInt(), officer);
    EXPECT_TRUE(Prompts().boxes.empty());
    window->info()->setDataChanged(false);
    UnloadWindow(window);
}

// The related table is named as the program shows it, or by its internal name; none is added here.
TEST_P(ItemActionWindows, TheRelatedTableTakesTheShownOrTheInternalName)
{
    if (IsSkipped())
        return;
    DeclaredRecordWindow* window = openNew(QStringLiteral("frmItemActionType"));
    ASSERT_NE(window, nullptr);
    zFieldBase* table = window->field(QStringLiteral("zcbtTable"));
    const int itemActions = count(QStringLiteral("SELECT DB_Table_ID FROM DB_Tables WHERE DB_Table_Name = 'Item_Actions'"));
    for (const char* typed : { "Item Actions", "ITEM_ACTIONS" }) {
        table->setValue(QVariant());
        type(table, QString::fromLatin1(typed));
        EXPECT_EQ(table->Value().toInt(), itemActions) << typed;
    }
    auto* button = table->findChild<QPushButton*>(QStringLiteral("btnButton"));
    EXPECT_TRUE(button == nullptr || !button->isVisible()) << "the picker offers to add a table";
    window->info()->setDataChanged(false);
}

INSTANTIATE_TEST_SUITE_P(Engines, ItemActionWindows, ::testing::ValuesIn(TestEngines()), EngineTestName);
INSTANTIATE_CLERK_SUITE(ItemActionWindows);

} // namespace
