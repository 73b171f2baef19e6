// The record and search window patterns, shown on the case statuses.

#include "../reference_tables/ReferenceFixture.h"

#include "core/Connection.h"
#include "core/Database.h"
#include "core/Platform.h"
#include "core/TextUtilities.h"
#include "core/FileDialogs.h"
#include "form_framework/FormRegistry.h"
#include "declared_windows/DeclaredRecordWindow.h"
#include "declared_windows/DeclaredSearchWindow.h"
#include "support/PromptRecorder.h"
#include "reference_tables/ReferenceTables.h"
#include "declared_windows/WindowActions.h"
#include "form_framework/WindowList.h"
#include "form_framework/zFieldBase.h"
#include "form_framework/zIdentity.h"
#include "form_framework/zInfo.h"
#include "form_framework/zLabel.h"
#include "list_controls/zListView.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class SaveAnswer final : public FileDialogs {
public:
    explicit SaveAnswer(QString path)
        : m_path(std::move(path))
    {
    }
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&, const QString&) override { return m_path; }
    QString openFileName(QWidget*, const QString&, const QString&, const QString&) override { return {}; }

private:
    QString m_path;
};

class RecordPattern : public ReferenceTest {
protected:
    int addStatus(const QString& name, const QString& code)
    {
        return insert(QStringLiteral("INSERT INTO Case_Statuses (Case_Status_Name, Case_Status_Code) VALUES ('%1', '%2') "
                                     "RETURNING Case_Status_ID")
                          .arg(name, code));
    }
};

TEST_P(RecordPattern, AnOpenersDefaultGoesIntoTheNameOnly)
{
    DeclaredRecordWindow* window = openNew(QStringLiteral("frmCaseStatus"), QStringLiteral("Pending Court"));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Add Case Status"));
    EXPECT_EQ(window->field(QStringLiteral("ztxtName"))->Text(), QStringLiteral("Pending Court"));
    EXPECT_TRUE(window->field(QStringLiteral("ztxtCode"))->Text().isEmpty());
    EXPECT_TRUE(window->findChild<zLabel*>(QStringLiteral("zlabel1(1)"))->Required());
    EXPECT_FALSE(window->findChild<zLabel*>(QStringLiteral("zlabel1(0)"))->Required()) << "the identity's label";

    DeclaredRecordWindow* plain = openNew(QStringLiteral("frmCaseStatus"));
    ASSERT_NE(plain, nullptr);
    EXPECT_TRUE(plain->field(QStringLiteral("ztxtName"))->Text().isEmpty());
}

TEST_P(RecordPattern, ARowLoadsUnchangedAndSavesOnlyWhatChanged)
{
    const int id = addStatus(QStringLiteral("Open"), QStringLiteral("O"));
    DeclaredRecordWindow* window = openEdit(QStringLiteral("frmCaseStatus"), id);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->info()->SearchSQL() + window->info()->Identity(),
              QStringLiteral("SELECT * FROM Case_Statuses WHERE Case_Status_ID = %1").arg(id));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Edit Case Status - %1").arg(id));
    EXPECT_EQ(window->field(QStringLiteral("ztxtName"))->Text(), QStringLiteral("Open"));
    EXPECT_EQ(window->field(QStringLiteral("ztxtCode"))->Text(), QStringLiteral("O"));
    EXPECT_FALSE(window->info()->DataChanged()) << "loading is no change of the user's";

    type(window->field(QStringLiteral("ztxtCode")), QStringLiteral("OP"));
    EXPECT_TRUE(window->info()->DataChanged());
    EXPECT_EQ(save(window), QString());
    EXPECT_EQ(GetSQLValue(QStringLiteral("SELECT Case_Status_Code FROM Case_Statuses WHERE Case_Status_ID = %1").arg(id))->toString(),
              QStringLiteral("OP"));
}

