// The batch and batch-item windows over a fresh database on both engines, driven as a clerk
// drives them: the membership checks and their order, the case pair check, the item-or-case
// option on loading and from an opener, the searches by item and by case, the batch's record
// code, and the actions with the exact calls they send.

#include "../reference_tables/ReferenceFixture.h"

#include "cases/CaseWindows.h"
#include "core/Database.h"
#include "core/SqlText.h"
#include "custody/CustodyWindows.h"
#include "form_framework/WindowList.h"
#include "form_framework/WindowOpening.h"
#include "form_framework/zExtendedLabel.h"
#include "form_framework/zFieldBase.h"
#include "form_framework/zIdentity.h"
#include "form_framework/zInfo.h"
#include "list_controls/zComboBoxText.h"
#include "list_controls/zListView.h"
#include "declared_windows/DeclaredRecordWindow.h"
#include "declared_windows/DeclaredSearchWindow.h"
#include "support/CaseRows.h"
#include "support/PromptRecorder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class BatchWindows : public ReferenceTest {
protected:
    void SetUp() override
    {
        ReferenceTest::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        RegisterCaseWindows();
        RegisterBatchWindows();
        classes = InsertCaseClasses();
        employee = classes.employee;
        boxType = count(QStringLiteral("SELECT Batch_Type_ID FROM Batch_Types WHERE Batch_Type_Code = 'BOX'"));
        courtType = count(QStringLiteral("SELECT Batch_Type_ID FROM Batch_Types WHERE Batch_Type_Code = 'COURT'"));

        // Case A with items, case B with item B-1; two boxes and a court list.
        caseA = addCase(QStringLiteral("CASE-A"));
        caseB = addCase(QStringLiteral("CASE-B"));
        itemA1 = addItem(caseA, QStringLiteral("A-1"));
        itemA2 = addItem(caseA, QStringLiteral("A-2"));
        itemB1 = addItem(caseB, QStringLiteral("B-1"));
        box1 = addBatch(QStringLiteral("BOX-1"), boxType);
        box2 = addBatch(QStringLiteral("BOX-2"), boxType);
        court = addBatch(QStringLiteral("COURT-1"), courtType);
        a1InBox1 = addMembership(box1, QStringLiteral("Item_ID"), itemA1);
        addMembership(box2, QStringLiteral("Case_ID"), caseB);
        addMembership(court, QStringLiteral("Case_ID"), caseA);
    }
    void TearDown() override
    {
        SetCommandObserver({});
        ReferenceTest::TearDown();
    }

    int addCase(const QString& number) { return InsertCase(classes, number, QStringLiteral("2004-03-07 21:15:00")); }
    int addItem(int caseId, const QString& number) { return InsertItem(caseId, number); }
    int addBatch(const QString& number, int type)
    {
        return insert(QStringLiteral("INSERT INTO Batches (Batch_Number, Created_Date_Time, Created_By_Employee_ID, "
                                     "Batch_Type_ID) VALUES (%1, '2024-05-01 10:00:00', %2, %3) RETURNING Batch_ID")
                          .arg(SQLString(number))
                          .arg(employee)
                          .arg(type));
    }
    int addMembership(int batch, const QString& column, int member)
    {
        return insert(QStringLiteral("INSERT INTO Batch_Items (Batch_ID, %1) VALUES (%2, %3) RETURNING Batch_Item_ID")
                          .arg(column)
                          .arg(batch)
                          .arg(member));
    }
    int memberships() { return count(QStringLiteral("SELECT COUNT(*) FROM Batch_Items")); }

    static QAbstractButton* option(QWidget* window, int index)
    {
        return window->findChild<QAbstractButton*>(QStringLiteral("optItemCase_%1").arg(index));
    }
    // Every command text sent from now on that contains the fragment.
    void watch(const QString& fragment)
    {
        sent.clear();
        SetCommandObserver([this, fragment](const QString& sql) {
            if (sql.contains(fragment))
                sent << sql;
        });
    }
    DeclaredSearchWindow* searchWith(const QString& name, const QString& column, int identity)
    {
        auto* window = qobject_cast<DeclaredSearchWindow*>(OpenFormWithParams(name, 0, { column, identity }));
        QApplication::processEvents();
        return window;
    }

    CaseClasses classes;
    int employee = 0, boxType = 0, courtType = 0;
    int caseA = 0, caseB = 0, itemA1 = 0, itemA2 = 0, itemB1 = 0;
    int box1 = 0, box2 = 0, court = 0, a1InBox1 = 0;
    QStringList sent;
};

