// A record window and a search window that declare their fields and nothing else: the data
// window's own hooks load, check and save their rows, on a real database of both engines.

#include "FakeControls.h"

#include "core/AppError.h"
#include "core/Database.h"
#include "core/ErrorReport.h"
#include "core/ProcedureCatalogue.h"
#include "core/Recordset.h"
#include "core/Schema.h"
#include "form_framework/FormRegistry.h"
#include "form_framework/FormSnapshot.h"
#include "form_framework/WindowList.h"
#include "form_framework/WindowOpening.h"
#include "form_framework/zButtonsAddEdit.h"
#include "form_framework/zCheckBox.h"
#include "form_framework/zIdentity.h"
#include "form_framework/zInfo.h"
#include "form_framework/zNumeric.h"
#include "form_framework/zText.h"
#include "support/PromptRecorder.h"
#include "support/TestDatabase.h"

#include <QApplication>
#include <QFile>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

template <class Field> Field* addField(QWidget* window, const char* name, const char* column, const char* goodName)
{
    auto* field = new Field(window);
    field->setObjectName(QString::fromLatin1(name));
    field->setDBFieldName(QString::fromLatin1(column));
    field->setGoodName(QString::fromLatin1(goodName));
    window->layout()->addWidget(field);
    return field;
}

// Overrides no hook of the data window.
class frmPlain : public DataWindow {
public:
    frmPlain()
        : DataWindow(QStringLiteral("frmPlain"))
    {
        new QVBoxLayout(this);
        auto* id = new zIdentity(this);
        id->setDBFieldName(QStringLiteral("Plain_ID"));
        layout()->addWidget(id);
        name = addField<zText>(this, "ztxtName", "Plain_Name", "Plain Name");
        name->setRequired(true);
        quantity = addField<zNumeric>(this, "znumQuantity", "Quantity", "Quantity");
        working = addField<zCheckBox>(this, "zchkWorking", "Working", "Working");
        layout()->addWidget(new zButtonsAddEdit(this));
        zInfo* z = info();
        z->setFormType(FormType::Record);
        z->setFormCaption(QStringLiteral("Plain"));
        z->setMainTableName(QStringLiteral("Plains"));
        z->setIdentityField(QStringLiteral("Plain_ID"));
    }
    zText* name;
    zNumeric* quantity;
    zCheckBox* working;
};

// Overrides no hook of the data window either.
class frmPlains : public DataWindow {
public:
    frmPlains()
        : DataWindow(QStringLiteral("frmPlains"))
    {
        new QVBoxLayout(this);
        name = addField<zText>(this, "ztxtName", "Plain_Name", "Plain Name");
        name->setMaxLength(10);
        list = new FakeResultList(this);
        layout()->addWidget(list);
        zInfo* z = info();
        z->setFormType(FormType::Search);
        z->setMode(FormMode::SearchList);
        z->setFormCaption(QStringLiteral("Plain"));
        z->setMainTableName(QStringLiteral("Plains"));
        z->setIdentityField(QStringLiteral("Plain_ID"));
        z->setSearchSQL(QStringLiteral("EXEC usp_Plains_Search"));
        z->setSearchSQLOne(QStringLiteral("EXEC usp_Plains_Search"));
    }
    zText* name;
    FakeResultList* list;
};

// A search window whose list fails on every change and whose every command fails.
class frmFailingPlains : public DataWindow {
public:
    class FailingList : public FakeResultList {
    public:
        using FakeResultList::FakeResultList;
        void AddListViewItems(const QString&) override
        {
            throw AppError(ErrToReport, QStringLiteral("The list is broken."));
        }
    };

    frmFailingPlains()
        : DataWindow(QStringLiteral("frmFailingPlains"))
    {
        new QVBoxLayout(this);
        layout()->addWidget(new FailingList(this));
        zInfo* z = info();
        z->setFormType(FormType::Search);
        z->setMode(FormMode::SearchList);
        z->setMainTableName(QStringLiteral("Plains"));
        z->setIdentityField(QStringLiteral("Plain_ID"));
        z->setSearchSQLOne(QStringLiteral("EXEC usp_Plains_Search"));
    }
    void ProcessCommand(MainCommand) override { throw AppError(ErrToReport, QStringLiteral("No such command here.")); }
};

