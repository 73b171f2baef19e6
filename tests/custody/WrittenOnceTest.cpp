// A custody record is written once: an action (bulk or single), a transfer or an item location
// whose commit's answer is lost is found by its key before anything is reported, and never stored
// a second time. On PostgreSQL with real faults: a relay that loses the answer to a commit the
// server has made, and the server ending the session in the middle of a commit.

#include "../reference_tables/ReferenceFixture.h"

#include "cases/CaseWindows.h"
#include "cases/PeopleWindows.h"
#include "core/Connection.h"
#include "core/Database.h"
#include "core/DatabaseList.h"
#include "core/RecordCodes.h"
#include "core/Recordset.h"
#include "core/SqlText.h"
#include "custody/BarcodeWindows.h"
#include "custody/CustodyWindows.h"
#include "form_framework/WindowOpening.h"
#include "form_framework/zFieldBase.h"
#include "form_framework/zIdentity.h"
#include "form_framework/zInfo.h"
#include "declared_windows/DeclaredRecordWindow.h"
#include "support/CaseRows.h"
#include "support/LostAnswerRelay.h"
#include "support/PromptRecorder.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <functional>

namespace {

class WrittenOnce : public ReferenceTest {
protected:
    void SetUp() override
    {
        ReferenceTest::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        RegisterPeopleForms();
        RegisterCaseWindows();
        RegisterCustodyWindows();
        const CaseClasses classes = InsertCaseClasses();
        employee = classes.employee;
        const int caseId = InsertCase(classes, QStringLiteral("CN-1"));
        for (int i = 1; i <= 5; ++i)
            items.push_back(InsertItem(caseId, QStringLiteral("IN-%1").arg(i)));
        shelf = insert(QStringLiteral(
            "INSERT INTO Locations (Location_Name, Location_Code) VALUES ('Shelf', 'S') RETURNING Location_ID"));
        store = actionType("Store", "Item_Locations");
        transfer = actionType("Transfer", "Item_Transfers");
        note = actionType("Note", nullptr);
        Prompts().clear();
    }

    // A type whose details are kept in the named table (none: no details).
    int actionType(const char* name, const char* detailTable)
    {
        return insert(
            QStringLiteral("INSERT INTO Item_Action_Types (Item_Action_Type_Name_Present, Item_Action_Type_Name_Past, "
                           "Item_Action_Type_Code, Item_Action_Time_ID, Related_DB_Table_ID) "
                           "SELECT %1, %1, %1, (SELECT MIN(Item_Action_Time_ID) FROM Item_Action_Times), "
                           "(SELECT DB_Table_ID FROM DB_Tables WHERE DB_Table_Name = %2) RETURNING Item_Action_Type_ID")
                .arg(SQLString(QString::fromLatin1(name)),
                    detailTable ? SQLString(QString::fromLatin1(detailTable)) : QStringLiteral("NULL")));
    }

    int employee = 0;
    std::vector<int> items;
    int shelf = 0;
    int store = 0;
    int transfer = 0;
    int note = 0;
};

// Called again with the key of an action it has stored, the procedure answers that action and
// writes nothing, its item location included; another key is another action.
TEST_P(WrittenOnce, TheInsertProcedureWritesAnActionOnceUnderItsKey)
{
    const auto call = [&](const char* key) {
        std::unique_ptr<Recordset> result = OpenRecordset(
            QStringLiteral("EXEC usp_Evd_Insert_Item_Action @Item_ID = %1, @Performed_By_Employee_ID = %2, "
                           "@Item_Action_Type_ID = %3, @Item_Action_Date_Time = '2026-04-03 14:05', "
                           "@Location_ID = %4, @Item_Action_Key = %5")
                .arg(items[0])
                .arg(employee)
                .arg(store)
                .arg(shelf)
                .arg(key ? SQLString(QString::fromLatin1(key)) : QStringLiteral("NULL")));
        const int identity = result && result->recordCount() == 1 ? result->valueAt(0, 0).toInt() : 0;
        CloseRecordset(result);
        return identity;
    };
    const int first = call("7b0e5a52-1d1f-4c43-a0a1-4d0ab5e7d001");
    ASSERT_GT(first, 0);
    EXPECT_EQ(call("7b0e5a52-1d1f-4c43-a0a1-4d0ab5e7d001"), first);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Item_Actions")), 1);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Item_Locations")), 1);
    const int second = call("7b0e5a52-1d1f-4c43-a0a1-4d0ab5e7d002");
    EXPECT_GT(second, first);
    // Calls without a key (older callers, rows typed by hand) are each an action of their own.
    EXPECT_GT(call(nullptr), second);
    EXPECT_GT(call(nullptr), second);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Item_Actions")), 4);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Item_Locations")), 4);
    for (const PromptRecorder::Box& box : Prompts().boxes)
        ADD_FAILURE() << box.text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Engines, WrittenOnce, ::testing::ValuesIn(TestEngines()), EngineTestName);