// Two clerks on one case status: the second's change, saved while the first had the window open,
// is named to the first (who and when, from the change log), never overwritten, and shown on reload.
TEST_P(RecordPattern, AStatusChangedByAnotherClerkIsNamedNotOverwrittenAndReloaded)
{
    const int id = addStatus(QStringLiteral("Open"), QStringLiteral("O"));
    const QString suffix = QString::number(QCoreApplication::applicationPid());
    const QString first = QStringLiteral("clerka_") + suffix;
    const QString second = QStringLiteral("clerkb_") + suffix;
    m_database->createLogin(first, QStringLiteral("Clerk1"));
    m_database->createLogin(second, QStringLiteral("Clerk2"));
    SetDBConnection(m_database->connect(Credentials { false, first, QStringLiteral("Clerk1") }));
    std::unique_ptr<DatabaseConnection> other = m_database->connect(Credentials { false, second, QStringLiteral("Clerk2") });

    DeclaredRecordWindow* window = openEdit(QStringLiteral("frmCaseStatus"), id);
    ASSERT_NE(window, nullptr);
    other->executeStatement(QStringLiteral("UPDATE Case_Statuses SET Case_Status_Name = 'Opened' WHERE Case_Status_ID = ?"), { id });
    const QVariant changed = m_database->connect()
                                 ->executeStatement(QStringLiteral("SELECT DB_Change_Time FROM DB_Change_Log WHERE DB_Table_Name = "
                                                                   "'Case_Statuses' AND DB_PK = ? AND DB_Operation = 'Update'"),
                                     { id })
                                 .valueAt(0, 0);
    ASSERT_FALSE(changed.isNull());

    type(window->field(QStringLiteral("ztxtCode")), QStringLiteral("OP"));
    Prompts().clear();
    Prompts().answer(MsgBox::Yes);
    EXPECT_FALSE(window->info()->SaveData(true));
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_EQ(Prompts().boxes[0].text,
        QStringLiteral("Case Status <%1> was changed by %2 on %3 since you opened it. Your changes were not saved.\r\n\r\n"
                       "Reload it now?")
            .arg(id)
            .arg(second, FormatDateTimeMinutesText(changed)));
    EXPECT_EQ(window->field(QStringLiteral("ztxtName"))->Text(), QStringLiteral("Opened"));
    EXPECT_EQ(window->field(QStringLiteral("ztxtCode"))->Text(), QStringLiteral("O"));
    EXPECT_FALSE(window->info()->DataChanged());

    type(window->field(QStringLiteral("ztxtCode")), QStringLiteral("OP"));
    EXPECT_EQ(save(window), QString());
    const Recordset row = other->executeStatement(
        QStringLiteral("SELECT Case_Status_Name, Case_Status_Code FROM Case_Statuses WHERE Case_Status_ID = ?"), { id });
    EXPECT_EQ(row.valueAt(0, 0).toString(), QStringLiteral("Opened"));
    EXPECT_EQ(row.valueAt(0, 1).toString(), QStringLiteral("OP"));
}

TEST_P(RecordPattern, TheFirstInvalidFieldIsTheOnlyOneReported)
{
    DeclaredRecordWindow* window = openNew(QStringLiteral("frmCaseStatus"));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(save(window), QStringLiteral("Case Status Name is a required field."));
    EXPECT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_EQ(Prompts().boxes.back().title, QStringLiteral("Fields Validation"));
    window->field(QStringLiteral("ztxtName"))->setValue(QStringLiteral("Closed"));
    EXPECT_EQ(save(window), QStringLiteral("Case Status Code is a required field."));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Case_Statuses")), 0);
}

TEST_P(RecordPattern, ARowThatNoLongerExistsFailsTheLoadOnceAndTheWindowCloses)
{
    Prompts().clear();
    EXPECT_EQ(openEdit(QStringLiteral("frmCaseStatus"), 4242), nullptr);
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_EQ(Prompts().boxes[0].text,
              QStringLiteral("Unable to Load Form\r\n\r\nCase Status <4242> no longer exists in the database."));
    QApplication::processEvents();
    for (QWidget* window : LoadedWindows())
        EXPECT_NE(window->objectName(), QStringLiteral("frmCaseStatus"));
}