class ContractDefaults : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        Prompts().clear();
        FormRegistry::registerForm(QStringLiteral("frmPlain"), [] { return new frmPlain; });
        FormRegistry::registerForm(QStringLiteral("frmPlains"), [] { return new frmPlains; });
        FormRegistry::registerForm(QStringLiteral("frmFailingPlains"), [] { return new frmFailingPlains; });
        ProcedureCatalogue::instance().registerProcedure(ProcedureCatalogue::parse(QStringLiteral("usp_Plains_Search"),
            QStringLiteral("-- @param Plain_Name text\nSELECT * FROM Plains WHERE :Plain_Name IS NULL "
                           "OR Plain_Name = :Plain_Name"),
            {}, {}));
        const Engine engine = GetParam();
        ASSERT_TRUE(Act_ExecuteSQL(
            QStringLiteral("CREATE TABLE Plains (Plain_ID %1, Plain_Name %2, Quantity INTEGER, Working %3)")
                .arg(SchemaToken(engine, QStringLiteral("{ID}")), SchemaToken(engine, QStringLiteral("{NAME}")),
                    SchemaToken(engine, QStringLiteral("{BIT}")))));
        ASSERT_TRUE(Act_ExecuteSQL(
            QStringLiteral("INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, "
                           "DB_ID_Field, DB_Default_Permission) VALUES ('Plains', 'Plains', 'Plain', 'Plain_ID', 1)")));
        RefreshChangeLogTriggers(*DBConnection());
        ASSERT_TRUE(
            Act_ExecuteSQL(QStringLiteral("INSERT INTO Plains (Plain_Name, Quantity, Working) VALUES ('Lamp', 3, 1)")));
        m_lamp = GetSQLValue(QStringLiteral("SELECT Plain_ID FROM Plains"))->toInt();
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

    static frmPlain* openPlain(int mode, int identity = 0)
    {
        return static_cast<frmPlain*>(OpenFormWithParams(QStringLiteral("frmPlain"), identity,
            { QStringLiteral("Mode"), mode, QStringLiteral("IdentityValue"), identity }));
    }
    QString lastMessage() const { return Prompts().boxes.empty() ? QString() : Prompts().boxes.back().text; }

    int m_lamp = 0;
};

TEST_P(ContractDefaults, TheRecordWindowLoadsTheRowIntoItsFields)
{
    frmPlain* window = openPlain(2, m_lamp);
    ASSERT_NE(window, nullptr) << qPrintable(lastMessage());
    EXPECT_EQ(window->name->Text(), QStringLiteral("Lamp"));
    EXPECT_EQ(window->quantity->Value().toInt(), 3);
    EXPECT_TRUE(window->working->Value().toBool());
    EXPECT_FALSE(window->info()->DataChanged()) << "filling the fields is no change of the user's";

    // A record that is gone: the window reports it and does not stay open.
    Prompts().clear();
    EXPECT_EQ(openPlain(2, m_lamp + 100), nullptr);
    EXPECT_TRUE(
        lastMessage().contains(QStringLiteral("Plain <%1> no longer exists in the database.").arg(m_lamp + 100)))
        << qPrintable(lastMessage());
}

TEST_P(ContractDefaults, TheFieldCheckStopsAtTheFirstInvalidField)
{
    struct Case {
        const char* name;
        bool passes;
        const char* message;
    };
    const Case cases[] = {
        { "", false, "Plain Name is a required field." },
        { "   ", false, "Plain Name is a required field." },
        { "Lamp", true, "" },
    };
    frmPlain* window = openPlain(1);
    ASSERT_NE(window, nullptr) << qPrintable(lastMessage());
    for (const Case& c : cases) {
        Prompts().clear();
        window->name->setValue(QString::fromLatin1(c.name));
        EXPECT_EQ(window->info()->CheckFields(), c.passes) << "name '" << c.name << "'";
        EXPECT_EQ(lastMessage(), QString::fromLatin1(c.message)) << "name '" << c.name << "'";
        if (!c.passes) {
            EXPECT_EQ(Prompts().boxes.back().title, QStringLiteral("Fields Validation"));
        }
    }
}