// The program works as a clerk through the relay; the rows are counted on a connection of the
// owner's own, which no fault touches.
class LostCommitAnswers : public WrittenOnce {
protected:
    void SetUp() override
    {
        WrittenOnce::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        m_owner = m_database->connect();
        const QString clerk = QStringLiteral("Once_Clerk_%1").arg(QCoreApplication::applicationPid());
        m_database->createLogin(clerk, QStringLiteral("Clerk'1"));
        // The clerk's location pickers read this view. Its grant to users comes with the schema
        // upgrade's view grants (a change of its own); given here too, this test does not hang on it.
        m_owner->executeStatement(
            QStringLiteral("GRANT SELECT ON Full_Name_Locations TO %1_users").arg(m_database->target().databaseName));
        relay = std::make_unique<LostAnswerRelay>(qEnvironmentVariable("PGPORT").toInt());
        DBList()[0].Server = relay->server();
        ASSERT_EQ(OpenConnection(1, false, clerk, QStringLiteral("Clerk'1")), QString());
        Prompts().clear();
    }
    void TearDown() override
    {
        // The program's connection goes before the relay it runs through.
        m_owner.reset();
        ReferenceTest::TearDown();
        relay.reset();
    }

    int ownerCount(const QString& sql) { return m_owner->executeStatement(sql).valueAt(0, 0).toInt(); }
    // How many actions each item has, in item order.
    QList<int> actionsPerItem()
    {
        QList<int> counts;
        for (int item : items)
            counts << ownerCount(QStringLiteral("SELECT COUNT(*) FROM Item_Actions WHERE Item_ID = %1").arg(item));
        return counts;
    }
    QString itemCode(int index) const { return RecordCodeText(QLatin1Char('I'), items[static_cast<size_t>(index)]); }
    QStringList boxTexts() const
    {
        QStringList texts;
        for (const PromptRecorder::Box& box : Prompts().boxes)
            texts << box.text;
        return texts;
    }

    // Makes the server end the clerk's session while it commits the action of the item: a
    // deferred trigger holds that commit on a lock of the owner's, and psql, as soon as the
    // session waits there, terminates it.
    std::unique_ptr<QProcess> endSessionDuringCommitOf(int item)
    {
        m_owner->executeStatement(QStringLiteral(
            "CREATE FUNCTION test_hold_commit() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
            "IF NEW.Item_ID = %1 THEN PERFORM pg_advisory_lock_shared(4242); END IF; RETURN NULL; END $$")
                                      .arg(item));
        m_owner->executeStatement(QStringLiteral(
            "CREATE CONSTRAINT TRIGGER test_hold_commit AFTER INSERT ON Item_Actions DEFERRABLE INITIALLY DEFERRED "
            "FOR EACH ROW EXECUTE FUNCTION test_hold_commit()"));
        m_owner->executeStatement(QStringLiteral("SELECT pg_advisory_lock(4242)"));
        auto killer = std::make_unique<QProcess>();
        const QString query = QStringLiteral(
            "SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE datname = current_database() "
            "AND wait_event_type = 'Lock' AND wait_event = 'advisory'");
        killer->start(QStringLiteral("bash"),
            { QStringLiteral("-c"),
                QStringLiteral("for i in $(seq 1 400); do psql -d %1 -tAc \"%2\" | grep -q t && exit 0; sleep 0.05; "
                               "done; exit 1")
                    .arg(m_database->target().databaseName, query) });
        EXPECT_TRUE(killer->waitForStarted());
        return killer;
    }
    void releaseCommits()
    {
        m_owner->executeStatement(QStringLiteral("DROP TRIGGER IF EXISTS test_hold_commit ON Item_Actions"));
        m_owner->executeStatement(QStringLiteral("SELECT pg_advisory_unlock_all()"));
    }

