#include "FakeControls.h"

#include "core/AppError.h"
#include "form_framework/ChildWindows.h"
#include "core/Connection.h"
#include "core/Database.h"
#include "form_framework/FormSnapshot.h"
#include "form_framework/QueuedFormParams.h"
#include "support/PromptRecorder.h"
#include "form_framework/RecordChecks.h"
#include "core/SqlText.h"
#include "support/TestDatabase.h"
#include "form_framework/WindowList.h"
#include "form_framework/WindowOpening.h"
#include "form_framework/zIdentity.h"
#include "form_framework/zInfo.h"

#include <QApplication>

#include <gtest/gtest.h>

namespace {

class FormFramework : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        RegisterTestForms();
        Prompts().clear();
        ASSERT_TRUE(CreateGadgetsTable(GetParam()));
    }

    void TearDown() override
    {
        for (QWidget* window : LoadedWindows()) {
            if (DataWindow* data = AsDataWindow(window))
                data->info()->setDataChanged(false);
            UnloadWindow(window);
        }
        QApplication::processEvents();
        DatabaseTest::TearDown();
    }

    int insertGadget(const QString& name, const QString& serial)
    {
        const auto id = GetSQLValue(QStringLiteral("INSERT INTO Gadgets (Gadget_Name, Serial, Working) VALUES (%1, %2, 1) RETURNING Gadget_ID")
                                        .arg(name, serial));
        return id ? id->toInt() : -1;
    }

    frmGadget* openNew(const QVariantList& more = {})
    {
        QVariantList args { QStringLiteral("Mode"), 1 };
        args += more;
        return static_cast<frmGadget*>(OpenFormWithParams(QStringLiteral("frmGadget"), 0, args));
    }

    frmGadget* openRecord(int id)
    {
        return static_cast<frmGadget*>(
            OpenFormWithParams(QStringLiteral("frmGadget"), id, { QStringLiteral("Mode"), 2, QStringLiteral("IdentityValue"), id }));
    }
};

TEST_P(FormFramework, ANewRecordIsInsertedAndEveryListOfItsTableHearsOfIt)
{
    auto* list = static_cast<frmGadgets*>(ShowFormByName(QStringLiteral("frmGadgets")));
    ASSERT_NE(list, nullptr);
    frmGadget* window = openNew();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Add Gadget"));
    EXPECT_EQ(window->info()->zID()->Text(), QStringLiteral("NEW"));
    EXPECT_FALSE(window->bar->newEnabled);
    EXPECT_TRUE(window->working->isChecked()) << "defaults are set in add mode";

    window->name->setValue(QStringLiteral("Radio O'Neil"));
    window->info()->setDataChanged(true);
    EXPECT_TRUE(window->bar->saveEnabled);
    EXPECT_EQ(window->bar->closeCaption, QStringLiteral("&Cancel"));
    ASSERT_TRUE(window->info()->SaveData(true));

    const int id = window->info()->zID()->Value();
    EXPECT_GT(id, 0);
    EXPECT_EQ(GetSQLValue(QStringLiteral("SELECT Gadget_Name FROM Gadgets WHERE Gadget_ID = %1").arg(id))->toString(), QStringLiteral("Radio O'Neil"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Edit Gadget - %1").arg(id));
    EXPECT_TRUE(window->bar->newEnabled);
    EXPECT_FALSE(window->info()->DataChanged());
    EXPECT_EQ(window->bar->closeCaption, QStringLiteral("&Close"));
    EXPECT_TRUE(list->list->calls.contains(QStringLiteral("Add EXEC usp_Search_Gadgets_One @Gadget_ID = %1").arg(id)));
    EXPECT_TRUE(list->list->calls.contains(QStringLiteral("Highlight #%1").arg(id)));
    EXPECT_TRUE(Prompts().boxes.empty());
}

TEST_P(FormFramework, AnEditSendsOnlyWhatChangedAndNothingWhenNothingDid)
{
    const int id = insertGadget(QStringLiteral("'Camera'"), QStringLiteral("'S-1'"));
    frmGadget* window = openRecord(id);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->name->text(), QStringLiteral("Camera"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Edit Gadget - %1").arg(id));

    window->name->setValue(QStringLiteral("camera")); // a change of letter case is a change
    ASSERT_TRUE(window->info()->SaveData(true));
    std::unique_ptr<Recordset> rs;
    ASSERT_TRUE(Act_OpenRecordset(rs, QStringLiteral("SELECT Gadget_Name, Serial FROM Gadgets WHERE Gadget_ID = %1").arg(id)));
    EXPECT_EQ(rs->value(0).toString(), QStringLiteral("camera"));
    EXPECT_EQ(rs->value(1).toString(), QStringLiteral("S-1"));

    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("UPDATE Gadgets SET Gadget_Name = 'by someone else' WHERE Gadget_ID = %1").arg(id)));
    window->info()->setDataChanged(true);
    EXPECT_TRUE(window->info()->SaveData(true)) << "nothing changed: nothing is sent";
    EXPECT_EQ(GetSQLValue(QStringLiteral("SELECT Gadget_Name FROM Gadgets WHERE Gadget_ID = %1").arg(id))->toString(),
              QStringLiteral("by someone else"));
    EXPECT_FALSE(window->info()->DataChanged());
}

TEST_P(FormFramework, SavingARecordDeletedMeanwhileFailsAndKeepsTheChanges)
{
    const int id = insertGadget(QStringLiteral("'Drone'"), QStringLiteral("NULL"));
    frmGadget* window = openRecord(id);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("DELETE FROM Gadgets WHERE Gadget_ID = %1").arg(id)));
    window->name->setValue(QStringLiteral("Drone 2"));
    window->info()->setDataChanged(true);
    EXPECT_FALSE(window->info()->SaveData(true));
    EXPECT_TRUE(window->info()->DataChanged());
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_EQ(Prompts().boxes[0].text, QStringLiteral("Unable to Open Recordset\r\n\r\nGadget <%1> no longer exists in the database.").arg(id));
    EXPECT_EQ(GetSQLValue(QStringLiteral("SELECT COUNT(*) FROM Gadgets"))->toInt(), 0) << "nothing is inserted in its place";
}

