// The barcode window and its bulk item action over a fresh database on both engines, driven as a
// clerk with a scanner drives them: codes entered, moved and resolved, one record opened, and one
// item action inserted for every case, item and batch of the list.

#include "../reference_tables/ReferenceFixture.h"

#include "cases/CaseWindows.h"
#include "cases/PeopleWindows.h"
#include "core/Database.h"
#include "core/RecordCodes.h"
#include "core/Recordset.h"
#include "core/SqlText.h"
#include "custody/BarcodeWindows.h"
#include "custody/CustodyWindows.h"
#include "form_framework/WindowList.h"
#include "form_framework/WindowOpening.h"
#include "form_framework/zCheckBox.h"
#include "form_framework/zDate.h"
#include "form_framework/zInfo.h"
#include "form_framework/zMemo.h"
#include "list_controls/zComboBoxText.h"
#include "support/CaseRows.h"
#include "support/PromptRecorder.h"

#include <QComboBox>
#include <QHeaderView>
#include <QPointer>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <functional>

namespace {

class BarcodeWindows : public ReferenceTest {
protected:
    void SetUp() override
    {
        ReferenceTest::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        RegisterPeopleForms();
        RegisterCaseWindows();
        RegisterCustodyWindows();
        CaseClassNames names;
        names.payroll = QStringLiteral("P-7");
        const CaseClasses classes = InsertCaseClasses(names);
        employee = classes.employee;
        secondEmployee = InsertEmployee(QStringLiteral("P-8"));
        caseID = InsertCase(classes, QStringLiteral("CN-1"));
        item = InsertItem(caseID, QStringLiteral("IN-1"));
        const int room
            = insert(QStringLiteral("INSERT INTO Locations (Location_Name, Location_Code) VALUES ('Room', 'R') "
                                    "RETURNING Location_ID"));
        location = insert(QStringLiteral("INSERT INTO Locations (Location_Name, Location_Code, Parent_Location_ID) "
                                         "VALUES ('Shelf', 'S', %1) RETURNING Location_ID")
                              .arg(room));
        const int batchType = insert(QStringLiteral("INSERT INTO Batch_Types (Batch_Type_Name, Batch_Type_Code) "
                                                    "VALUES ('Test List', 'TLIST') RETURNING Batch_Type_ID"));
        batch = insert(QStringLiteral("INSERT INTO Batches (Batch_Number, Created_Date_Time, Created_By_Employee_ID, "
                                      "Batch_Type_ID) VALUES ('BN-1', '2024-03-08 09:00:00', %1, %2) "
                                      "RETURNING Batch_ID")
                           .arg(employee)
                           .arg(batchType));
        // An action whose details are an item location, so a location code before a row places it.
        actionType = insert(QStringLiteral(
            "INSERT INTO Item_Action_Types (Item_Action_Type_Name_Present, Item_Action_Type_Name_Past, "
            "Item_Action_Type_Code, Item_Action_Time_ID, Related_DB_Table_ID) "
            "SELECT 'Store', 'Stored', 'STORE', (SELECT MIN(Item_Action_Time_ID) FROM Item_Action_Times), DB_Table_ID "
            "FROM DB_Tables WHERE DB_Table_Name = 'Item_Locations' RETURNING Item_Action_Type_ID"));
        window = qobject_cast<frmBarcodes*>(ShowFormByName(QStringLiteral("frmBarcodes")));
        ASSERT_NE(window, nullptr);
    }

    // Scans the codes as a scanner sends them: the code and Enter.
    void scan(const QStringList& codes)
    {
        for (const QString& code : codes) {
            window->txtBarcode->setFocus();
            QTest::keyClicks(window->txtBarcode, code);
            QTest::keyClick(window->txtBarcode, Qt::Key_Return);
        }
    }
    QStringList column(int column) const
    {
        QStringList texts;
        for (int row = 0; row < window->lvwBarcodes->topLevelItemCount(); ++row)
            texts << window->lvwBarcodes->topLevelItem(row)->text(column);
        return texts;
    }
    void select(int row) { window->lvwBarcodes->setCurrentItem(window->lvwBarcodes->topLevelItem(row)); }
    static QString code(char prefix, int identity) { return RecordCodeText(QLatin1Char(prefix), identity); }

