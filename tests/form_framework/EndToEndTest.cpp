// A record window and a search window built from the real field editors and button bars over a
// table of their own, driven as a clerk drives them: type, save, edit, close, look at the history.

#include "BarWindows.h"

#include "core/Database.h"
#include "core/ProcedureCatalogue.h"
#include "core/Schema.h"
#include "support/PromptRecorder.h"
#include "support/TestDatabase.h"
#include "form_framework/WindowList.h"
#include "form_framework/WindowOpening.h"
#include "form_framework/zCheckBox.h"
#include "form_framework/zDate.h"
#include "form_framework/FormRegistry.h"
#include "form_framework/zIdentity.h"
#include "form_framework/zInfo.h"
#include "form_framework/zMemo.h"
#include "form_framework/zNumeric.h"
#include "form_framework/zText.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include <optional>

#include <gtest/gtest.h>

namespace {

class frmWidget : public DataWindow {
public:
    frmWidget()
        : DataWindow(QStringLiteral("frmWidget"))
    {
        auto* layout = new QVBoxLayout(this);
        auto* id = new zIdentity(this);
        id->setDBFieldName(QStringLiteral("Widget_ID"));
        name = new zText(this);
        name->setObjectName(QStringLiteral("ztxtName"));
        name->setDBFieldName(QStringLiteral("Widget_Name"));
        name->setGoodName(QStringLiteral("Widget Name"));
        name->setRequired(true);
        name->setUnique(true);
        quantity = new zNumeric(this);
        quantity->setObjectName(QStringLiteral("znumQuantity"));
        quantity->setDBFieldName(QStringLiteral("Quantity"));
        quantity->setGoodName(QStringLiteral("Quantity"));
        quantity->setDecimalScale(0);
        quantity->setMin(0);
        quantity->setMax(1000);
        received = new zDate(this);
        received->setObjectName(QStringLiteral("zdtReceived"));
        received->setDBFieldName(QStringLiteral("Received"));
        received->setGoodName(QStringLiteral("Received"));
        working = new zCheckBox(this);
        working->setObjectName(QStringLiteral("zchkWorking"));
        working->setDBFieldName(QStringLiteral("Working"));
        working->setGoodName(QStringLiteral("Working"));
        working->setCaption(QStringLiteral("Working"));
        notes = new zMemo(this);
        notes->setObjectName(QStringLiteral("zmemNotes"));
        notes->setDBFieldName(QStringLiteral("Notes"));
        notes->setGoodName(QStringLiteral("Notes"));
        bar = new zButtonsAddEdit(this);
        for (QWidget* w : std::initializer_list<QWidget*> { id, name, quantity, received, working, notes, bar })
            layout->addWidget(w);
        zInfo* z = info();
        z->setFormType(FormType::Record);
        z->setFormCaption(QStringLiteral("Widget"));
        z->setMainTableName(QStringLiteral("Widgets"));
        z->setIdentityField(QStringLiteral("Widget_ID"));
        // The field check and the load are the data window's own.
    }
    void SetDefaultsProcedure() override { working->setValue(true); }
    bool Act_LoadForm() override
    {
        const bool result = Act_StandardProcessOnLoadMessage(this);
        info()->setDataChanged(false);
        return result;
    }

