// The current-activity window: filled on opening from the server's (or this program's) processes,
// with nothing to add, edit, delete or open, and a check box that never enters the query.

#include "administration/Administration.h"
#include "core/TextUtilities.h"
#include "form_framework/FormRegistry.h"
#include "form_framework/WindowList.h"
#include "form_framework/WindowOpening.h"
#include "form_framework/zButtonsSearch.h"
#include "form_framework/zCheckBox.h"
#include "form_framework/zInfo.h"
#include "list_controls/ListProcedures.h"
#include "list_controls/zListView.h"
#include "declared_windows/DeclaredSearchWindow.h"
#include "support/PromptRecorder.h"
#include "support/TestDatabase.h"

#include <QApplication>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class CurrentActivity : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        Prompts().clear();
        RegisterListControlProcedures();
        RegisterAdministrationForms();
    }
    void TearDown() override
    {
        for (QWidget* window : LoadedWindows())
            UnloadWindow(window);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        DatabaseTest::TearDown();
    }
};

TEST_P(CurrentActivity, FillsOnOpeningAndOffersNothingToOpenOrChange)
{
    auto* list = qobject_cast<DeclaredSearchWindow*>(ShowFormByName(QStringLiteral("frmCurrentActivity")));
    ASSERT_NE(list, nullptr);
    QApplication::processEvents();
    EXPECT_EQ(list->windowTitle(), QStringLiteral("Current Activity"));
    // At least this test's own connection is there, keyed by its process number.
    ASSERT_GE(list->grid()->CountItems(), 1);
    EXPECT_EQ(list->info()->IdentityField(), QStringLiteral("spid"));

    zButtonsSearch* bar = list->buttons();
    EXPECT_FALSE(bar->AllowNew());
    EXPECT_FALSE(bar->AllowEdit());
    EXPECT_FALSE(bar->AllowDelete());
    EXPECT_FALSE(bar->AllowRecordHistory());
    for (const char* name : { "btnNew", "btnEdit", "btnDelete" }) {
        auto* button = bar->findChild<QPushButton*>(QString::fromLatin1(name));
        ASSERT_NE(button, nullptr) << name;
        EXPECT_FALSE(button->isVisibleTo(bar) && button->isEnabled()) << name;
    }

    // A double click on a row opens nothing.
    const int before = static_cast<int>(LoadedWindows().size());
    QTableView* view = list->grid()->listView();
    view->selectRow(0);
    const QRect cell = view->visualRect(view->model()->index(0, 0));
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    QApplication::processEvents();
    EXPECT_EQ(static_cast<int>(LoadedWindows().size()), before);
}

TEST_P(CurrentActivity, TheCheckBoxNeverEntersTheQueryAndExportsAreTitledInThePlural)
{
    auto* list = qobject_cast<DeclaredSearchWindow*>(ShowFormByName(QStringLiteral("frmCurrentActivity")));
    ASSERT_NE(list, nullptr);
    auto* managerOnly = list->findChild<zCheckBox*>(QStringLiteral("zchkVantorelManagerOnly"));
    ASSERT_NE(managerOnly, nullptr);
    for (const bool ticked : { false, true }) {
        managerOnly->setValue(ticked);
        EXPECT_EQ(list->GetSearchSQL(), QStringLiteral("EXEC usp_DB_Search_Current_Activity ")) << ticked;
    }
    EXPECT_EQ(Plural(list->info()->FormCaption()), QStringLiteral("Current Activities"));
}

INSTANTIATE_TEST_SUITE_P(Engines, CurrentActivity, ::testing::ValuesIn(TestEngines()), EngineTestName);
INSTANTIATE_CLERK_SUITE(CurrentActivity);

} // namespace