TEST_P(FormFramework, ARecordAlreadyShownIsBroughtForwardInsteadOfOpenedTwice)
{
    const int first = insertGadget(QStringLiteral("'A'"), QStringLiteral("NULL"));
    const int second = insertGadget(QStringLiteral("'B'"), QStringLiteral("NULL"));
    frmGadget* window = openRecord(first);
    EXPECT_EQ(openRecord(first), window);
    EXPECT_FALSE(FormParams::contains(QStringLiteral("frmGadget"))) << "the dropped parameters do not stay queued";
    frmGadget* other = openRecord(second);
    EXPECT_NE(other, window);
    EXPECT_EQ(LoadedWindows().size(), 2);
    EXPECT_EQ(ShowFormByName(QStringLiteral("FRMGADGETS")), ShowFormByName(QStringLiteral("frmGadgets")));
}

TEST_P(FormFramework, StartParametersPresetFieldsAndCriteriaAsLiterals)
{
    frmGadget* window = openNew({ QStringLiteral("Serial"), QStringLiteral("X-9"), QStringLiteral("serial"), QStringLiteral("ignored"),
                                  QStringLiteral("DefaultValue"), QStringLiteral("typed") });
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->serial->text(), QStringLiteral("X-9"));
    EXPECT_EQ(window->info()->DefaultValue(), QStringLiteral("typed"));
    EXPECT_TRUE(window->events.contains(QStringLiteral("default value typed")));
    EXPECT_FALSE(FormParams::contains(QStringLiteral("frmGadget")));

    auto* list = static_cast<frmGadgets*>(
        OpenFormWithParams(QStringLiteral("frmGadgets"), 0, { QStringLiteral("Gadget_Name"), QStringLiteral("O'Brien's radio") }));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->info()->Mode(), FormMode::SearchList);
    EXPECT_EQ(list->list->populateSQL, QStringLiteral("EXEC usp_Search_Gadgets_All @Gadget_Name = 'O''Brien''s radio'"));
    EXPECT_FALSE(list->events.contains(QStringLiteral("PopulateData"))) << "the preset search replaces the start-up fill";
}