QString checkName(const QString& sql) { return sql.section(QLatin1Char(' '), 1, 1); }

TEST_P(BatchWindows, MembershipChecksRunInOrderAndStopTheSave)
{
    const QString item = QStringLiteral("usp_Evd_Check_Item_In_Batch");
    const QString itemPhysical = QStringLiteral("usp_Evd_Check_Item_In_Single_Physical_Batch");
    const QString theCase = QStringLiteral("usp_Evd_Check_Case_In_Batch");
    const QString casePhysical = QStringLiteral("usp_Evd_Check_Case_In_Single_Physical_Batch");
    const struct {
        const char* what;
        int batch;
        bool wholeCase;
        int member;
        QString message; // "" saves
        QStringList checks; // the procedures sent, in order
    } cases[] = {
        { "item already in the batch", box1, false, itemA1,
            QStringLiteral("Item <A-1> is already in the Batch <BOX-1>."), { item } },
        { "case whose item is in the batch", box1, true, caseA,
            QStringLiteral("Case <CASE-A> is already in the Batch <BOX-1>."), { theCase } },
        { "case already in the court list", court, true, caseA,
            QStringLiteral("Case <CASE-A> is already in the Batch <COURT-1>."), { theCase } },
        { "item whose case is in the batch", court, false, itemA2,
            QStringLiteral("Item <A-2> is already in the Batch <COURT-1>."), { item } },
        { "item whose case is in another box", box1, false, itemB1,
            QStringLiteral("Item <B-1> is in another Physical Batch <BOX-2>."), { item, itemPhysical } },
        { "case in another box", box1, true, caseB,
            QStringLiteral("Case <CASE-B> is in another Physical Batch <BOX-2>."), { theCase, casePhysical } },
        { "case one of whose items is in another box", box2, true, caseA,
            QStringLiteral("Case <CASE-A> is in another Physical Batch <BOX-1>."), { theCase, casePhysical } },
        { "a box held elsewhere is free for a court list", court, false, itemB1, QString(), { item, itemPhysical } },
        { "another item of a boxed case", box2, false, itemA2, QString(), { item, itemPhysical } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const int before = memberships();
        DeclaredRecordWindow* window = openNew(QStringLiteral("frmBatchItem"));
        ASSERT_NE(window, nullptr);
        field(window, "zcbtBatch")->setValue(c.batch);
        if (c.wholeCase)
            QTest::mouseClick(option(window, 1), Qt::LeftButton);
        field(window, c.wholeCase ? "zcbtCase" : "zcbtItem")->setValue(c.member);
        watch(QStringLiteral("usp_Evd_Check_"));
        EXPECT_EQ(save(window), c.message);
        QStringList names;
        for (const QString& sql : sent)
            names << checkName(sql);
        EXPECT_EQ(names, c.checks);
        EXPECT_EQ(memberships(), before + (c.message.isEmpty() ? 1 : 0));
        if (!c.message.isEmpty()) {
            EXPECT_EQ(
                field(window, c.wholeCase ? "zcbtCase" : "zcbtItem")->FieldError() + QStringLiteral("."), c.message);
        }
        window->info()->setDataChanged(false);
        UnloadWindow(window);
    }
}

TEST_P(BatchWindows, ChecksSendNullForANewMembershipAndItsOwnIdentityWhenEdited)
{
    DeclaredRecordWindow* added = openNew(QStringLiteral("frmBatchItem"));
    ASSERT_NE(added, nullptr);
    field(added, "zcbtBatch")->setValue(box2);
    field(added, "zcbtItem")->setValue(itemA2);
    watch(QStringLiteral("usp_Evd_Check_Item_In_Batch"));
    ASSERT_EQ(save(added), QString());
    ASSERT_EQ(sent.size(), 1);
    EXPECT_EQ(sent.front(),
        QStringLiteral("EXEC usp_Evd_Check_Item_In_Batch @Batch_Item_ID = NULL, @Batch_ID = %1, @Item_ID = %2")
            .arg(box2)
            .arg(itemA2));

    // Saved again unchanged, the membership does not find itself.
    DeclaredRecordWindow* edited = openEdit(QStringLiteral("frmBatchItem"), a1InBox1);
    ASSERT_NE(edited, nullptr);
    watch(QStringLiteral("usp_Evd_Check_"));
    edited->info()->setDataChanged(true);
    EXPECT_EQ(save(edited), QString());
    ASSERT_EQ(sent.size(), 2);
    for (const QString& sql : sent)
        EXPECT_TRUE(sql.contains(QStringLiteral("@Batch_Item_ID = %1, ").arg(a1InBox1))) << sql.toStdString();

    // No batch chosen: the batch's own required check fails first and nothing is asked.
    DeclaredRecordWindow* empty = openNew(QStringLiteral("frmBatchItem"));
    field(empty, "zcbtItem")->setValue(itemB1);
    watch(QStringLiteral("usp_Evd_Check_"));
    EXPECT_TRUE(save(empty).startsWith(QStringLiteral("Batch Number")));
    EXPECT_TRUE(sent.isEmpty());
    empty->info()->setDataChanged(false);
}

TEST_P(BatchWindows, PairCheckHoldsForCasesOnlyAndNothingIsHalfSaved)
{
    // Several item memberships of one batch: the case column is NULL in each, which is no pair.
    const int list = addBatch(QStringLiteral("LIST-X"), courtType);
    const int before = memberships();
    for (int item : { itemA2, itemB1 }) {
        DeclaredRecordWindow* window = openNew(QStringLiteral("frmBatchItem"));
        field(window, "zcbtBatch")->setValue(list);
        field(window, "zcbtItem")->setValue(item);
        EXPECT_EQ(save(window), QString());
        UnloadWindow(window);
    }
    EXPECT_EQ(memberships(), before + 2);

    // The same case twice in one batch is refused, and only one row stands.
    const int other = addBatch(QStringLiteral("LIST-Y"), courtType);
    for (int attempt = 0; attempt < 2; ++attempt) {
        DeclaredRecordWindow* window = openNew(QStringLiteral("frmBatchItem"));
        field(window, "zcbtBatch")->setValue(other);
        QTest::mouseClick(option(window, 1), Qt::LeftButton);
        field(window, "zcbtCase")->setValue(caseB);
        const QString message = save(window);
        if (attempt == 0)
            EXPECT_EQ(message, QString());
        else
            EXPECT_EQ(message, QStringLiteral("Case <CASE-B> is already in the Batch <LIST-Y>."));
        window->info()->setDataChanged(false);
        UnloadWindow(window);
    }
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Batch_Items WHERE Batch_ID = %1").arg(other)), 1);

    // The advanced window checks no membership: what the plain one refuses is saved.
    DeclaredRecordWindow* advanced = openNew(QStringLiteral("frmBatchItemAdv"));
    ASSERT_NE(advanced, nullptr);
    field(advanced, "zcbtBatch")->setValue(box1);
    field(advanced, "zcbtAction")
        ->setValue(count(QStringLiteral("SELECT MIN(Batch_Item_Action_ID) FROM Batch_Item_Actions")));
    field(advanced, "zcbtItem")->setValue(itemA1);
    type(field(advanced, "zdatDateTime"), QStringLiteral("01/02/2050 1:00 PM"));
    EXPECT_TRUE(save(advanced).startsWith(QStringLiteral("Action Date & Time")));
    QTest::mouseClick(advanced->button(QStringLiteral("btnNow")), Qt::LeftButton);
    EXPECT_EQ(save(advanced), QString());
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Batch_Items WHERE Batch_ID = %1 AND Item_ID = %2")
                        .arg(box1)
                        .arg(itemA1)),
        2);
}