TEST_P(RecordPattern, SavingAddsTheRowToAnOpenSearchWindow)
{
    addStatus(QStringLiteral("Open"), QStringLiteral("O"));
    DeclaredSearchWindow* list = openSearch(QStringLiteral("frmCaseStatuses"));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->grid()->CountItems(), 1);
    DeclaredRecordWindow* window = openNew(QStringLiteral("frmCaseStatus"), QStringLiteral("Closed"));
    window->field(QStringLiteral("ztxtCode"))->setValue(QStringLiteral("C"));
    EXPECT_EQ(save(window), QString());
    const int id = window->identity()->Value();
    ASSERT_GT(id, 0);
    EXPECT_EQ(list->grid()->CountItems(), 2);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Edit Case Status - %1").arg(id));
}

TEST(WindowActions, AChosenNameRunsItsEntryWhateverItsCaseAndAccessKey)
{
    Prompts().clear();
    WindowActions actions;
    QStringList ran;
    actions.add(QStringLiteral("Print &Case Barcode"), [&](int id) { ran << QStringLiteral("barcode %1").arg(id); });
    actions.add(QStringLiteral("-"), {});
    actions.add(QStringLiteral("&Notify"), [&](int id) { ran << QStringLiteral("notify %1").arg(id); });
    actions.run(QStringLiteral("print case BARCODE"), 7);
    actions.run(QStringLiteral("&notify"), 8);
    EXPECT_EQ(ran, (QStringList { QStringLiteral("barcode 7"), QStringLiteral("notify 8") }));
    EXPECT_TRUE(Prompts().boxes.empty());

    actions.run(QStringLiteral("Print Case"), 7);
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_EQ(Prompts().boxes[0].text, QStringLiteral("Unknown Action <Print Case>."));
    EXPECT_EQ(Prompts().boxes[0].title, QStringLiteral("Error"));
    EXPECT_EQ(ran.size(), 2);
}

class SearchPattern : public RecordPattern { };

TEST_P(SearchPattern, OpeningAndPopulateSendTheSameCallWithoutParameters)
{
    addStatus(QStringLiteral("Open"), QStringLiteral("O"));
    addStatus(QStringLiteral("Closed"), QStringLiteral("C"));
    DeclaredSearchWindow* list = openSearch(QStringLiteral("frmCaseStatuses"));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->windowTitle(), QStringLiteral("Case Statuses"));
    EXPECT_EQ(list->grid()->PopulateSQL(), QStringLiteral("EXEC usp_Evd_Search_Case_Statuses_All"));
    EXPECT_EQ(list->GetSearchSQL(), QStringLiteral("EXEC usp_Evd_Search_Case_Statuses_All ")) << "one trailing blank";
    EXPECT_EQ(list->grid()->CountItems(), 2) << "filled on opening";

    addStatus(QStringLiteral("Archived"), QStringLiteral("A"));
    click(list, "btnPopulate");
    EXPECT_EQ(list->grid()->CountItems(), 3);
}