    // The inserted actions, oldest first: subject, performer and the item location if any.
    QStringList insertedActions()
    {
        std::unique_ptr<Recordset> rows = OpenRecordset(
            QStringLiteral("SELECT CASE WHEN a.Item_ID IS NOT NULL THEN 'Item ' || CAST(a.Item_ID AS TEXT) "
                           "WHEN a.Case_ID IS NOT NULL THEN 'Case ' || CAST(a.Case_ID AS TEXT) "
                           "ELSE 'Batch ' || CAST(a.Batch_ID AS TEXT) END, a.Performed_By_Employee_ID, l.Location_ID "
                           "FROM Item_Actions a LEFT JOIN Item_Locations l ON l.Item_Action_ID = a.Item_Action_ID "
                           "ORDER BY a.Item_Action_ID"),
            false);
        QStringList actions;
        for (int row = 0; rows && row < rows->recordCount(); ++row)
            actions << QStringLiteral("%1 by %2 at %3")
                           .arg(rows->valueAt(row, 0).toString(), rows->valueAt(row, 1).toString(),
                               rows->valueAt(row, 2).isNull() ? QStringLiteral("-") : rows->valueAt(row, 2).toString());
        CloseRecordset(rows);
        return actions;
    }
    void setRun(bool useBarcode, int performer)
    {
        bulk.ActionTypeID = actionType;
        bulk.UseBarcode = useBarcode;
        bulk.PerformedByEmployeeID = performer;
        bulk.ActionDateTime = QDateTime(QDate(2026, 4, 3), QTime(14, 5, 37));
        bulk.ActionDescription = QStringLiteral("Moved to O'Brien's shelf");
    }

