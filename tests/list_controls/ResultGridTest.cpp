#include "ListFixtures.h"

#include "core/Database.h"
#include "form_framework/FormSnapshot.h"
#include "list_controls/ListFormats.h"
#include "list_controls/ListProcedures.h"
#include "support/PromptRecorder.h"
#include "core/SqlText.h"
#include "list_controls/ResultTableModel.h"
#include "core/Twips.h"
#include "form_framework/WindowList.h"
#include "form_framework/zButtonsSearch.h"
#include "list_controls/zComboBoxText.h"
#include "form_framework/zInfo.h"
#include "list_controls/zListView.h"

#include <QApplication>
#include <QDateTime>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class ResultGridTest : public ListTest {
protected:
    frmThings* openThings()
    {
        frmThings* window = open<frmThings>(QStringLiteral("frmThings"));
        if (window)
            window->populate->click();
        return window;
    }
    static QStringList headers(const zListView* grid)
    {
        QStringList list;
        for (int c = 0; c < grid->model()->columnCount(); ++c)
            list << grid->model()->headerData(c, Qt::Horizontal).toString();
        return list;
    }
    static QList<int> order(const zListView* grid)
    {
        QList<int> identities;
        for (int r = 0; r < grid->CountItems(); ++r)
            identities << grid->model()->identityAt(r);
        return identities;
    }
    static void selectRows(zListView* grid, const QList<int>& rows)
    {
        grid->listView()->clearSelection();
        for (int row : rows)
            grid->listView()->selectionModel()->select(grid->model()->index(row, 0),
                                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
};

TEST_P(ResultGridTest, FillsColumnsFromTheFieldsAndFormatsCellsByType)
{
    addThing(QStringLiteral("Anvil"), QStringLiteral("Amount, Born, Seen, Counted, Active, Ratio, Label, Label_Key|"
                                                     "1234.5, '2005-03-14', '2005-03-14 10:30:00', 7, 1, 2.5, 'x', 'k'"));
    addThing(QStringLiteral("Bolt"), QStringLiteral("Seen|'2005-03-14 10:30:15'"));
    addThing(QStringLiteral("Cog"), QStringLiteral("Seen, Amount|'2005-03-14 00:00:00', -0.5"));
    frmThings* window = openThings();
    ASSERT_NE(window, nullptr);
    zListView* grid = window->grid;
    EXPECT_TRUE(grid->isEnabled());
    EXPECT_EQ(headers(grid), (QStringList { QStringLiteral("Name"), QStringLiteral("Amount"), QStringLiteral("Born"), QStringLiteral("Seen"),
                                            QStringLiteral("Counted"), QStringLiteral("Active"), QStringLiteral("Ratio"), QStringLiteral("Label") }))
        << "field 0 and the \"_\" field get no column";
    const QStringList first { QStringLiteral("Anvil"), QStringLiteral("1,234.50"), QStringLiteral("03/14/2005"), QStringLiteral("03/14/2005 10:30 AM"),
                              QStringLiteral("7"), QStringLiteral("Yes"), QStringLiteral("2.5"), QStringLiteral("x") };
    for (int c = 0; c < first.size(); ++c)
        EXPECT_EQ(grid->model()->textAt(0, c), first.at(c)) << c;
    EXPECT_EQ(grid->model()->textAt(1, 3), QStringLiteral("03/14/2005 10:30:15 AM"));
    EXPECT_EQ(grid->model()->textAt(1, 1), QString()) << "NULL shows empty";
    EXPECT_EQ(grid->model()->textAt(2, 3), QStringLiteral("03/14/2005"));
    EXPECT_EQ(grid->model()->textAt(2, 1), QStringLiteral("-0.50"));
    EXPECT_EQ(window->info()->StatusBar(), QStringLiteral("3 Things are showing"));
    EXPECT_TRUE(window->bar->EditDeleteEnabled());
    EXPECT_EQ(grid->SelectedItemText(), QStringLiteral("Anvil")) << "the first row is current after a fill";
}

TEST_P(ResultGridTest, AnEmptyFirstResultStillBuildsTheColumns)
{
    frmThings* window = openThings();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->grid->model()->columnCount(), 8);
    EXPECT_EQ(window->info()->StatusBar(), QStringLiteral("No Things found"));
    EXPECT_FALSE(window->bar->EditDeleteEnabled());
    // A later query without one of the grid's fields stops the fill.
    addThing(QStringLiteral("Anvil"));
    window->grid->setPopulateSQL(QStringLiteral("SELECT Thing_ID, Thing_Name AS \"Name\" FROM Things"));
    window->grid->Populate();
    EXPECT_EQ(window->grid->CountItems(), 0);
    ASSERT_FALSE(Prompts().boxes.empty());
    EXPECT_TRUE(Prompts().boxes.back().text.startsWith(QStringLiteral("Unable to Populate List View")));
}