    std::unique_ptr<LostAnswerRelay> relay;
    std::unique_ptr<DatabaseConnection> m_owner;
};

// The bulk run over five items, with a fault at the third item's commit: its action is recognised
// as stored when it was, the run ends with one box, and a second Proceed writes only what is
// missing.
TEST_P(LostCommitAnswers, ABulkRunWritesEveryActionOnceWhateverBecameOfACommit)
{
    auto* window = qobject_cast<frmBarcodes*>(ShowFormByName(QStringLiteral("frmBarcodes")));
    ASSERT_NE(window, nullptr);
    const QString E = RecordCodeText(QLatin1Char('E'), employee);
    struct Fault {
        const char* name;
        std::function<void()> arm;
        QList<int> stored; // actions per item after the first run
        QStringList left; // the list after the first run
        QString message; // the first run's one box begins so
        bool secondRun;
    };
    std::unique_ptr<QProcess> killer;
    const std::vector<Fault> faults = {
        { "the answer is lost and the server answers again",
            [&] { relay->loseCommitAnswerAfter("INSERT INTO Item_Actions", 3); }, { 1, 1, 1, 1, 1 }, { E },
            QStringLiteral("Done"), false },
        { "the answer is lost and the server stays away",
            [&] { relay->loseCommitAnswerAfter("INSERT INTO Item_Actions", 3, true); }, { 1, 1, 1, 0, 0 },
            { E, itemCode(2), itemCode(3), itemCode(4) },
            QStringLiteral("2 item actions were stored; 3 rows remain in the list for another Proceed: %1, %2, %3.\r\n"
                           "The database could not be reached. Proceed again once it can: no action is stored "
                           "twice.\r\n\r\n")
                .arg(itemCode(2), itemCode(3), itemCode(4)),
            true },
        { "the server ends the session during the commit", [&] { killer = endSessionDuringCommitOf(items[2]); },
            { 1, 1, 0, 1, 1 }, { E, itemCode(2) },
            QStringLiteral("4 item actions were stored; 1 row remains in the list for another Proceed: %1.\r\n\r\n")
                .arg(itemCode(2)),
            true },
    };
    for (const Fault& fault : faults) {
        SCOPED_TRACE(fault.name);
        m_owner->executeStatement(QStringLiteral("DELETE FROM Item_Locations"));
        m_owner->executeStatement(QStringLiteral("DELETE FROM Item_Actions"));
        window->lvwBarcodes->clear();
        for (const QString& code : QStringList { E, itemCode(0), itemCode(1), itemCode(2), itemCode(3), itemCode(4) })
            (new QTreeWidgetItem(window->lvwBarcodes))->setText(frmBarcodes::BarcodeColumn, code);
        window->ResolveBarcodes();
        BulkItemAction bulk;
        bulk.ActionTypeID = note;
        bulk.UseBarcode = true;
        bulk.PerformedByEmployeeID = -1;
        bulk.ActionDateTime = QDateTime(QDate(2026, 4, 3), QTime(14, 5));
        bulk.ActionDescription = QStringLiteral("Counted");
        Prompts().clear();
        fault.arm();
        window->ProcessAll(bulk);
        if (killer) {
            EXPECT_TRUE(killer->waitForFinished(30000) && killer->exitCode() == 0) << "psql ended no session";
        }
        killer.reset();
        releaseCommits();
        EXPECT_EQ(actionsPerItem(), fault.stored);
        QStringList left;
        for (int row = 0; row < window->lvwBarcodes->topLevelItemCount(); ++row)
            left << window->lvwBarcodes->topLevelItem(row)->text(frmBarcodes::BarcodeColumn);
        EXPECT_EQ(left, fault.left);
        ASSERT_EQ(Prompts().boxes.size(), 1u) << boxTexts().join(QStringLiteral("\n----\n")).toStdString();
        EXPECT_TRUE(Prompts().boxes[0].text.startsWith(fault.message)) << Prompts().boxes[0].text.toStdString();
        if (!fault.secondRun)
            continue;

        // The clerk proceeds again, at a later "Now": the row whose action was stored is done, not
        // written again with the new time.
        relay->setRefusing(false);
        bulk.ActionDateTime = QDateTime(QDate(2026, 4, 3), QTime(14, 12));
        Prompts().clear();
        window->ProcessAll(bulk);
        EXPECT_EQ(boxTexts(), QStringList { QStringLiteral("Done") });
        EXPECT_EQ(actionsPerItem(), (QList<int> { 1, 1, 1, 1, 1 })) << "no action is written twice";
    }
    EXPECT_EQ(relay->answersLost(), 2);
}