    frmBarcodes* window = nullptr;
    BulkItemAction bulk;
    int actionType = 0;
    int employee = 0;
    int secondEmployee = 0;
    int caseID = 0;
    int item = 0;
    int location = 0;
    int batch = 0;
};

TEST_P(BarcodeWindows, ScansAreAddedTrimmedAndMovedRowsAreResolvedAgain)
{
    scan({ QStringLiteral("   "), QStringLiteral("  c-%1 ").arg(caseID), code('I', item), code('X', 1) });
    EXPECT_EQ(column(frmBarcodes::BarcodeColumn),
        (QStringList { QStringLiteral("c-%1").arg(caseID), code('I', item), code('X', 1) }));
    EXPECT_TRUE(window->txtBarcode->text().isEmpty());
    EXPECT_TRUE(window->btnEnter->isDefault());

    QTest::mouseClick(window->btnProceed, Qt::LeftButton); // resolves; nothing selected to open
    EXPECT_EQ(column(frmBarcodes::TypeColumn),
        (QStringList { QStringLiteral("Case"), QStringLiteral("Item"), QStringLiteral("???") }));

    select(0);
    QTest::mouseClick(window->btnUp, Qt::LeftButton); // the first row stays
    EXPECT_EQ(column(frmBarcodes::TypeColumn).at(0), QStringLiteral("Case"));
    QTest::mouseClick(window->btnDown, Qt::LeftButton);
    EXPECT_EQ(column(frmBarcodes::BarcodeColumn),
        (QStringList { code('I', item), QStringLiteral("c-%1").arg(caseID), code('X', 1) }));
    EXPECT_EQ(column(frmBarcodes::TypeColumn), (QStringList { QStringLiteral("Item"), QString(), QStringLiteral("???") }));
    EXPECT_EQ(window->lvwBarcodes->currentItem()->text(frmBarcodes::BarcodeColumn), QStringLiteral("c-%1").arg(caseID));
    select(2);
    QTest::mouseClick(window->btnDown, Qt::LeftButton); // the last row stays
    EXPECT_EQ(column(frmBarcodes::TypeColumn).at(2), QStringLiteral("???"));

    QTest::mouseClick(window->btnDelete, Qt::LeftButton);
    EXPECT_EQ(column(frmBarcodes::BarcodeColumn), (QStringList { code('I', item), QStringLiteral("c-%1").arg(caseID) }));

    // The hidden identity column, widened by the user, is hidden again by a click on its heading.
    window->lvwBarcodes->setColumnWidth(frmBarcodes::IDColumn, 80);
    Q_EMIT window->lvwBarcodes->header()->sectionClicked(frmBarcodes::IDColumn);
    EXPECT_EQ(window->lvwBarcodes->columnWidth(frmBarcodes::IDColumn), 0);
    EXPECT_TRUE(Prompts().boxes.empty());
}

TEST_P(BarcodeWindows, EveryPrefixResolvesToItsTypeValueAndIdentity)
{
    struct Case {
        QString code;
        QString type;
        QString value;
        int id;
    };
    const int none = 0;
    const std::vector<Case> cases = {
        { code('C', caseID), QStringLiteral("Case"), QStringLiteral("CN-1"), caseID },
        { QStringLiteral("c-%1").arg(caseID), QStringLiteral("Case"), QStringLiteral("CN-1"), caseID },
        { code('I', item), QStringLiteral("Item"), QStringLiteral("IN-1"), item },
        { code('E', employee), QStringLiteral("Employee"), QStringLiteral("P-7"), employee },
        { code('B', batch), QStringLiteral("Batch"), QStringLiteral("BN-1"), batch },
        { code('L', location), QStringLiteral("Location"), QStringLiteral("Room / Shelf"), location },
        // Codes of records that do not exist, and codes no record could have.
        { QStringLiteral("C-999"), QStringLiteral("Case"), QStringLiteral("???"), none },
        { QStringLiteral("I-12X"), QStringLiteral("Item"), QStringLiteral("???"), none },
        { QStringLiteral("B-99999999999"), QStringLiteral("Batch"), QStringLiteral("???"), none },
        { QStringLiteral("E-0"), QStringLiteral("Employee"), QStringLiteral("???"), none },
        { QStringLiteral("X-1"), QStringLiteral("???"), QStringLiteral("???"), none },
        { QStringLiteral("C42"), QStringLiteral("???"), QStringLiteral("???"), none },
    };
    QStringList codes;
    for (const Case& c : cases)
        codes << c.code;
    scan(codes);
    window->ResolveBarcodes();
    for (int row = 0; row < static_cast<int>(cases.size()); ++row) {
        SCOPED_TRACE(cases[static_cast<size_t>(row)].code.toStdString());
        const QTreeWidgetItem* line = window->lvwBarcodes->topLevelItem(row);
        EXPECT_EQ(line->text(frmBarcodes::TypeColumn), cases[static_cast<size_t>(row)].type);
        EXPECT_EQ(line->text(frmBarcodes::ValueColumn), cases[static_cast<size_t>(row)].value);
        EXPECT_EQ(window->scannedCodes().at(static_cast<size_t>(row)).identity, cases[static_cast<size_t>(row)].id);
        const int id = cases[static_cast<size_t>(row)].id;
        EXPECT_EQ(line->text(frmBarcodes::IDColumn), id ? QString::number(id) : QString());
    }
    // Rows already resolved are left alone: a record deleted since keeps its earlier value.
    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("UPDATE Cases SET Case_Number = 'CN-2' WHERE Case_ID = %1").arg(caseID)));
    window->ResolveBarcodes();
    EXPECT_EQ(window->lvwBarcodes->topLevelItem(0)->text(frmBarcodes::ValueColumn), QStringLiteral("CN-1"));
    EXPECT_TRUE(Prompts().boxes.empty());
}