TEST_P(SearchPattern, CriteriaBecomeNamedParametersAndSelectTheRows)
{
    addStatus(QStringLiteral("Open"), QStringLiteral("O"));
    addStatus(QStringLiteral("Opened Again"), QStringLiteral("OA"));
    addStatus(QStringLiteral("Closed"), QStringLiteral("C"));
    DeclaredTable table = CaseClassificationTables()[1];
    table.searchWindow = QStringLiteral("frmCaseStatusesByName");
    table.criteria = { DeclaredField::text(QStringLiteral("ztxtName"), QStringLiteral("Case_Status_Name"), QStringLiteral("Name")) };
    FormRegistry::registerForm(table.searchWindow, [table] { return new DeclaredSearchWindow(table); });
    DeclaredSearchWindow* list = openSearch(table.searchWindow);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->grid()->CountItems(), 3) << "an empty criterion selects every row";

    list->criteria()[0]->setValue(QStringLiteral("OPEN"));
    EXPECT_EQ(list->GetSearchSQL(), QStringLiteral("EXEC usp_Evd_Search_Case_Statuses_All @Case_Status_Name = 'OPEN'"));
    click(list, "btnPopulate");
    EXPECT_EQ(list->grid()->CountItems(), 2) << "names beginning with the text, in any letter case";
}

TEST_P(SearchPattern, ExportsRunTheCurrentQueryAndOtherCommandsBeep)
{
    addStatus(QStringLiteral("Open"), QStringLiteral("O"));
    DeclaredSearchWindow* list = openSearch(QStringLiteral("frmCaseStatuses"));
    ASSERT_NE(list, nullptr);
    // A row added behind the grid's back is in the export: it runs the query again.
    addStatus(QStringLiteral("Closed"), QStringLiteral("C"));
    list->info()->DoCommand(MainCommand::TabDelimited);
    ASSERT_EQ(viewers->texts.size(), 1);
    EXPECT_TRUE(viewers->texts[0].startsWith(QStringLiteral("Case Statuses"))) << viewers->texts[0].left(80).toStdString();
    EXPECT_TRUE(viewers->texts[0].contains(QStringLiteral("Closed")));

    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("statuses.xml"));
    Dialogs::setFiles(std::make_unique<SaveAnswer>(path));
    list->info()->DoCommand(MainCommand::XML);
    Dialogs::setFiles(nullptr);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("Closed"));

    Prompts().clear();
    list->info()->DoCommand(MainCommand::Print);
    list->info()->DoCommand(MainCommand::Preview);
    EXPECT_EQ(Prompts().beeps, 2);
    EXPECT_TRUE(Prompts().boxes.empty());
}

// The criteria frame is there only when there are criteria; the grid starts below whatever
// stands above it.
TEST(SearchPatternLayout, TheOptionsFrameShowsOnlyWithCriteria)
{
    for (const bool withCriterion : { false, true }) {
        SCOPED_TRACE(withCriterion ? "a criterion" : "no criteria");
        DeclaredTable table = DeclaredTable::of(QStringLiteral("Case_Statuses"), QStringLiteral("Case_Status_ID"),
            QStringLiteral("frmCaseStatus"), QStringLiteral("frmCaseStatuses"), QStringLiteral("Case Status"),
            QStringLiteral("Case Statuses"))
                                  .withNameAndCode();
        if (withCriterion)
            table.criteria.push_back(
                DeclaredField::text(QStringLiteral("ztxtName"), QStringLiteral("Case_Status_Name"), QStringLiteral("Name"))
                    .labelled(QStringLiteral("Name:"), QStringLiteral("zlabel1(0)")));
        DeclaredSearchWindow window(table);
        window.show();
        QApplication::processEvents();
        auto* options = window.findChild<QWidget*>(QStringLiteral("fraSearchOptions"));
        ASSERT_NE(options, nullptr);
        EXPECT_EQ(options->isVisible(), withCriterion);
        const int gridTop = window.grid()->y();
        EXPECT_GT(gridTop, window.populateButton()->geometry().bottom());
        if (withCriterion) {
            EXPECT_GT(gridTop, options->geometry().bottom());
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, RecordPattern, ::testing::ValuesIn(TestEngines()), EngineTestName);
INSTANTIATE_CLERK_SUITE(RecordPattern);
INSTANTIATE_TEST_SUITE_P(Engines, SearchPattern, ::testing::ValuesIn(TestEngines()), EngineTestName);
INSTANTIATE_CLERK_SUITE(SearchPattern);

} // namespace
