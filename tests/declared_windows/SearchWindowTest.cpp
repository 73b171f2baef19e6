// What a table declares about its search window: whether it fills on opening, which bar buttons it
// offers, whether a row opens from the grid, and which actions need a selected row.

#include "../reference_tables/ReferenceFixture.h"

#include "form_framework/FormRegistry.h"
#include "form_framework/WindowList.h"
#include "form_framework/zButtonsSearch.h"
#include "form_framework/zInfo.h"
#include "list_controls/zListView.h"
#include "declared_windows/DeclaredSearchWindow.h"
#include "reference_tables/ReferenceTables.h"
#include "support/PromptRecorder.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <memory>

#include <gtest/gtest.h>

namespace {

// The case statuses' search window under a name of its own, declared otherwise as the test says.
DeclaredTable caseStatuses(const QString& searchWindow)
{
    for (DeclaredTable table : CaseClassificationTables()) {
        if (table.table == QLatin1String("Case_Statuses")) {
            table.searchWindow = searchWindow;
            return table;
        }
    }
    ADD_FAILURE() << "no Case_Statuses declaration";
    return {};
}

class SearchDeclarations : public ReferenceTest {
protected:
    void SetUp() override
    {
        ReferenceTest::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        addStatus(QStringLiteral("Open"), QStringLiteral("O"));
        addStatus(QStringLiteral("Closed"), QStringLiteral("C"));
    }

    int addStatus(const QString& name, const QString& code)
    {
        return insert(
            QStringLiteral("INSERT INTO Case_Statuses (Case_Status_Name, Case_Status_Code) VALUES ('%1', '%2') "
                           "RETURNING Case_Status_ID")
                .arg(name, code));
    }

    bool recordWindowOpen() const
    {
        for (QWidget* window : LoadedWindows()) {
            if (window->objectName() == QLatin1String("frmCaseStatus"))
                return true;
        }
        return false;
    }

    static void closeRecordWindows()
    {
        for (QWidget* window : LoadedWindows()) {
            if (window->objectName() == QLatin1String("frmCaseStatus"))
                UnloadWindow(window);
        }
        QApplication::processEvents();
    }
};

TEST_P(SearchDeclarations, TheGridFillsOnOpeningOnlyWhenDeclared)
{
    for (const bool populate : { true, false }) {
        SCOPED_TRACE(populate ? "filled on opening" : "empty on opening");
        DeclaredTable table
            = caseStatuses(populate ? QStringLiteral("frmStatusesFilled") : QStringLiteral("frmStatusesEmpty"));
        table.populateOnStart = populate;
        FormRegistry::registerForm(table.searchWindow, [table] { return new DeclaredSearchWindow(table); });
        DeclaredSearchWindow* list = openSearch(table.searchWindow);
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->grid()->CountItems(), populate ? 2 : 0);
        EXPECT_EQ(list->buttons()->EditDeleteEnabled(), populate);
        click(list, "btnPopulate");
        EXPECT_EQ(list->grid()->CountItems(), 2) << "Populate fills the grid either way";
    }
}