TEST_P(BarcodeWindows, ProcessingOneRowOpensItsRecordOrSaysWhyNot)
{
    scan({ code('X', 1), QStringLiteral("E-999"), code('C', caseID), code('L', location) });
    // A double click does not resolve first: an unresolved row is an unknown barcode.
    QTreeWidgetItem* first = window->lvwBarcodes->topLevelItem(0);
    Q_EMIT window->lvwBarcodes->itemDoubleClicked(first, 0);
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_EQ(Prompts().boxes.back().text, QStringLiteral("Unknown Barcode"));
    EXPECT_EQ(Prompts().boxes.back().title, QStringLiteral("Error"));

    window->ResolveBarcodes();
    select(1);
    window->ProcessSelectedRow();
    EXPECT_EQ(Prompts().boxes.back().text, QStringLiteral("Unknown Employee"));

    select(2);
    QTest::mouseClick(window->btnProceed, Qt::LeftButton);
    DataWindow* opened = AsDataWindow(LoadedWindows().constLast());
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->objectName(), QStringLiteral("frmCase"));
    EXPECT_EQ(opened->info()->Mode(), FormMode::Edit);
    EXPECT_EQ(Prompts().boxes.size(), 2u);

    // Without the Edit permission on locations the permission routine refuses, and nothing opens.
    // An administrator takes it away.
    owner().executeStatement(QStringLiteral("UPDATE DB_Users SET DB_Sys_Admin = 0"));
    owner().executeStatement(
        QStringLiteral("UPDATE DB_Tables SET DB_Default_Permission = 0 WHERE DB_Table_Name = 'Locations'"));
    const int windows = static_cast<int>(LoadedWindows().size());
    select(3);
    window->ProcessSelectedRow();
    EXPECT_EQ(static_cast<int>(LoadedWindows().size()), windows);
    EXPECT_EQ(Prompts().boxes.size(), 3u);
}

TEST_P(BarcodeWindows, TheTwoExportCommandsDoNothingAndOthersBeep)
{
    window->info()->DoCommand(MainCommand::TabDelimited);
    window->info()->DoCommand(MainCommand::Excel);
    EXPECT_EQ(Prompts().beeps, 0);
    window->info()->DoCommand(MainCommand::Save);
    EXPECT_EQ(Prompts().beeps, 1);
    EXPECT_TRUE(Prompts().boxes.empty());
}

TEST_P(BarcodeWindows, ClosingTheBarcodeWindowClosesItsItemActionWindow)
{
    window->optProcess[1]->setChecked(true);
    QTest::mouseClick(window->btnProceed, Qt::LeftButton);
    QPointer<frmBarcodeItemAction> itemAction = window->itemActionWindow();
    ASSERT_FALSE(itemAction.isNull());
    EXPECT_TRUE(itemAction->zchkUseBarcode->Value().toBool());
    EXPECT_FALSE(itemAction->zcbtEmployee->Applicable());
    itemAction->zchkUseBarcode->setValue(false);
    EXPECT_TRUE(itemAction->zcbtEmployee->Applicable());
    // Proceed again brings the same window forward.
    QTest::mouseClick(window->btnProceed, Qt::LeftButton);
    EXPECT_EQ(window->itemActionWindow(), itemAction.data());

    UnloadWindow(window);
    // The barcode window goes first; the item-action window's own deletion follows it.
    for (int round = 0; round < 2; ++round)
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(itemAction.isNull());
}

// Close and Cancel are the windows' cancel buttons: Esc in the item-action window drops the
// action, and Esc in the barcode window drops the scanned list with both windows.
TEST_P(BarcodeWindows, EscClosesTheItemActionWindowThenTheBarcodeWindowWithItsList)
{
    QPointer<frmBarcodes> barcodes = window;
    scan({ code('I', item), code('C', caseID) });
    window->optProcess[1]->setChecked(true);
    QTest::mouseClick(window->btnProceed, Qt::LeftButton);
    QPointer<frmBarcodeItemAction> itemAction = window->itemActionWindow();
    ASSERT_FALSE(itemAction.isNull());

    itemAction->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(itemAction));
    itemAction->zcbtAction->combo()->setFocus();
    QTest::keyClick(itemAction->zcbtAction->combo(), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(itemAction.isNull()) << "Esc is the item-action window's Cancel";
    ASSERT_FALSE(barcodes.isNull());
    EXPECT_EQ(column(frmBarcodes::BarcodeColumn).size(), 2) << "the list stays with its window";

    QTest::mouseClick(window->btnProceed, Qt::LeftButton);
    itemAction = window->itemActionWindow();
    ASSERT_FALSE(itemAction.isNull());
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    window->txtBarcode->setFocus();
    QTest::keyClick(window->txtBarcode, Qt::Key_Escape);
    for (int round = 0; round < 2; ++round)
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(barcodes.isNull()) << "Esc is the barcode window's Close";
    EXPECT_TRUE(itemAction.isNull());
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Item_Actions")), 0) << "nothing was run";
    EXPECT_TRUE(Prompts().boxes.empty());

    // A barcode window opened anew starts with an empty list.
    window = qobject_cast<frmBarcodes*>(ShowFormByName(QStringLiteral("frmBarcodes")));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->lvwBarcodes->topLevelItemCount(), 0);
}