TEST_P(BatchWindows, TheOptionFollowsTheRowAndTheOpener)
{
    const int caseRow
        = count(QStringLiteral("SELECT Batch_Item_ID FROM Batch_Items WHERE Batch_ID = %1 AND Case_ID = %2")
                    .arg(court)
                    .arg(caseA));
    {
        SCOPED_TRACE("a case membership loads with the case option");
        DeclaredRecordWindow* window = openEdit(QStringLiteral("frmBatchItem"), caseRow);
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(option(window, 1)->isChecked());
        EXPECT_TRUE(field(window, "zcbtCase")->Applicable());
        EXPECT_FALSE(field(window, "zcbtItem")->Applicable());
        EXPECT_EQ(field(window, "zcbtCase")->Value().toInt(), caseA);
        UnloadWindow(window);
    }
    {
        SCOPED_TRACE("an item membership loads with the item option");
        DeclaredRecordWindow* window = openEdit(QStringLiteral("frmBatchItem"), a1InBox1);
        EXPECT_TRUE(option(window, 0)->isChecked());
        EXPECT_EQ(field(window, "zcbtItem")->Value().toInt(), itemA1);
        EXPECT_FALSE(field(window, "zcbtCase")->Applicable());
        UnloadWindow(window);
    }
    {
        SCOPED_TRACE("an opener's Case_ID chooses the case option and fills the case");
        auto* window = qobject_cast<DeclaredRecordWindow*>(OpenFormWithParams(
            QStringLiteral("frmBatchItem"), 0, { QStringLiteral("Mode"), 1, QStringLiteral("Case_ID"), caseB }));
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(option(window, 1)->isChecked());
        EXPECT_EQ(field(window, "zcbtCase")->Value().toInt(), caseB);

        // Switching to the item after choosing a case saves the item and no case.
        field(window, "zcbtBatch")->setValue(court);
        QTest::mouseClick(option(window, 0), Qt::LeftButton);
        field(window, "zcbtItem")->setValue(itemB1);
        EXPECT_EQ(save(window), QString());
        const int saved = window->identity()->Value();
        EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Batch_Items WHERE Batch_Item_ID = %1 AND Item_ID = %2 "
                                       "AND Case_ID IS NULL")
                            .arg(saved)
                            .arg(itemB1)),
            1);
        // The case's selection comes back with its option.
        QTest::mouseClick(option(window, 1), Qt::LeftButton);
        EXPECT_EQ(field(window, "zcbtCase")->Value().toInt(), caseB);
        window->info()->setDataChanged(false);
    }
    {
        SCOPED_TRACE("typed codes in the three pickers");
        DeclaredRecordWindow* window = openNew(QStringLiteral("frmBatchItem"));
        type(field(window, "zcbtBatch"), QStringLiteral("b-%1").arg(court));
        type(field(window, "zcbtItem"), QStringLiteral("I-%1").arg(itemA2, 10, 10, QLatin1Char('0')));
        EXPECT_EQ(field(window, "zcbtBatch")->Value().toInt(), court);
        EXPECT_EQ(field(window, "zcbtItem")->Value().toInt(), itemA2);
        type(field(window, "zcbtItem"), QStringLiteral("I-12X"));
        EXPECT_TRUE(save(window).contains(QStringLiteral("Item Number"))) << Prompts().boxes.back().text.toStdString();
        window->info()->setDataChanged(false);
    }
}