    zText* name;
    zNumeric* quantity;
    zDate* received;
    zCheckBox* working;
    zMemo* notes;
    zButtonsAddEdit* bar;
};

class frmWidgets : public DataWindow {
public:
    frmWidgets()
        : DataWindow(QStringLiteral("frmWidgets"))
    {
        auto* layout = new QVBoxLayout(this);
        list = new FakeResultList(this);
        bar = new zButtonsSearch(this);
        layout->addWidget(list);
        layout->addWidget(bar);
        zInfo* z = info();
        z->setFormType(FormType::Search);
        z->setMode(FormMode::SearchList);
        z->setFormCaption(QStringLiteral("Widget"));
        z->setMainTableName(QStringLiteral("Widgets"));
        z->setIdentityField(QStringLiteral("Widget_ID"));
        z->setSearchSQL(QStringLiteral("EXEC usp_Widgets_All"));
        z->setSearchSQLOne(QStringLiteral("EXEC usp_Widgets_One"));
        z->setDaughterFormName(QStringLiteral("frmWidget"));
    }
    FakeResultList* list;
    zButtonsSearch* bar;
};

class EndToEnd : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        Prompts().clear();
        FormRegistry::registerForm(QStringLiteral("frmWidget"), [] { return new frmWidget; });
        FormRegistry::registerForm(QStringLiteral("frmWidgets"), [] { return new frmWidgets; });
        ProcedureCatalogue::instance().registerProcedure(ProcedureCatalogue::parse(
            QStringLiteral("usp_Widgets_One"), QStringLiteral("-- @param Widget_ID integer\nSELECT * FROM Widgets WHERE Widget_ID = :Widget_ID"),
            {}, {}));
        const Engine engine = GetParam();
        ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("CREATE TABLE Widgets (Widget_ID %1, Widget_Name %2, Quantity INTEGER, Received %3, "
                                                  "Working %4, Notes %5)")
                                       .arg(SchemaToken(engine, QStringLiteral("{ID}")), SchemaToken(engine, QStringLiteral("{NAME}")),
                                            SchemaToken(engine, QStringLiteral("{DATE}")), SchemaToken(engine, QStringLiteral("{BIT}")),
                                            SchemaToken(engine, QStringLiteral("{TEXT}")))));
        ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, "
                                                  "DB_ID_Field, DB_Default_Permission) VALUES ('Widgets', 'Widgets', 'Widget', 'Widget_ID', 1)")));
        // A table the migrations did not make gets its change-log triggers as theirs do.
        RefreshChangeLogTriggers(*DBConnection());
        m_viewers = m_installed.emplace().get();
    }
    void TearDown() override
    {
        m_installed.reset();
        m_viewers = nullptr;
        for (QWidget* window : LoadedWindows()) {
            if (DataWindow* data = AsDataWindow(window))
                data->info()->setDataChanged(false);
            UnloadWindow(window);
        }
        QApplication::processEvents();
        DatabaseTest::TearDown();
    }

    static void type(QWidget* field, const char* box, const QString& text)
    {
        auto* input = field->findChild<QWidget*>(QString::fromLatin1(box));
        input->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        QTest::keyClicks(input, text);
        // Leaving the field is what a clerk does next.
        input->clearFocus();
        QApplication::processEvents();
    }
    static void click(QWidget* bar, const char* button)
    {
        QTest::mouseClick(bar->findChild<QPushButton*>(QString::fromLatin1(button)), Qt::LeftButton);
        QApplication::processEvents();
    }

    std::optional<RecordingViewers::Installed> m_installed;
    RecordingViewers* m_viewers = nullptr;
};