TEST_P(SearchDeclarations, AnActionWithoutASelectedRowRunsOnlyWhenDeclaredToRunWithout)
{
    auto ran = std::make_shared<QStringList>();
    const DeclaredTable table = caseStatuses(QStringLiteral("frmStatusesWithActions"));
    FormRegistry::registerForm(table.searchWindow, [table, ran] {
        auto* window = new DeclaredSearchWindow(table);
        window->addAction(QStringLiteral("&Add Note"), [ran](int id) { *ran << QStringLiteral("note %1").arg(id); });
        window->addAction(QStringLiteral("-"), {});
        window->addAction(
            QStringLiteral("View &Details"), [ran](int id) { *ran << QStringLiteral("details %1").arg(id); },
            WindowActions::Needs::Nothing);
        return window;
    });
    DeclaredSearchWindow* list = openSearch(table.searchWindow);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->grid()->CountItems(), 2);
    // The entries are chosen from the bar's menu, as the user chooses them.
    auto choose = [list](const QString& caption) {
        for (QAction* action : list->buttons()->actionsMenu()->actions()) {
            if (action->text() == caption) {
                action->trigger();
                QApplication::processEvents();
                return;
            }
        }
        ADD_FAILURE() << "no menu entry " << caption.toStdString();
    };

    list->grid()->listView()->selectRow(1);
    const int selected = list->grid()->SelectedItemID();
    ASSERT_GT(selected, 0);
    choose(QStringLiteral("&Add Note"));
    choose(QStringLiteral("View &Details"));
    EXPECT_EQ(
        *ran, (QStringList { QStringLiteral("note %1").arg(selected), QStringLiteral("details %1").arg(selected) }));

    // The grid keeps its current row when the selection is cleared: it must not be acted on.
    ran->clear();
    list->grid()->listView()->clearSelection();
    choose(QStringLiteral("&Add Note"));
    choose(QStringLiteral("View &Details"));
    EXPECT_EQ(*ran, QStringList { QStringLiteral("details 0") });
    EXPECT_TRUE(Prompts().boxes.empty());

    // Nor is there a row in an emptied grid.
    ran->clear();
    list->grid()->SelectAll();
    int selectedCount = 0;
    list->grid()->RemoveListViewItemsByID(list->grid()->GetSelectedItems(selectedCount));
    ASSERT_EQ(list->grid()->CountItems(), 0);
    list->runAction(QStringLiteral("Add Note"));
    EXPECT_TRUE(ran->isEmpty());
}

// The bar's New and Edit, the main window's commands for them, and a double click or Enter on a
// row, for each declaration.
TEST_P(SearchDeclarations, NewEditAndOpeningARowFollowTheDeclaration)
{
    struct Case {
        const char* window;
        bool allowNew;
        bool allowEdit;
        bool opensRow;
        bool rowOpens; // a double click or Enter opens the record window
        int rowBeeps; // what the grid's two attempts beep
    } cases[] = {
        { "frmStatusesAll", true, true, true, true, 0 },
        { "frmStatusesNoEditButton", true, false, true, false, 2 }, // refused as the hidden button is
        { "frmStatusesBrowseOnly", false, false, false, false, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.window);
        DeclaredTable table = caseStatuses(QString::fromLatin1(c.window));
        table.searchAllowNew = c.allowNew;
        table.searchAllowEdit = c.allowEdit;
        table.gridOpensRow = c.opensRow;
        FormRegistry::registerForm(table.searchWindow, [table] { return new DeclaredSearchWindow(table); });
        DeclaredSearchWindow* list = openSearch(table.searchWindow);
        ASSERT_NE(list, nullptr);
        QApplication::setActiveWindow(list);
        EXPECT_EQ(list->findChild<QPushButton*>(QStringLiteral("btnNew"))->isVisible(), c.allowNew);
        EXPECT_EQ(list->findChild<QPushButton*>(QStringLiteral("btnEdit"))->isVisible(), c.allowEdit);

        Prompts().clear();
        QTableView* view = list->grid()->listView();
        view->selectRow(0);
        const QRect row = view->visualRect(view->model()->index(0, 0));
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, row.center());
        QApplication::processEvents();
        EXPECT_EQ(recordWindowOpen(), c.rowOpens) << "double click";
        closeRecordWindows();
        view->setFocus();
        QTest::keyClick(view, Qt::Key_Return);
        QApplication::processEvents();
        EXPECT_EQ(recordWindowOpen(), c.rowOpens) << "Enter";
        EXPECT_EQ(Prompts().beeps, c.rowBeeps);
        EXPECT_TRUE(Prompts().boxes.empty());
        closeRecordWindows();

        // The main window's commands: a refused button's command beeps and opens nothing.
        Prompts().clear();
        list->info()->DoCommand(MainCommand::New);
        QApplication::processEvents();
        EXPECT_EQ(recordWindowOpen(), c.allowNew) << "New";
        closeRecordWindows();
        list->info()->DoCommand(MainCommand::Edit);
        QApplication::processEvents();
        EXPECT_EQ(recordWindowOpen(), c.allowEdit) << "Edit";
        EXPECT_EQ(Prompts().beeps, (c.allowNew ? 0 : 1) + (c.allowEdit ? 0 : 1));
        closeRecordWindows();
        UnloadWindow(list);
        QApplication::processEvents();
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, SearchDeclarations, ::testing::ValuesIn(TestEngines()), EngineTestName);

} // namespace
