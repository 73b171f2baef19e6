#include "ListFixtures.h"

#include "list_controls/CheckListModel.h"
#include "form_framework/ChildWindows.h"
#include "core/Database.h"
#include "form_framework/FormSnapshot.h"
#include "support/PromptRecorder.h"
#include "form_framework/WindowList.h"
#include "form_framework/WindowOpening.h"
#include "list_controls/zCheckBoxList.h"
#include "list_controls/zComboBoxText.h"
#include "form_framework/zInfo.h"
#include "list_controls/zOpenWindows.h"

#include <QApplication>
#include <QLayout>
#include <QListView>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class CheckBoxListTest : public ListTest {
protected:
    zCheckBoxList* listOn(frmPickerHost* window)
    {
        auto* list = new zCheckBoxList(window);
        list->setObjectName(QStringLiteral("zcblThings"));
        list->setDBFieldName(QStringLiteral("Thing_IDs"));
        list->setGoodName(QStringLiteral("Things"));
        list->setPopulateSQL(QStringLiteral("SELECT Thing_ID, Thing_Name, Counted FROM Things ORDER BY Thing_Name"));
        window->layout()->addWidget(list);
        list->Populate();
        return list;
    }
    static void check(zCheckBoxList* list, int row, bool on)
    {
        list->model()->setData(list->model()->index(row), on ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
    }
};

TEST_P(CheckBoxListTest, ItsValueIsTheIdentityListOfTheCheckedRows)
{
    const int anvil = addThing(QStringLiteral("Anvil"), QStringLiteral("Counted|0"));
    const int bolt = addThing(QStringLiteral("Bolt"), QStringLiteral("Counted|1"));
    const int cog = addThing(QStringLiteral("Cog"));
    frmPickerHost* window = open<frmPickerHost>(QStringLiteral("frmPickerSearch"));
    ASSERT_NE(window, nullptr);
    zCheckBoxList* list = listOn(window);
    ASSERT_EQ(list->count(), 3);
    EXPECT_TRUE(list->isEnabled());
    EXPECT_EQ(list->Value().toString(), QString::number(bolt)) << "field 2 gives the first marks";

    check(list, 2, true);
    check(list, 0, true);
    const QString expected = QStringLiteral("%1,%2,%3").arg(anvil).arg(bolt).arg(cog);
    EXPECT_EQ(list->Value().toString(), expected);
    EXPECT_EQ(list->DBValue(), QStringLiteral("'") + expected + QStringLiteral("'"));
    EXPECT_EQ(GetFormSnapshot(window).value(QStringLiteral("Thing_IDs")), list->DBValue()) << "a search criterion";

    list->UnCheckAll();
    EXPECT_TRUE(list->IsMissing());
    EXPECT_EQ(list->DBValue(), QStringLiteral("NULL"));
    EXPECT_FALSE(GetFormSnapshot(window).contains(QStringLiteral("Thing_IDs")));
    EXPECT_FALSE(list->IsValid());
    EXPECT_EQ(Prompts().boxes.back().text, QStringLiteral("Things is a required field."));

    list->CheckAll();
    list->setApplicable(false);
    EXPECT_TRUE(list->Value().isNull());
    EXPECT_TRUE(list->IsValid());
}

TEST_P(CheckBoxListTest, AnEmptyListIsDisabledAndOffersNoMenu)
{
    frmPickerHost* window = open<frmPickerHost>(QStringLiteral("frmPickerSearch"));
    ASSERT_NE(window, nullptr);
    zCheckBoxList* list = listOn(window);
    EXPECT_EQ(list->count(), 0);
    EXPECT_FALSE(list->isEnabled());
    EXPECT_TRUE(list->IsMissing());
    QTest::mouseClick(list->listView()->viewport(), Qt::RightButton);
    EXPECT_FALSE(list->actionsMenu()->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Engines, CheckBoxListTest, ::testing::ValuesIn(TestEngines()), EngineTestName);

class OpenWindowsTest : public ListTest {
protected:
    QStringList entries() const
    {
        QStringList texts;
        for (int row = 0; row < host->list->count(); ++row)
            texts << host->list->itemText(row) + (host->list->itemEnabled(row) ? QString() : QStringLiteral(" (grey)"));
        return texts;
    }
    void click(int row, Qt::MouseButton button = Qt::LeftButton)
    {
        QListView* view = host->list->listView();
        const QRect rect = view->visualRect(view->model()->index(row, 0));
        QTest::mouseClick(view->viewport(), button, {}, rect.center());
        QApplication::processEvents();
    }
};

TEST_P(OpenWindowsTest, EntriesFollowCaptionsActivationAndPickers)
{
    frmPickerHost* first = open<frmPickerHost>(QStringLiteral("frmPickerHost"));
    frmPickerHost* second = open<frmPickerHost>(QStringLiteral("frmPickerHost"));
    ASSERT_TRUE(first && second);
    SetCaption(first, QStringLiteral("Add Thing"));
    SetCaption(second, QStringLiteral("Edit Thing - 2"));
    EXPECT_EQ(entries(), (QStringList { QStringLiteral("Add Thing"), QStringLiteral("Edit Thing - 2") }));
    EXPECT_EQ(zOpenWindows::KeyOf(first), WindowNumberText(static_cast<long long>(reinterpret_cast<quintptr>(first))));

    // The core selects the entry of the window that becomes active.
    ActivateChildForm(second);
    EXPECT_EQ(host->list->selectedRow(), 1);

    // A click brings the window forward; clicking the selected entry again changes nothing.
    click(0);
    EXPECT_EQ(host->activeChildWindow(), first);
    EXPECT_EQ(host->list->selectedRow(), 0);
    click(0);
    EXPECT_EQ(host->activeChildWindow(), first);

    // The first window searches for a value: its entry turns grey, and clicking it brings the
    // search window forward.
    first->picker->ClickSearch();
    QApplication::processEvents();
    ASSERT_EQ(host->list->count(), 3);
    EXPECT_EQ(entries().at(0), QStringLiteral("Add Thing (grey)"));
    click(1);
    click(0);
    QWidget* search = first->info()->ChildForm();
    ASSERT_NE(search, nullptr);
    EXPECT_EQ(host->activeChildWindow(), search);

    // The right button over an entry opens the menu; over empty space nothing happens.
    QListView* view = host->list->listView();
    QTest::mouseClick(view->viewport(), Qt::RightButton, {}, QPoint(5, view->viewport()->height() - 3));
    EXPECT_FALSE(host->list->popupMenu()->isVisible());
    click(1, Qt::RightButton);
    EXPECT_TRUE(host->list->popupMenu()->isVisible());
    host->list->popupMenu()->hide();

    UnloadWindow(search);
    QApplication::processEvents();
    EXPECT_EQ(entries(), (QStringList { QStringLiteral("Add Thing"), QStringLiteral("Edit Thing - 2") }));
}

INSTANTIATE_TEST_SUITE_P(Engines, OpenWindowsTest, ::testing::ValuesIn(TestEngines()), EngineTestName);

} // namespace