TEST_P(ResultGridTest, HeaderClicksSortByTypedValue)
{
    // Amounts negative, in millions and NULL; dates across years and NULL; a label whose "_"
    // companion gives the order.
    const int a = addThing(QStringLiteral("a"), QStringLiteral("Amount, Born, Counted, Label, Label_Key|-12.5, '2005-03-14', 10, 'ten', 'b'"));
    const int b = addThing(QStringLiteral("b"), QStringLiteral("Amount, Born, Counted, Label, Label_Key|1000000, '1999-12-31', -3, 'three', 'a'"));
    const int c = addThing(QStringLiteral("c"), QStringLiteral("Label, Label_Key|'none', NULL"));
    const int d = addThing(QStringLiteral("d"), QStringLiteral("Amount, Born, Counted, Label, Label_Key|9.99, '2010-01-02', 2, 'two', 'c'"));
    const int e = addThing(QStringLiteral("e"), QStringLiteral("Amount, Born, Counted, Label, Label_Key|-1500000, '2005-03-02', 100, 'hundred', 'd'"));
    frmThings* window = openThings();
    ASSERT_NE(window, nullptr);
    zListView* grid = window->grid;
    struct Case {
        const char* column;
        QList<int> ascending;
    } cases[] = {
        { "Amount", { c, e, a, d, b } },
        { "Born", { c, b, e, a, d } },
        { "Counted", { c, b, d, a, e } },
        { "Label", { c, b, a, d, e } },
    };
    for (const Case& sorted : cases) {
        SCOPED_TRACE(sorted.column);
        const int column = grid->model()->columnIndex(QString::fromLatin1(sorted.column));
        grid->SortByColumn(column);
        EXPECT_EQ(order(grid), sorted.ascending);
        grid->SortByColumn(column);
        QList<int> descending = sorted.ascending;
        std::reverse(descending.begin(), descending.end());
        EXPECT_EQ(order(grid), descending) << "the same header again reverses";
    }
    // A refill keeps the order the user chose.
    window->populate->click();
    EXPECT_EQ(order(grid), (QList<int> { e, d, a, b, c }));
}