TEST_P(BarcodeWindows, BulkRunTakesPerformerAndLocationFromTheCodesBeforeEachRow)
{
    const QString L = code('L', location);
    const QString E7 = code('E', employee);
    const QString E8 = code('E', secondEmployee);
    const QString I = code('I', item);
    const QString C = code('C', caseID);
    const QString B = code('B', batch);
    const QString at = QString::number(location);
    const QString e7 = QString::number(employee);
    const QString e8 = QString::number(secondEmployee);
    struct Run {
        const char* name;
        QStringList scans;
        bool useBarcode;
        int performer;
        QStringList inserted; // the actions stored
        QStringList left; // the codes left in the list
        QString message; // the last box
    };
    const std::vector<Run> runs = {
        { "employee and location codes between the rows", { L, E7, I, C, E8, B }, true, -1,
            { QStringLiteral("Item %1 by %2 at %3").arg(item).arg(e7, at),
                QStringLiteral("Case %1 by %2 at %3").arg(caseID).arg(e7, at),
                QStringLiteral("Batch %1 by %2 at %3").arg(batch).arg(e8, at) },
            { L, E7, E8 }, QStringLiteral("Done") },
        { "the picked performer, employee codes ignored, a location only for the rows after it",
            { E7, I, L, C }, false, secondEmployee,
            { QStringLiteral("Item %1 by %2 at -").arg(item).arg(e8),
                QStringLiteral("Case %1 by %2 at %3").arg(caseID).arg(e8, at) },
            { E7, L }, QStringLiteral("Done") },
        { "codes of records that do not exist are skipped", { E7, QStringLiteral("C-999"), code('X', 1), I }, true, -1,
            { QStringLiteral("Item %1 by %2 at -").arg(item).arg(e7) }, { E7, QStringLiteral("C-999"), code('X', 1) },
            QStringLiteral("Done") },
        { "nothing to act on", { E7, L }, true, -1, {}, { E7, L }, QStringLiteral("Done") },
        { "no employee code before the first row", { I, E7, C }, true, -1, {}, { I, E7, C },
            QStringLiteral("No employee barcode before <%1>.").arg(I) },
        { "performer and location codes that name no record", { QStringLiteral("E-999"), L, QStringLiteral("L-998"), I },
            true, -1, {}, { QStringLiteral("E-999"), L, QStringLiteral("L-998"), I },
            QStringLiteral("Unresolved barcodes: <E-999>, <L-998>.") },
    };
    for (const Run& run : runs) {
        SCOPED_TRACE(run.name);
        ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("DELETE FROM Item_Locations")));
        ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("DELETE FROM Item_Actions")));
        window->lvwBarcodes->clear();
        scan(run.scans);
        window->ResolveBarcodes();
        Prompts().clear();
        setRun(run.useBarcode, run.performer);
        window->ProcessAll(bulk);
        EXPECT_EQ(insertedActions(), run.inserted);
        EXPECT_EQ(column(frmBarcodes::BarcodeColumn), run.left);
        ASSERT_FALSE(Prompts().boxes.empty());
        EXPECT_EQ(Prompts().boxes.back().text, run.message);
    }
}