// A single record saved in its window: its commit's answer is lost. When the server answers the
// look-up, the save succeeds once; when it stays away, the save says it could not find out, and
// the next save finds the record (writing onto it what was changed since) instead of a second one.
TEST_P(LostCommitAnswers, ARecordWindowsSaveIsWrittenOnceWhenItsAnswerIsLost)
{
    const int transferred = insert(QStringLiteral("INSERT INTO Item_Actions (Item_ID, Item_Action_Type_ID, "
                                                  "Performed_By_Employee_ID, Item_Action_Date_Time) VALUES "
                                                  "(%1, %2, %3, '2026-04-03 09:00') RETURNING Item_Action_ID")
                                       .arg(items[0])
                                       .arg(transfer)
                                       .arg(employee));
    const int stored = insert(QStringLiteral("INSERT INTO Item_Actions (Item_ID, Item_Action_Type_ID, "
                                             "Performed_By_Employee_ID, Item_Action_Date_Time) VALUES "
                                             "(%1, %2, %3, '2026-04-03 09:00') RETURNING Item_Action_ID")
                                  .arg(items[1])
                                  .arg(store)
                                  .arg(employee));
    struct Window {
        const char* name;
        const char* table;
        const char* identity;
        std::function<void(DeclaredRecordWindow*)> fill;
        const char* changedField; // changed before the second save, with its column
        const char* changedColumn;
        QVariant changedValue;
        bool serverAway;
    };
    const auto fillAction = [&](DeclaredRecordWindow* window) {
        window->field(QStringLiteral("zcbtItem"))->setValue(items[2]);
        window->field(QStringLiteral("zcbtAction"))->setValue(note);
        window->field(QStringLiteral("zcbtEmployee"))->setValue(employee);
        window->field(QStringLiteral("zdatDateTime"))->setValue(QDateTime(QDate(2026, 4, 3), QTime(14, 5)));
        window->field(QStringLiteral("zmemDescription"))->setValue(QStringLiteral("Counted"));
    };
    const std::vector<Window> windows = {
        { "frmItemAction", "Item_Actions", "Item_Action_ID", fillAction, nullptr, nullptr, {}, false },
        { "frmItemAction", "Item_Actions", "Item_Action_ID", fillAction, "zmemDescription", "Item_Action_Description",
            QStringLiteral("Counted twice"), true },
        { "frmItemTransfer", "Item_Transfers", "Item_Transfer_ID",
            [&](DeclaredRecordWindow* window) {
                window->field(QStringLiteral("zcbtItemAction"))->setValue(transferred);
                window->field(QStringLiteral("zcbtLocation(0)"))->setValue(shelf);
                window->field(QStringLiteral("zcbtLocation(1)"))->setValue(shelf);
                window->field(QStringLiteral("zcbtEmployee(0)"))->setValue(employee);
                window->field(QStringLiteral("zcbtEmployee(1)"))->setValue(employee);
            },
            nullptr, nullptr, {}, false },
        { "frmItemLocation", "Item_Locations", "Item_Location_ID",
            [&](DeclaredRecordWindow* window) {
                window->field(QStringLiteral("zcbtItemAction"))->setValue(stored);
                window->field(QStringLiteral("zcbtLocation"))->setValue(shelf);
            },
            nullptr, nullptr, {}, false },
        // Saved again unchanged: its unique item action must not clash with the record itself.
        { "frmItemTransfer", "Item_Transfers", "Item_Transfer_ID",
            [&](DeclaredRecordWindow* window) {
                window->field(QStringLiteral("zcbtItemAction"))->setValue(transferred);
                window->field(QStringLiteral("zcbtLocation(0)"))->setValue(shelf);
                window->field(QStringLiteral("zcbtLocation(1)"))->setValue(shelf);
                window->field(QStringLiteral("zcbtEmployee(0)"))->setValue(employee);
                window->field(QStringLiteral("zcbtEmployee(1)"))->setValue(employee);
            },
            nullptr, nullptr, {}, true },
        { "frmItemLocation", "Item_Locations", "Item_Location_ID",
            [&](DeclaredRecordWindow* window) {
                window->field(QStringLiteral("zcbtItemAction"))->setValue(stored);
                window->field(QStringLiteral("zcbtLocation"))->setValue(shelf);
            },
            nullptr, nullptr, {}, true },
    };
    for (const Window& w : windows) {
        SCOPED_TRACE(std::string(w.name) + (w.serverAway ? ", the server stays away" : ""));
        const QString table = QString::fromLatin1(w.table);
        m_owner->executeStatement(QStringLiteral("DELETE FROM %1 WHERE %2 > %3")
                                      .arg(table, QString::fromLatin1(w.identity))
                                      .arg(table == QLatin1String("Item_Actions") ? stored : 0));
        DeclaredRecordWindow* window = openNew(QString::fromLatin1(w.name));
        ASSERT_NE(window, nullptr);
        w.fill(window);
        Prompts().clear();
        relay->loseCommitAnswerAfter(QByteArray("INSERT INTO ") + w.table, 1, w.serverAway);
        const QString message = save(window);
        const QString rows = QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2 > %3")
                                 .arg(table, QString::fromLatin1(w.identity))
                                 .arg(table == QLatin1String("Item_Actions") ? stored : 0);
        EXPECT_EQ(ownerCount(rows), 1) << "the lost answer's commit was made";
        if (w.serverAway) {
            EXPECT_TRUE(message.contains(QStringLiteral("Whether the record was stored could not be found out; saving "
                                                        "it again stores it once.")))
                << message.toStdString();
            EXPECT_EQ(window->info()->Mode(), FormMode::Add);
            relay->setRefusing(false);
            if (w.changedField)
                window->field(QString::fromLatin1(w.changedField))->setValue(w.changedValue);
            Prompts().clear();
            EXPECT_EQ(save(window), QString());
            EXPECT_EQ(ownerCount(rows), 1) << "the second save found the first one's record";
            // The window now edits that record: a later save is an edit of it, compared as one.
            if (w.changedField) {
                EXPECT_EQ(ownerCount(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2 > %3 AND %4 = %5")
                                         .arg(table, QString::fromLatin1(w.identity))
                                         .arg(stored)
                                         .arg(QString::fromLatin1(w.changedColumn),
                                             SQLString(w.changedValue.toString()))),
                    1);
                window->field(QString::fromLatin1(w.changedField))->setValue(QStringLiteral("Counted once more"));
                EXPECT_EQ(save(window), QString());
                EXPECT_EQ(ownerCount(rows), 1);
            }
        } else {
            EXPECT_EQ(message, QString()) << "the record was found stored: nothing to report";
        }
        EXPECT_EQ(window->info()->Mode(), FormMode::Edit);
        EXPECT_EQ(window->info()->zID()->Value(),
            ownerCount(QStringLiteral("SELECT MAX(%1) FROM %2").arg(QString::fromLatin1(w.identity), table)));
        UnloadWindow(window);
    }
    EXPECT_EQ(relay->answersLost(), 6);
}