TEST_P(ResultGridTest, DeleteAsksAboutExactlyTheSelectedRowsAndTellsEveryWindow)
{
    const int a = addThing(QStringLiteral("Anvil"));
    const int b = addThing(QStringLiteral("Bolt"));
    const int c = addThing(QStringLiteral("Cog"));
    frmThings* window = openThings();
    frmPickerHost* pickers = open<frmPickerHost>(QStringLiteral("frmPickerHost"));
    ASSERT_TRUE(window && pickers);
    zListView* grid = window->grid;

    // The current row is Anvil, but the selection is Bolt alone: the question names Bolt.
    selectRows(grid, { 1 });
    Prompts().answer(MsgBox::No);
    EXPECT_TRUE(grid->Act_Delete());
    EXPECT_EQ(Prompts().boxes.back().text, QStringLiteral("Are you sure you want to delete Thing <Bolt>?"));
    EXPECT_EQ(grid->CountItems(), 3);

    selectRows(grid, { 1, 2 });
    int selected = 0;
    EXPECT_EQ(grid->GetSelectedItems(selected), QStringLiteral("%1,%2").arg(b).arg(c));
    EXPECT_EQ(selected, 2);
    window->info()->setRePopulateOnDelete(true);
    Prompts().answer(MsgBox::Yes);
    EXPECT_TRUE(grid->Act_Delete());
    EXPECT_EQ(Prompts().boxes.back().text, QStringLiteral("Are you sure you want to delete 2 Thing Records?"));
    EXPECT_EQ(order(grid), QList<int> { a });
    EXPECT_EQ(window->searches, 2) << "the window searched again";
    EXPECT_EQ(pickers->picker->ListCount(), 1) << "the deletion reached the other window too";
    EXPECT_EQ(window->info()->StatusBar(), QStringLiteral("1 Thing is showing"));

    grid->listView()->clearSelection();
    const int beeps = Prompts().beeps;
    const size_t boxes = Prompts().boxes.size();
    EXPECT_FALSE(grid->Act_Delete());
    EXPECT_EQ(Prompts().beeps, beeps + 1);
    EXPECT_EQ(Prompts().boxes.size(), boxes) << "nothing selected, nothing asked";
}

TEST_P(ResultGridTest, DataChangedMessagesTouchOnlyTheNamedRows)
{
    const int a = addThing(QStringLiteral("Anvil"));
    frmThings* window = openThings();
    ASSERT_NE(window, nullptr);
    zListView* grid = window->grid;
    const int b = addThing(QStringLiteral("Bolt"), QStringLiteral("Amount|5"));
    BroadcastDataChanged(DataChangedAction::Added, QStringLiteral("Things"), QString::number(b));
    EXPECT_EQ(order(grid), (QList<int> { a, b }));
    EXPECT_EQ(grid->SelectedItemID(), b) << "the added row is highlighted";
    EXPECT_EQ(grid->CountSelectedItems(), 1);
    EXPECT_EQ(window->info()->StatusBar(), QStringLiteral("2 Things are showing"));

    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("UPDATE Things SET Amount = 2500 WHERE Thing_ID = %1").arg(b)));
    BroadcastDataChanged(DataChangedAction::Updated, QStringLiteral("THINGS"), QString::number(b));
    EXPECT_EQ(grid->model()->textAt(1, 1), QStringLiteral("2,500.00"));

    const int unseen = addThing(QStringLiteral("Cog"));
    BroadcastDataChanged(DataChangedAction::Updated, QStringLiteral("Things"), QString::number(unseen));
    EXPECT_EQ(grid->CountItems(), 2) << "an update does not add a row the grid does not show";

    grid->RemoveListViewItemsByID(QStringLiteral("%1, 999").arg(a));
    EXPECT_EQ(order(grid), QList<int> { b });
    EXPECT_EQ(window->info()->StatusBar(), QStringLiteral("1 Thing is showing"));
}