TEST_P(BarcodeWindows, BulkRunStoresTheDateAsWrittenWhateverTheDesktopsDateOrder)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    scan({ code('E', employee), code('I', item) });
    window->ResolveBarcodes();
    setRun(true, -1);
    window->ProcessAll(bulk);
    QLocale::setDefault(before);
    std::unique_ptr<Recordset> stored = OpenRecordset(
        QStringLiteral("SELECT Item_Action_Date_Time, Item_Action_Description FROM Item_Actions"), false);
    ASSERT_TRUE(stored && stored->recordCount() == 1);
    EXPECT_EQ(stored->valueAt(0, 0).toDateTime(), QDateTime(QDate(2026, 4, 3), QTime(14, 5)));
    EXPECT_EQ(stored->valueAt(0, 1).toString(), QStringLiteral("Moved to O'Brien's shelf"));
}

TEST_P(BarcodeWindows, FailedInsertsKeepTheirRowsAndAreNamedInOneBox)
{
    scan({ code('E', employee), code('I', item), code('C', caseID) });
    window->ResolveBarcodes();
    setRun(true, -1);
    // The action type deleted while the window was open: every insert fails on its own.
    bulk.ActionTypeID = actionType + 1000;
    window->ProcessAll(bulk);
    EXPECT_TRUE(insertedActions().isEmpty());
    EXPECT_EQ(column(frmBarcodes::BarcodeColumn), (QStringList { code('E', employee), code('I', item), code('C', caseID) }));
    // One box for the run, not one per failed row.
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_TRUE(Prompts().boxes.back().text.startsWith(
        QStringLiteral("0 item actions were stored; 2 rows remain in the list for another Proceed: %1, %2.\r\n\r\n")
            .arg(code('I', item), code('C', caseID))))
        << Prompts().boxes.back().text.toStdString();
    EXPECT_EQ(Prompts().boxes.back().title, QStringLiteral("Error"));
}

TEST_P(BarcodeWindows, ItemActionWindowChecksItsFieldsInOrderThenRunsTheList)
{
    scan({ code('E', employee), code('I', item) });
    window->optProcess[1]->setChecked(true);
    QTest::mouseClick(window->btnProceed, Qt::LeftButton);
    frmBarcodeItemAction* itemAction = window->itemActionWindow();
    ASSERT_NE(itemAction, nullptr);
    QPointer<frmBarcodeItemAction> guard(itemAction);

    itemAction->zchkUseBarcode->setValue(false);
    const struct {
        std::function<void()> fill;
        const char* message;
    } steps[] = {
        // The picker chose the only action type by itself; the clerk clears it.
        { [&] { itemAction->zcbtAction->setValue(-1); }, "Action is a required field." },
        { [&] { itemAction->zcbtAction->setValue(actionType); }, "Performed By is a required field." },
        { [&] { itemAction->zcbtEmployee->setValue(secondEmployee); }, "Action Date & Time is a required field." },
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.message);
        step.fill();
        Prompts().clear();
        QTest::mouseClick(itemAction->btnProceed, Qt::LeftButton);
        ASSERT_FALSE(Prompts().boxes.empty());
        EXPECT_EQ(Prompts().boxes.back().text, QString::fromLatin1(step.message))
            << Prompts().boxes.back().text.toStdString();
        EXPECT_TRUE(insertedActions().isEmpty());
    }
    QTest::mouseClick(itemAction->btnNow, Qt::LeftButton);
    Prompts().clear();
    QTest::mouseClick(itemAction->btnProceed, Qt::LeftButton);
    EXPECT_EQ(insertedActions(), (QStringList { QStringLiteral("Item %1 by %2 at -").arg(item).arg(secondEmployee) }));
    ASSERT_FALSE(Prompts().boxes.empty());
    EXPECT_EQ(Prompts().boxes.back().text, QStringLiteral("Done"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(guard.isNull());
}

INSTANTIATE_TEST_SUITE_P(Engines, BarcodeWindows, ::testing::ValuesIn(TestEngines()), EngineTestName);
INSTANTIATE_CLERK_SUITE(BarcodeWindows);

} // namespace