// A clerk edits an item action; the server makes the update and its answer is lost. On the
// connection opened again the row holds exactly what the save wrote: the save is done, with no
// word of anybody's change, and every later save compares with the row as that save left it. When
// the server stays away, the next save finds the first one made (and writes what was changed
// since); a change made by someone else is still found and named.
TEST_P(LostCommitAnswers, AnEditWhoseAnswerIsLostIsTheClerksOwnSave)
{
    const int action = insert(QStringLiteral("INSERT INTO Item_Actions (Item_ID, Item_Action_Type_ID, "
                                             "Performed_By_Employee_ID, Item_Action_Date_Time, "
                                             "Item_Action_Description) VALUES (%1, %2, %3, '2026-04-03 09:00', "
                                             "'Counted') RETURNING Item_Action_ID")
                                  .arg(items[0])
                                  .arg(note)
                                  .arg(employee));
    const auto description = [&] {
        return m_owner
            ->executeStatement(
                QStringLiteral("SELECT Item_Action_Description FROM Item_Actions WHERE Item_Action_ID = %1").arg(action))
            .valueAt(0, 0)
            .toString();
    };
    const auto describe = [](DeclaredRecordWindow* window, const QString& text) {
        window->field(QStringLiteral("zmemDescription"))->setValue(text);
        window->info()->setDataChanged(true);
    };
    for (const bool serverAway : { false, true }) {
        SCOPED_TRACE(serverAway ? "the server stays away until the next save" : "the server answers again");
        DeclaredRecordWindow* window = openEdit(QStringLiteral("frmItemAction"), action);
        ASSERT_NE(window, nullptr);
        describe(window, QStringLiteral("Counted again"));
        relay->loseAnswerTo("UPDATE Item_Actions", 1, serverAway);
        const QString first = save(window);
        EXPECT_EQ(description(), QStringLiteral("Counted again")) << "the lost answer's update was made";
        EXPECT_FALSE(first.contains(QStringLiteral("was changed"))) << first.toStdString();
        if (serverAway) {
            EXPECT_FALSE(first.isEmpty()) << "the save could not find out: it says so";
            EXPECT_TRUE(window->info()->DataChanged());
            relay->setRefusing(false);
            // Changed once more before the next save: that goes onto the row the first one made.
            describe(window, QStringLiteral("Counted again, twice"));
            EXPECT_EQ(save(window), QString());
            EXPECT_EQ(description(), QStringLiteral("Counted again, twice"));
        } else {
            EXPECT_EQ(first, QString());
        }
        EXPECT_FALSE(window->info()->DataChanged());
        describe(window, QStringLiteral("Counted a third time"));
        EXPECT_EQ(save(window), QString());
        EXPECT_EQ(description(), QStringLiteral("Counted a third time"));
        m_owner->executeStatement(
            QStringLiteral("UPDATE Item_Actions SET Item_Action_Description = 'Recounted' WHERE Item_Action_ID = %1")
                .arg(action));
        describe(window, QStringLiteral("Mine"));
        Prompts().answer(MsgBox::No);
        const QString changed = save(window);
        EXPECT_TRUE(changed.startsWith(QStringLiteral("Item Action <%1> was changed by %2 on ")
                                           .arg(action)
                                           .arg(m_owner->loginName())))
            << changed.toStdString();
        EXPECT_EQ(description(), QStringLiteral("Recounted"));
        window->info()->setDataChanged(false);
        UnloadWindow(window);
        m_owner->executeStatement(
            QStringLiteral("UPDATE Item_Actions SET Item_Action_Description = 'Counted' WHERE Item_Action_ID = %1")
                .arg(action));
    }
    EXPECT_EQ(relay->answersLost(), 2);
}

INSTANTIATE_TEST_SUITE_P(PostgreSQL, LostCommitAnswers, ::testing::Values(Engine::PostgreSQL), EngineTestName);

} // namespace