// Rows that came from several reads (the Populate, an added row, an updated one) each show their
// own read's values, and a check mark stays with its row through an update and a sort.
TEST_P(ResultGridTest, RowsFromSeveralReadsKeepTheirValuesAndCheckMarks)
{
    const int a = addThing(QStringLiteral("Anvil"));
    const int b = addThing(QStringLiteral("Bolt"));
    frmThings* window = openThings();
    ASSERT_NE(window, nullptr);
    zListView* grid = window->grid;
    grid->setCheckboxes(true);
    grid->model()->setData(grid->model()->index(1, 0), Qt::Checked, Qt::CheckStateRole);
    const int c = addThing(QStringLiteral("Cog"), QStringLiteral("Amount|3"));
    BroadcastDataChanged(DataChangedAction::Added, QStringLiteral("Things"), QString::number(c));
    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("UPDATE Things SET Amount = 2500 WHERE Thing_ID = %1").arg(b)));
    BroadcastDataChanged(DataChangedAction::Updated, QStringLiteral("Things"), QString::number(b));
    grid->model()->setData(grid->model()->index(2, 0), Qt::Checked, Qt::CheckStateRole);
    grid->SortByColumn(0);
    grid->SortByColumn(0);
    ASSERT_EQ(order(grid), (QList<int> { c, b, a }));
    const QStringList names { QStringLiteral("Cog"), QStringLiteral("Bolt"), QStringLiteral("Anvil") };
    const QStringList amounts { QStringLiteral("3.00"), QStringLiteral("2,500.00"), QString() };
    const bool checked[] = { true, true, false };
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(grid->model()->textAt(row, 0), names.at(row)) << row;
        EXPECT_EQ(grid->model()->textAt(row, 1), amounts.at(row)) << row;
        EXPECT_EQ(grid->model()->isChecked(row), checked[row]) << row;
    }
    EXPECT_EQ(grid->GetCheckedIDs(), QStringLiteral("%1, %2").arg(c).arg(b));
}

// Two search windows of one table share the read of a changed row while a message goes round;
// the next message reads again, and each grid's rows stay laid out one under the other.
TEST_P(ResultGridTest, EveryOpenGridFollowsEachMessageAndKeepsItsRowsLaidOut)
{
    const int a = addThing(QStringLiteral("Anvil"));
    const int b = addThing(QStringLiteral("Bolt"));
    frmThings* first = openThings();
    frmThings* second = openThings();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    ASSERT_NE(first, second);
    first->show();
    const QList<zListView*> grids { first->grid, second->grid };
    const int c = addThing(QStringLiteral("Cog"));
    BroadcastDataChanged(DataChangedAction::Added, QStringLiteral("Things"), QString::number(c));
    for (const char* amount : { "5", "7" }) {
        ASSERT_TRUE(Act_ExecuteSQL(
            QStringLiteral("UPDATE Things SET Amount = %1 WHERE Thing_ID = %2").arg(QLatin1String(amount)).arg(b)));
        BroadcastDataChanged(DataChangedAction::Updated, QStringLiteral("Things"), QString::number(b));
        for (zListView* grid : grids)
            EXPECT_EQ(grid->model()->textAt(1, 1), QLatin1String(amount) + QStringLiteral(".00"));
    }
    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("DELETE FROM Things WHERE Thing_ID = %1").arg(a)));
    BroadcastDataChanged(DataChangedAction::Deleted, QStringLiteral("Things"), QString::number(a));
    for (zListView* grid : grids) {
        EXPECT_EQ(order(grid), (QList<int> { b, c }));
        // The rows the view lays out are the model's, each one row height below the one before.
        const QTableView* view = grid->listView();
        EXPECT_EQ(view->verticalHeader()->count(), grid->CountItems());
        const QRect top = view->visualRect(grid->model()->index(0, 0));
        const QRect last = view->visualRect(grid->model()->index(1, 0));
        EXPECT_EQ(last.top(), top.bottom() + 1);
        EXPECT_EQ(view->indexAt(last.center()).row(), 1);
    }
}