TEST_P(FormFramework, APickerShowsTheChosenRowAndDisablesItsParentUntilItCloses)
{
    frmGadget* window = openNew();
    window->kind->setValue(7);
    DataWindow* picker = OpenPickerForm(window->kind, QStringLiteral("frmGadgets"));
    ASSERT_NE(picker, nullptr);
    auto* list = static_cast<frmGadgets*>(picker);
    EXPECT_EQ(picker->windowTitle(), QStringLiteral("Select Gadget"));
    EXPECT_EQ(picker->info()->Mode(), FormMode::Pick);
    EXPECT_EQ(list->list->calls.value(0), QStringLiteral("Add EXEC usp_Search_Gadgets_One @Gadget_ID = 7"));
    EXPECT_FALSE(list->events.contains(QStringLiteral("PopulateData")));
    EXPECT_FALSE(window->isEnabled());
    EXPECT_EQ(window->info()->ChildForm(), picker);
}

TEST_P(FormFramework, ClosingWithUnsavedChangesAsksAndCancelKeepsTheWindow)
{
    frmGadget* window = openNew();
    window->name->setValue(QStringLiteral("Unsaved"));
    window->info()->setDataChanged(true);
    Prompts().answer(MsgBox::Cancel);
    EXPECT_FALSE(UnloadWindow(window));
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_EQ(Prompts().boxes[0].text, QStringLiteral("Do you to want save the changes you made to the Gadget <NEW>?"));
    EXPECT_TRUE(window->info()->DataChanged());
    Prompts().answer(MsgBox::No);
    EXPECT_TRUE(UnloadWindow(window));
    EXPECT_TRUE(LoadedWindows().isEmpty());
    EXPECT_EQ(GetSQLValue(QStringLiteral("SELECT COUNT(*) FROM Gadgets"))->toInt(), 0);
}

TEST_P(FormFramework, UnloadAllFormsStopsAtTheWindowThatRefuses)
{
    frmGadget* first = openNew();
    frmGadget* middle = openNew();
    frmGadget* last = openNew();
    ASSERT_TRUE(first && middle && last);
    middle->info()->setDataChanged(true);
    Prompts().answer(MsgBox::Cancel);
    UnloadAllForms();
    QApplication::processEvents();
    const QList<QWidget*> open = LoadedWindows();
    EXPECT_EQ(open.size(), 2);
    EXPECT_TRUE(open.contains(first));
    EXPECT_TRUE(open.contains(middle));
}

TEST_P(FormFramework, ADeleteClosesTheRecordWindowAndStillReachesLaterWindows)
{
    const int id = insertGadget(QStringLiteral("'Scope'"), QStringLiteral("NULL"));
    frmGadget* record = openRecord(id);
    frmGadget* adding = openNew();
    auto* list = static_cast<frmGadgets*>(ShowFormByName(QStringLiteral("frmGadgets")));
    record->info()->setDataChanged(true); // even unsaved changes: the record is gone
    Prompts().answer(MsgBox::Yes);
    ASSERT_TRUE(Act_DeleteRecords(QStringLiteral("Gadgets"), QStringLiteral("Gadget"), QStringLiteral("Scope"), QString::number(id), true));
    EXPECT_EQ(Prompts().boxes.at(0).text, QStringLiteral("Are you sure you want to delete Gadget <Scope>?"));
    QApplication::processEvents();
    EXPECT_FALSE(LoadedWindows().contains(record));
    EXPECT_TRUE(LoadedWindows().contains(adding));
    EXPECT_TRUE(list->list->calls.contains(QStringLiteral("Remove %1").arg(id)));
    EXPECT_TRUE(list->kind->calls.isEmpty()) << "the kind picker follows another table";
    EXPECT_EQ(GetSQLValue(QStringLiteral("SELECT COUNT(*) FROM Gadgets"))->toInt(), 0);
}

TEST_P(FormFramework, ADeleteAnsweredNoOrRefusedSendsNothing)
{
    const int id = insertGadget(QStringLiteral("'Keep'"), QStringLiteral("NULL"));
    Prompts().answer(MsgBox::No);
    EXPECT_TRUE(Act_DeleteRecords(QStringLiteral("Gadgets"), QStringLiteral("Gadget"), QStringLiteral("Keep"), QStringLiteral("%1, 99").arg(id), true));
    EXPECT_EQ(Prompts().boxes.at(0).text, QStringLiteral("Are you sure you want to delete 2 Gadget Records?"));
    EXPECT_EQ(GetSQLValue(QStringLiteral("SELECT COUNT(*) FROM Gadgets"))->toInt(), 1);

    Prompts().clear();
    Prompts().answer(MsgBox::Yes);
    EXPECT_FALSE(Act_DeleteRecords(QStringLiteral("Gadgets"), QStringLiteral("Gadget"), QStringLiteral("x"), QStringLiteral("1) OR (1=1"), true));
    EXPECT_EQ(GetSQLValue(QStringLiteral("SELECT COUNT(*) FROM Gadgets"))->toInt(), 1);
}