TEST_P(BatchWindows, SearchesByItemAndByCaseTakeInTheMembershipsThroughTheCase)
{
    const struct {
        const char* column;
        int identity;
        QStringList batches; // the batch numbers of the rows, in the grid's order
    } cases[] = {
        { "Case_ID", caseA, { QStringLiteral("BOX-1"), QStringLiteral("COURT-1") } },
        { "Case_ID", caseB, { QStringLiteral("BOX-2") } },
        { "Item_ID", itemA1, { QStringLiteral("BOX-1"), QStringLiteral("COURT-1") } },
        { "Item_ID", itemA2, { QStringLiteral("COURT-1") } },
        { "Batch_ID", box2, { QStringLiteral("BOX-2") } },
    };
    for (const char* window : { "frmBatchItems", "frmBatchItemsAdv" }) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(window) + " " + c.column + " " + std::to_string(c.identity));
            DeclaredSearchWindow* search
                = searchWith(QString::fromLatin1(window), QString::fromLatin1(c.column), c.identity);
            ASSERT_NE(search, nullptr);
            QStringList batches;
            for (int row = 0; row < search->grid()->CountItems(); ++row)
                batches << search->grid()->listView()->model()->index(row, 0).data().toString();
            EXPECT_EQ(batches, c.batches);
            UnloadWindow(search);
        }
    }
}