TEST_P(ResultGridTest, SteppingAndCheckMarks)
{
    const int a = addThing(QStringLiteral("Anvil"));
    addThing(QStringLiteral("Bolt"));
    const int c = addThing(QStringLiteral("Cog"));
    frmThings* window = openThings();
    ASSERT_NE(window, nullptr);
    zListView* grid = window->grid;
    EXPECT_FALSE(grid->MovePrevious());
    EXPECT_EQ(grid->SelectedItemID(), a);
    EXPECT_TRUE(grid->MoveNext());
    EXPECT_TRUE(grid->MoveNext());
    EXPECT_FALSE(grid->MoveNext());
    EXPECT_EQ(grid->SelectedItemID(), c);
    EXPECT_EQ(grid->CountSelectedItems(), 1);

    grid->setCheckboxes(true);
    EXPECT_EQ(grid->GetCheckedIDs(), QString());
    grid->model()->setData(grid->model()->index(0, 0), Qt::Checked, Qt::CheckStateRole);
    grid->model()->setData(grid->model()->index(2, 0), Qt::Checked, Qt::CheckStateRole);
    EXPECT_EQ(grid->GetCheckedIDs(), QStringLiteral("%1, %2").arg(a).arg(c));
    grid->ReverseChecked();
    EXPECT_EQ(grid->CountCheckedItems(), 1);
    grid->CheckAll();
    grid->RemoveChecked();
    EXPECT_EQ(grid->CountItems(), 0);
}

TEST_P(ResultGridTest, ColumnWidthsAreKeptPerUserWindowAndGrid)
{
    addThing(QStringLiteral("Anvil"));
    frmThings* window = openThings();
    ASSERT_NE(window, nullptr);
    const int amount = window->grid->model()->columnIndex(QStringLiteral("Amount"));
    window->grid->listView()->setColumnWidth(amount, 133);
    UnloadWindow(window);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM DB_Column_Widths WHERE DB_Login_Name = SUSER_NAME() "
                                   "AND DB_App_Form_Name = 'frmThings' AND DB_App_Grid_Name = 'zlvwData'")),
              1)
        << "only the width the user set is kept";
    EXPECT_EQ(count(QStringLiteral("SELECT DB_Width_Twips FROM DB_Column_Widths WHERE DB_Column_Name = 'Amount'")), PixelsToTwips(133));

    // A column the query no longer gives is ignored; another user's widths are not this user's.
    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("INSERT INTO DB_Column_Widths (DB_Login_Name, DB_App_Form_Name, DB_App_Grid_Name, "
                                              "DB_Column_Name, DB_Width_Twips) VALUES (SUSER_NAME(), 'frmThings', 'zlvwData', 'Gone', 900), "
                                              "('someone_else', 'frmThings', 'zlvwData', 'Name', 3000)")));
    window = openThings();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->grid->listView()->columnWidth(amount), 133);
    EXPECT_NE(window->grid->listView()->columnWidth(0), TwipsToPixels(3000));
}

// Columns follow their content on every fill, up to the grid's width; a width the user set
// stays, in this session and the next, while the other columns go on following their content.
TEST_P(ResultGridTest, ColumnWidthsFollowTheContentUnlessTheUserSetThem)
{
    addThing(QStringLiteral("Anvil"), QStringLiteral("Label|'x'"));
    frmThings* window = openThings();
    ASSERT_NE(window, nullptr);
    QTableView* view = window->grid->listView();
    const int name = 0;
    const int label = window->grid->model()->columnIndex(QStringLiteral("Label"));
    const int amount = window->grid->model()->columnIndex(QStringLiteral("Amount"));
    const auto fits = [&view](int column, const QString& text) {
        return view->columnWidth(column) >= view->fontMetrics().horizontalAdvance(text);
    };

    const QString longName = QStringLiteral("Grand Duchy of Baden-Wuerttemberg Anvil Works");
    addThing(longName, QStringLiteral("Amount|123456789.5"));
    window->populate->click();
    EXPECT_TRUE(fits(name, longName)) << "a longer value widens its column at the next fill: "
                                      << view->columnWidth(name);
    EXPECT_TRUE(fits(amount, QStringLiteral("123,456,789.50"))) << view->columnWidth(amount);

    const QString huge = QString(400, QLatin1Char('W'));
    addThing(QStringLiteral("Cog"), QStringLiteral("Label|'%1'").arg(huge));
    window->populate->click();
    EXPECT_LE(view->columnWidth(label), view->viewport()->width()) << "no column wider than the grid";
    EXPECT_GT(view->columnWidth(label), view->viewport()->width() / 2);

    // The user narrows the name column: it stays so through fills, and it is kept.
    view->horizontalHeader()->resizeSection(name, 40);
    addThing(QStringLiteral("Another Rather Long Name For The Grid"));
    window->populate->click();
    EXPECT_EQ(view->columnWidth(name), 40);
    UnloadWindow(window);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM DB_Column_Widths WHERE DB_App_Form_Name = 'frmThings'")), 1);

    // Next time the kept width wins; the amount column, never set, still follows its content.
    addThing(QStringLiteral("Dial"), QStringLiteral("Amount|98765432109.25"));
    window = openThings();
    ASSERT_NE(window, nullptr);
    view = window->grid->listView();
    EXPECT_EQ(view->columnWidth(name), 40);
    EXPECT_TRUE(fits(amount, QStringLiteral("98,765,432,109.25"))) << view->columnWidth(amount);

    // Adjusting the widths from the bar hands the column back to its content.
    window->grid->AdjustColumnWidth(true);
    EXPECT_TRUE(fits(name, longName));
    UnloadWindow(window);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM DB_Column_Widths WHERE DB_App_Form_Name = 'frmThings'")), 0);
}