// Whoever can write DB_Tables must not get SQL of their own run by the next administrator's delete.
TEST_P(FormFramework, ADeleteRefusesAnIdentityFieldThatIsNoPlainName)
{
    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("CREATE TABLE Sentinel (Sentinel_ID INTEGER)")));
    const int id = insertGadget(QStringLiteral("'Keep'"), QStringLiteral("NULL"));
    const char* poisons[] = {
        "Gadget_ID = -1 AND $$'$$ = $$x$$; DROP TABLE Sentinel; --'",
        "Gadget_ID IN (0) OR 1=1 OR Gadget_ID",
        "Gadget_ID'",
        "Gadget_ID; DROP TABLE Sentinel",
        "Gadget_ID -- x",
        "1Gadget_ID",
        "\"Gadget_ID\"",
    };
    for (const char* poison : poisons) {
        ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("UPDATE DB_Tables SET DB_ID_Field = ") + SQLString(QString::fromUtf8(poison))
                                   + QStringLiteral(" WHERE DB_Table_Name = 'Gadgets'")));
        Prompts().clear();
        Prompts().answer(MsgBox::Yes);
        EXPECT_FALSE(Act_DeleteRecords(QStringLiteral("Gadgets"), QStringLiteral("Gadget"), QStringLiteral("Keep"), QString::number(id), true))
            << poison;
        bool named = false;
        for (const auto& box : Prompts().boxes)
            named = named || box.text.contains(QStringLiteral("is not a plain name of letters, digits and underscores."));
        EXPECT_TRUE(named) << poison;
        EXPECT_EQ(GetSQLValue(QStringLiteral("SELECT COUNT(*) FROM Gadgets"))->toInt(), 1) << poison;
        EXPECT_TRUE(GetSQLValue(QStringLiteral("SELECT COUNT(*) FROM Sentinel")).has_value()) << poison;
    }
    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("UPDATE DB_Tables SET DB_ID_Field = 'Gadget_ID' WHERE DB_Table_Name = 'Gadgets'")));
    Prompts().clear();
    Prompts().answer(MsgBox::Yes);
    EXPECT_TRUE(Act_DeleteRecords(QStringLiteral("Gadgets"), QStringLiteral("Gadget"), QStringLiteral("Keep"), QString::number(id), true));
    EXPECT_EQ(GetSQLValue(QStringLiteral("SELECT COUNT(*) FROM Gadgets"))->toInt(), 0);
}

TEST_P(FormFramework, CommandsGoWhereTheirFormTypeSends)
{
    frmGadget* record = openNew();
    auto* list = static_cast<frmGadgets*>(ShowFormByName(QStringLiteral("frmGadgets")));
    struct Case {
        int command;
        const char* record;
        const char* search;
    };
    const Case cases[] = {
        { 2, "beep", "command 2" }, { 5, "New", "New" },        { 6, "beep", "Edit" },       { 7, "Save", "beep" },
        { 8, "beep", "Delete" },    { 9, "command 9", "command 9" }, { 42, "command 42", "command 42" },
    };
    for (const Case& c : cases) {
        for (DataWindow* window : std::initializer_list<DataWindow*> { record, list }) {
            Prompts().clear();
            record->bar->calls.clear();
            record->events.clear();
            list->bar->calls.clear();
            list->events.clear();
            // The menu hands over numbers, 42 too.
            window->info()->DoCommand(static_cast<MainCommand>(c.command));
            const QString expected = QString::fromLatin1(window == record ? c.record : c.search);
            QStringList seen = window == record ? record->bar->calls + record->events : list->bar->calls + list->events;
            if (Prompts().beeps > 0)
                seen << QStringLiteral("beep");
            seen.removeIf([](const QString& s) { return s.startsWith(QLatin1String("mode")); });
            EXPECT_EQ(seen, QStringList { expected }) << c.command << " on " << qPrintable(window->objectName());
        }
    }
}