TEST_P(BatchWindows, BatchShowsItsRecordCodeAfterTheFirstSave)
{
    DeclaredRecordWindow* window = openNew(QStringLiteral("frmBatch"), QStringLiteral("BOX-9"));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(field(window, "ztxtBatchNumber")->Text(), QStringLiteral("BOX-9"));
    EXPECT_EQ(window->codeLabel(1)->Value(), QStringLiteral("No Bar Code Yet"));
    QTest::mouseClick(window->button(QStringLiteral("btnNow")), Qt::LeftButton);
    type(field(window, "zcbtEmployee"), QStringLiteral("E-%1").arg(employee));
    field(window, "zcbtBatchType")->setValue(boxType);
    field(window, "zmemDescription")->setValue(QStringLiteral("Mary O'Brien's box"));
    type(field(window, "ztxtBatchNumber"), QStringLiteral("box-1"));
    EXPECT_EQ(save(window), QStringLiteral("Batch with Batch Number <box-1> already exists in the database."));
    type(field(window, "ztxtBatchNumber"), QStringLiteral("BOX-9"));
    ASSERT_EQ(save(window), QString());
    const int id = window->identity()->Value();
    ASSERT_GT(id, 0);
    const QString code = QStringLiteral("B-%1").arg(id, 10, 10, QLatin1Char('0'));
    EXPECT_EQ(window->codeLabel(1)->Value(), code);
    EXPECT_EQ(window->codeLabel(0)->Value(), QLatin1Char('*') + code + QLatin1Char('*'));
    EXPECT_EQ(GetSQLValue(QStringLiteral("SELECT Batch_Description FROM Batches WHERE Batch_ID = %1").arg(id))
                  .value_or(QVariant())
                  .toString(),
        QStringLiteral("Mary O'Brien's box"));
    EXPECT_FALSE(qobject_cast<zComboBoxText*>(field(window, "zcbtBatchType"))->ShowButton());
}