TEST_P(ResultGridTest, TheWidthSaveReadsItsSelectTextAsDataOnly)
{
    // The text as the grid builds it: names between quotes as they are, each line ended by CR LF.
    const QString call = QStringLiteral("EXEC usp_DB_Col_Columns_Width_Save @DB_App_Form_Name = 'frmX', "
                                        "@DB_App_Grid_Name = 'zlvwData', @Column_Width_SQL = ");
    EXPECT_TRUE(Act_ExecuteSQLTrans(call + SQLString(QStringLiteral("SELECT 'Name', 1800\r\nUNION SELECT 'Owner's Date', 1200.6\r\n"))));
    EXPECT_EQ(count(QStringLiteral("SELECT DB_Width_Twips FROM DB_Column_Widths WHERE DB_Column_Name = 'Owner''s Date'")), 1201);
    const char* refused[] = {
        "SELECT 'Name', 1800; DELETE FROM DB_Users",
        "SELECT 'Name', 1800\r\nSELECT 'Date', 1200",
        "UNION SELECT 'Name', 1800",
        "SELECT 'Name', (SELECT 1)",
        "SELECT Name, 1800",
    };
    for (const char* text : refused) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(Act_ExecuteSQLTrans(call + SQLString(QString::fromLatin1(text))));
    }
    EXPECT_GT(count(QStringLiteral("SELECT COUNT(*) FROM DB_Users")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM DB_Column_Widths WHERE DB_App_Form_Name = 'frmX'")), 2)
        << "a refused text changes nothing";
}

INSTANTIATE_TEST_SUITE_P(Engines, ResultGridTest, ::testing::ValuesIn(TestEngines()), EngineTestName);

TEST(CellText, DatesShowSecondsOnlyWhenThereAreAny)
{
    const QDate day(2005, 3, 14);
    struct Case {
        QVariant value;
        ColumnType type;
        const char* text;
    } cases[] = {
        { QDateTime(day, QTime(0, 0)), ColumnType::DateTime, "03/14/2005" },
        { QDateTime(day, QTime(10, 30)), ColumnType::DateTime, "03/14/2005 10:30 AM" },
        { QDateTime(day, QTime(10, 30, 15)), ColumnType::DateTime, "03/14/2005 10:30:15 AM" },
        { QDateTime(day, QTime(22, 0)), ColumnType::DateTime, "03/14/2005 10:00 PM" },
        { QVariant(1234567.891), ColumnType::Currency, "1,234,567.89" },
        { QVariant(-1500000.0), ColumnType::Currency, "-1,500,000.00" },
        { QVariant(0), ColumnType::Boolean, "No" },
        { QVariant(), ColumnType::Integer, "" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(CellText(c.value, c.type), QString::fromLatin1(c.text)) << c.text;
}

} // namespace