TEST_P(FormFramework, SnapshotsTakeRecordFieldsAlwaysAndOnlyFilledCriteria)
{
    frmGadget* record = openNew();
    record->name->setValue(QStringLiteral("Tape"));
    const PairDictionary recordSnapshot = GetFormSnapshot(record);
    EXPECT_EQ(recordSnapshot.keys(), (QStringList { QStringLiteral("Gadget_Name"), QStringLiteral("Serial"), QStringLiteral("Working"),
                                                    QStringLiteral("Kind_ID") }));
    EXPECT_EQ(recordSnapshot.values(), (QList<QString> { QStringLiteral("'Tape'"), QStringLiteral("NULL"), QStringLiteral("1"),
                                                         QStringLiteral("NULL") }));

    auto* list = static_cast<frmGadgets*>(ShowFormByName(QStringLiteral("frmGadgets")));
    const PairDictionary criteria = GetFormSnapshot(list);
    EXPECT_EQ(criteria.keys(), QStringList { QStringLiteral("Working") }) << "empty criteria and unchosen pickers stay out";
    list->kind->setValue(3);
    list->name->setValue(QStringLiteral("x"));
    EXPECT_EQ(GetFormSnapshot(list).keys(),
              (QStringList { QStringLiteral("Gadget_Name"), QStringLiteral("Working"), QStringLiteral("Kind_ID") }));

    PairDictionary changed = GetChangedValues(recordSnapshot, recordSnapshot);
    EXPECT_TRUE(changed.isEmpty());
}

TEST_P(FormFramework, UniquenessChecksTreatEmptyAsNullAndExcludeTheOwnRecord)
{
    const int id = insertGadget(QStringLiteral("'Phone'"), QStringLiteral("NULL"));
    frmGadget* window = openNew();
    window->name->setValue(QStringLiteral("PHONE"));
    EXPECT_EQ(CheckUniqueValue(window->name, window), QStringLiteral("Gadget with Gadget Name <PHONE> already exists in the database"));
    window->name->setValue(QVariant());
    EXPECT_EQ(CheckUniqueValue(window->name, window), QString());

    window->name->setValue(QStringLiteral("Phone"));
    EXPECT_FALSE(CheckUniqueCombination({ window->name, window->serial }, window, window->name)) << "an empty serial matches NULL";
    EXPECT_EQ(Prompts().boxes.back().text,
              QStringLiteral("Combination of Gadget Name <Phone> and Serial <> already exists in the database."));

    frmGadget* own = openRecord(id);
    EXPECT_EQ(CheckUniqueValue(own->name, own), QString());
    EXPECT_TRUE(CheckUniqueCombination({ own->name, own->serial }, own, nullptr));
}