TEST_P(ContractDefaults, TheRecordWindowSavesANewAndAnExistingRow)
{
    frmPlain* added = openPlain(1);
    ASSERT_NE(added, nullptr) << qPrintable(lastMessage());
    added->name->setValue(QStringLiteral("Stool"));
    added->quantity->setValue(4);
    ASSERT_TRUE(added->info()->SaveData(true)) << qPrintable(lastMessage());
    const int stool = added->info()->zID()->Value();
    EXPECT_GT(stool, m_lamp) << "the identity the insert returned";
    EXPECT_EQ(added->info()->Mode(), FormMode::Edit);
    std::unique_ptr<Recordset> row;
    ASSERT_TRUE(Act_OpenRecordset(row, QStringLiteral("SELECT * FROM Plains WHERE Plain_ID = %1").arg(stool)));
    ASSERT_FALSE(row->eof());
    EXPECT_EQ(row->value(QStringLiteral("Plain_Name")).toString(), QStringLiteral("Stool"));
    EXPECT_EQ(row->value(QStringLiteral("Quantity")).toInt(), 4);
    EXPECT_FALSE(row->value(QStringLiteral("Working")).toBool());
    ASSERT_TRUE(UnloadWindow(added));

    frmPlain* edited = openPlain(2, m_lamp);
    ASSERT_NE(edited, nullptr) << qPrintable(lastMessage());
    edited->quantity->setValue(9);
    ASSERT_TRUE(edited->info()->SaveData(true)) << qPrintable(lastMessage());
    EXPECT_EQ(GetSQLValue(QStringLiteral("SELECT Quantity FROM Plains WHERE Plain_ID = %1").arg(m_lamp))->toInt(), 9);
    EXPECT_EQ(GetSQLValue(QStringLiteral("SELECT Plain_Name FROM Plains WHERE Plain_ID = %1").arg(m_lamp))->toString(),
        QStringLiteral("Lamp"));

    // A blank required field: nothing is saved, and the clerk is told why.
    Prompts().clear();
    edited->name->setValue(QString());
    EXPECT_FALSE(edited->info()->SaveData(true));
    EXPECT_EQ(lastMessage(), QStringLiteral("Plain Name is a required field."));
    EXPECT_EQ(GetSQLValue(QStringLiteral("SELECT Plain_Name FROM Plains WHERE Plain_ID = %1").arg(m_lamp))->toString(),
        QStringLiteral("Lamp"));
}

TEST_P(ContractDefaults, TheSearchWindowChecksItsCriteriaBeforeItSearches)
{
    auto* window = static_cast<frmPlains*>(ShowFormByName(QStringLiteral("frmPlains")));
    ASSERT_NE(window, nullptr) << qPrintable(lastMessage());

    window->name->setValue(QStringLiteral("Lamp shades!"));
    window->PopulateData();
    EXPECT_TRUE(window->list->calls.isEmpty()) << "an invalid criterion leaves the list alone";
    EXPECT_EQ(lastMessage(), QStringLiteral("Plain Name should be at most 10 characters long."));

    window->name->setValue(QStringLiteral("Lamp"));
    window->PopulateData();
    ASSERT_EQ(
        window->list->calls, QStringList { QStringLiteral("Populate EXEC usp_Plains_Search @Plain_Name = 'Lamp'") });
    std::unique_ptr<Recordset> rows;
    ASSERT_TRUE(Act_OpenRecordset(rows, window->list->populateSQL));
    ASSERT_EQ(rows->recordCount(), 1);
    EXPECT_EQ(rows->value(QStringLiteral("Plain_ID")).toInt(), m_lamp);
}

TEST_P(ContractDefaults, FailuresThatMustNotStopTheProgramAreLogged)
{
    QFile::remove(ErrorLogFile());
    auto readLog = [] {
        QFile file(ErrorLogFile());
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    };
    DataWindow* failing = ShowFormByName(QStringLiteral("frmFailingPlains"));
    auto* plains = static_cast<frmPlains*>(ShowFormByName(QStringLiteral("frmPlains")));
    ASSERT_TRUE(failing && plains) << qPrintable(lastMessage());
    plains->list->calls.clear();

    // The broadcast: the failing window is heard first, the next one still hears it.
    BroadcastDataChanged(DataChangedAction::Added, QStringLiteral("Plains"), QString::number(m_lamp));
    EXPECT_EQ(plains->list->calls.value(0), QStringLiteral("Add EXEC usp_Plains_Search @Plain_ID = %1").arg(m_lamp));
    EXPECT_TRUE(
        readLog().contains(QStringLiteral("Failure ignored in frmFailingPlains data-changed message for Plains: ")))
        << qPrintable(readLog());
    EXPECT_TRUE(readLog().contains(QStringLiteral("The list is broken.")));

    // A command the window fails at: a beep, as before, and the failure on record.
    Prompts().clear();
    failing->info()->DoCommand(MainCommand::Print);
    EXPECT_EQ(Prompts().beeps, 1);
    EXPECT_TRUE(readLog().contains(QStringLiteral("Failure ignored in frmFailingPlains command 9: ")));
    EXPECT_TRUE(readLog().contains(QStringLiteral("No such command here.")));
    QFile::remove(ErrorLogFile());
}

INSTANTIATE_TEST_SUITE_P(Engines, ContractDefaults, ::testing::ValuesIn(TestEngines()), EngineTestName);

} // namespace