TEST_P(BatchWindows, ActionsSendTheirCallsAndOpenTheirWindows)
{
    DeclaredRecordWindow* batch = openEdit(QStringLiteral("frmBatch"), box1);
    ASSERT_NE(batch, nullptr);
    const struct {
        const char* action;
        QString call;
    } labels[] = {
        { "print batch barcode", QStringLiteral("EXEC usp_Evd_Rep_Barcode_Label_Batches @Batch_ID = %1").arg(box1) },
        { "Print Case Barcodes for Batch",
            QStringLiteral("EXEC usp_Evd_Rep_Barcode_Label_Cases @Batch_ID = %1").arg(box1) },
        { "Print Item Barcodes for Batch",
            QStringLiteral("EXEC usp_Evd_Rep_Barcode_Label_Items @Batch_ID = %1").arg(box1) },
    };
    for (const auto& l : labels) {
        SCOPED_TRACE(l.action);
        watch(QStringLiteral("usp_Evd_Rep_"));
        Prompts().clear();
        batch->runAction(QString::fromLatin1(l.action));
        ASSERT_FALSE(sent.isEmpty());
        EXPECT_EQ(sent.front(), l.call);
        // The label procedures come with the label work; until then the call's own failure shows.
        EXPECT_FALSE(Prompts().boxes.empty());
    }

    batch->runAction(QStringLiteral("Add Item to the Batch"));
    auto* added = loaded<DeclaredRecordWindow>("frmBatchItem");
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->info()->Mode(), FormMode::Add);
    EXPECT_EQ(added->field(QStringLiteral("zcbtBatch"))->Value().toInt(), box1);
    EXPECT_TRUE(option(added, 0)->isChecked());
    added->info()->setDataChanged(false);
    UnloadWindow(added);

    batch->runAction(QStringLiteral("View Batch Items"));
    auto* items = loaded<DeclaredSearchWindow>("frmBatchItems");
    ASSERT_NE(items, nullptr);
    EXPECT_EQ(items->grid()->CountItems(), 1);
    Prompts().clear();
    batch->runAction(QStringLiteral("Nothing Such"));
    ASSERT_FALSE(Prompts().boxes.empty());
    EXPECT_EQ(Prompts().boxes.back().text, QStringLiteral("Unknown Action <Nothing Such>."));

    // From the batch item: its batch, and its case whatever else the row holds.
    const int caseRow
        = count(QStringLiteral("SELECT Batch_Item_ID FROM Batch_Items WHERE Batch_ID = %1 AND Case_ID = %2")
                    .arg(court)
                    .arg(caseA));
    DeclaredRecordWindow* link = openEdit(QStringLiteral("frmBatchItem"), caseRow);
    ASSERT_NE(link, nullptr);
    link->runAction(QStringLiteral("View Batch"));
    bool courtShown = false;
    for (QWidget* window : LoadedWindows())
        if (auto* record = qobject_cast<DeclaredRecordWindow*>(window))
            courtShown = courtShown
                || (record->objectName() == QLatin1String("frmBatch") && record->identity()->Value() == court);
    EXPECT_TRUE(courtShown);
    link->runAction(QStringLiteral("View Item / Case"));
    auto* shownCase = loaded<DeclaredRecordWindow>("frmCase");
    ASSERT_NE(shownCase, nullptr);
    EXPECT_EQ(shownCase->identity()->Value(), caseA);

    // An item row opens the item window on its item.
    RegisterItemWindows();
    DeclaredRecordWindow* itemLink = openEdit(QStringLiteral("frmBatchItem"), a1InBox1);
    Prompts().clear();
    itemLink->runAction(QStringLiteral("view item / case"));
    EXPECT_TRUE(Prompts().boxes.empty()) << Prompts().boxes.back().text.toStdString();
    auto* shownItem = loaded<DeclaredRecordWindow>("frmItem");
    ASSERT_NE(shownItem, nullptr);
    EXPECT_EQ(shownItem->identity()->Value(), itemA1);

    // The search window acts on the selected row only.
    DeclaredSearchWindow* search = searchWith(QStringLiteral("frmBatchItems"), QStringLiteral("Case_ID"), caseB);
    ASSERT_NE(search, nullptr);
    search->grid()->listView()->clearSelection();
    const int openBefore = static_cast<int>(LoadedWindows().size());
    search->runAction(QStringLiteral("View Batch"));
    EXPECT_EQ(static_cast<int>(LoadedWindows().size()), openBefore);
    search->grid()->listView()->selectRow(0);
    search->runAction(QStringLiteral("View Batch"));
    bool box2Shown = false;
    for (QWidget* window : LoadedWindows())
        if (auto* record = qobject_cast<DeclaredRecordWindow*>(window))
            box2Shown = box2Shown
                || (record->objectName() == QLatin1String("frmBatch") && record->identity()->Value() == box2);
    EXPECT_TRUE(box2Shown);
}

INSTANTIATE_TEST_SUITE_P(Engines, BatchWindows, ::testing::ValuesIn(TestEngines()), EngineTestName);
INSTANTIATE_CLERK_SUITE(BatchWindows);

} // namespace