TEST_P(FormFramework, AnEmployeeIsResolvedFromAWellFormedCodeOrIdentityOnly)
{
    const auto payrolled
        = GetSQLValue(QStringLiteral("INSERT INTO Employees (Payroll_Number) VALUES ('E-7') RETURNING Employee_ID"));
    ASSERT_TRUE(payrolled);
    const struct Case {
        const char* text;
        int expected; // -1: unresolved; 0: the employee whose payroll number is E-7
    } cases[] = {
        { "E-0000000042", 42 },
        { "e-42", 42 },
        { " E-2147483647 ", 2147483647 },
        { "42", 42 },
        { "e-7", 0 }, // a payroll number wins over the code
        { "E-+7", -1 },
        { "E--5", -1 },
        { "E- 5", -1 },
        { "-3", -1 },
        { "+3", -1 },
        { "E-0", -1 },
        { "0", -1 },
        { "E-", -1 },
        { "E-4x", -1 },
        { "E-2147483648", -1 },
        { "E-99999999999", -1 },
        { "99999999999", -1 },
        { "Smith", -1 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        FakePicker picker(
            nullptr, QStringLiteral("zcbtEmployee"), QStringLiteral("Employee_ID"), QStringLiteral("Employees"));
        picker.m_text = QString::fromLatin1(c.text);
        ResolveEmployee(&picker);
        EXPECT_EQ(picker.Value().toInt(), c.expected == 0 ? payrolled->toInt() : c.expected);
    }
    EXPECT_TRUE(Prompts().boxes.empty()) << "no text is an error: it is resolved or left alone";
}

TEST_P(FormFramework, TheWindowSizeIsKeptPerUserBetweenOpenings)
{
    frmGadget* window = openNew();
    window->frame()->resize(500, 300);
    QApplication::processEvents();
    ASSERT_TRUE(UnloadWindow(window));
    QApplication::processEvents();
    frmGadget* again = openNew();
    EXPECT_EQ(again->frame()->size(), QSize(500, 300));
}

INSTANTIATE_TEST_SUITE_P(Engines, FormFramework, ::testing::ValuesIn(TestEngines()), EngineTestName);

TEST(FormFrameworkRules, IdentityFieldShowsNewForZero)
{
    zIdentity id;
    const std::vector<std::tuple<int, const char*, const char*>> cases = { { 0, "NEW", "NULL" }, { 15, "15", "15" }, { -1, "-1", "-1" } };
    for (const auto& [value, text, literal] : cases) {
        id.setValue(value);
        EXPECT_EQ(id.Value(), value);
        EXPECT_EQ(id.Text(), QString::fromLatin1(text));
        EXPECT_EQ(id.DBValue(), QString::fromLatin1(literal));
    }
}

TEST(FormFrameworkRules, CountCaptionsAndTheMainCaption)
{
    EXPECT_EQ(CountCaption(0, QStringLiteral("Item")), QStringLiteral("No Items found"));
    EXPECT_EQ(CountCaption(1, QStringLiteral("Item")), QStringLiteral("1 Item is showing"));
    EXPECT_EQ(CountCaption(12, QStringLiteral("Item")), QStringLiteral("12 Items are showing"));
    EXPECT_EQ(CountCaption(-1, QStringLiteral("Item")), QString());
    EXPECT_EQ(CountCaption(2, QStringLiteral("Box")), QStringLiteral("2 Boxs are showing"));
    EXPECT_TRUE(MainCaption().endsWith(QStringLiteral(" - Database: None - User: None")));
    EXPECT_EQ(WindowNumberText(42), QStringLiteral("#42"));
}

TEST(FormFrameworkRules, AnUnknownWindowNameIsReportedByName)
{
    try {
        LoadFormByName(QStringLiteral("frmNowhere"));
        FAIL();
    } catch (const AppError& error) {
        EXPECT_EQ(error.description(), QStringLiteral("The window <frmNowhere> is not available."));
    }
    EXPECT_FALSE(FormParams::contains(QStringLiteral("frmNowhere")));
}


// A guard that unwinds with another exception already in flight: its own scope returned, so the
// entry stays for the window.
struct OpensWhileUnwinding {
    ~OpensWhileUnwinding()
    {
        const QueuedFormParams queued(QStringLiteral("frmUnwinding"), FormParamDict());
    }
};

TEST(FormFrameworkRules, QueuedStartParametersGoAgainOnlyWhenTheOpeningThrows)
{
    // An opening that returns leaves the entry to the window's load; one that throws takes it away.
    const std::vector<std::pair<const char*, bool>> openings = { { "frmOpens", false }, { "frmThrows", true } };
    for (const auto& [name, throws] : openings) {
        const QString window = QString::fromLatin1(name);
        try {
            const QueuedFormParams queued(window, FormParamDict());
            EXPECT_TRUE(FormParams::contains(window)) << name;
            if (throws)
                throw AppError(ErrToReport, QStringLiteral("refused"), QString());
        } catch (const AppError&) {
        }
        EXPECT_EQ(FormParams::contains(window), !throws) << name;
        FormParams::remove(window);
    }

    try {
        OpensWhileUnwinding opening;
        throw AppError(ErrToReport, QStringLiteral("refused"), QString());
    } catch (const AppError&) {
    }
    EXPECT_TRUE(FormParams::contains(QStringLiteral("frmUnwinding")));
    FormParams::remove(QStringLiteral("frmUnwinding"));

    // A picker whose window does not exist.
    EXPECT_THROW(OpenPickerForm(nullptr, QStringLiteral("frmNowhere")), AppError);
    EXPECT_FALSE(FormParams::contains(QStringLiteral("frmNowhere")));
}

} // namespace