TEST_P(EndToEnd, AClerkAddsEditsAndReviewsAWidget)
{
    auto* list = static_cast<frmWidgets*>(ShowFormByName(QStringLiteral("frmWidgets")));
    auto* window = static_cast<frmWidget*>(OpenFormWithParams(QStringLiteral("frmWidget"), 0, { QStringLiteral("Mode"), 1 }));
    ASSERT_TRUE(list && window);
    window->show();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Add Widget"));
    EXPECT_TRUE(window->working->Value().toBool()) << "the window's default";
    EXPECT_FALSE(window->bar->SaveEnabled());

    type(window->name, "txtText", QStringLiteral("Radio O'Neil"));
    type(window->quantity, "txtNum", QStringLiteral("7"));
    type(window->received, "txtDate", QStringLiteral("03/05/2024"));
    EXPECT_TRUE(window->info()->DataChanged());
    EXPECT_TRUE(window->bar->SaveEnabled());
    click(window->bar, "btnSave");

    const int id = window->info()->zID()->Value();
    ASSERT_GT(id, 0) << (Prompts().boxes.empty() ? std::string() : Prompts().boxes.back().text.toStdString());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Edit Widget - %1").arg(id));
    EXPECT_FALSE(window->bar->SaveEnabled());
    EXPECT_TRUE(list->list->calls.contains(QStringLiteral("Add EXEC usp_Widgets_One @Widget_ID = %1").arg(id)));
    std::unique_ptr<Recordset> rs;
    ASSERT_TRUE(Act_OpenRecordset(rs, QStringLiteral("SELECT * FROM Widgets WHERE Widget_ID = %1").arg(id)));
    EXPECT_EQ(rs->value(QStringLiteral("Widget_Name")).toString(), QStringLiteral("Radio O'Neil"));
    EXPECT_EQ(rs->value(QStringLiteral("Quantity")).toInt(), 7);
    EXPECT_EQ(rs->value(QStringLiteral("Received")).toDate(), QDate(2024, 3, 5)) << "03/05/2024 is the fifth of March";
    EXPECT_TRUE(rs->value(QStringLiteral("Working")).toBool());

    // An edit, then OK closes the window; the list re-reads the row.
    type(window->quantity, "txtNum", QStringLiteral("2"));
    click(window->bar, "btnOK");
    EXPECT_FALSE(LoadedWindows().contains(window));
    EXPECT_TRUE(list->list->calls.contains(QStringLiteral("Update EXEC usp_Widgets_One @Widget_ID = %1").arg(id)));
    EXPECT_EQ(GetSQLValue(QStringLiteral("SELECT Quantity FROM Widgets WHERE Widget_ID = %1").arg(id))->toInt(), 2)
        << "entering a field selects its text, so typing replaces it";

    // The record history lists the insert and the update.
    auto* again = static_cast<frmWidget*>(OpenFormWithParams(QStringLiteral("frmWidget"), id,
                                                             { QStringLiteral("Mode"), 2, QStringLiteral("IdentityValue"), id }));
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->name->Text(), QStringLiteral("Radio O'Neil"));
    QAction* history = again->findChild<QAction*>(QStringLiteral("mnuRecordHistory"));
    ASSERT_NE(history, nullptr);
    history->trigger();
    QApplication::processEvents();
    ASSERT_EQ(m_viewers->texts.size(), 1);
    EXPECT_TRUE(m_viewers->texts[0].contains(QStringLiteral("Insert")));
    EXPECT_TRUE(m_viewers->texts[0].contains(QStringLiteral("Update")));

    // Unsaved changes: Cancel keeps the window, No lets it go without saving.
    type(again->notes, "txtMemo", QStringLiteral("dented"));
    Prompts().answer(MsgBox::Cancel);
    EXPECT_FALSE(UnloadWindow(again));
    EXPECT_EQ(Prompts().boxes.back().text, QStringLiteral("Do you to want save the changes you made to the Widget <%1>?").arg(id));
    Prompts().answer(MsgBox::No);
    EXPECT_TRUE(UnloadWindow(again));
    EXPECT_TRUE(GetSQLValue(QStringLiteral("SELECT Notes FROM Widgets WHERE Widget_ID = %1").arg(id))->isNull());
}

TEST_P(EndToEnd, NewGoesToDefaultsAndADuplicateNameIsRefused)
{
    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("INSERT INTO Widgets (Widget_Name, Working) VALUES ('Scope', 0)")));
    const int id = GetSQLValue(QStringLiteral("SELECT Widget_ID FROM Widgets"))->toInt();
    auto* window = static_cast<frmWidget*>(OpenFormWithParams(QStringLiteral("frmWidget"), id,
                                                              { QStringLiteral("Mode"), 2, QStringLiteral("IdentityValue"), id }));
    ASSERT_NE(window, nullptr);
    window->show();
    EXPECT_FALSE(window->working->Value().toBool());
    click(window->bar, "btnNew");
    EXPECT_EQ(window->info()->Mode(), FormMode::Add);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Add Widget"));
    EXPECT_TRUE(window->working->Value().toBool()) << "New goes on to the defaults";

    type(window->name, "txtText", QStringLiteral("SCOPE"));
    Prompts().clear();
    click(window->bar, "btnSave");
    EXPECT_EQ(window->info()->Mode(), FormMode::Add) << "nothing saved";
    ASSERT_FALSE(Prompts().boxes.empty());
    EXPECT_EQ(Prompts().boxes.back().title, QStringLiteral("Fields Validation"));
    EXPECT_EQ(Prompts().boxes.back().text, QStringLiteral("Widget with Widget Name <SCOPE> already exists in the database."));
    EXPECT_EQ(GetSQLValue(QStringLiteral("SELECT COUNT(*) FROM Widgets"))->toInt(), 1);
}

INSTANTIATE_TEST_SUITE_P(Engines, EndToEnd, ::testing::ValuesIn(TestEngines()), EngineTestName);

} // namespace
