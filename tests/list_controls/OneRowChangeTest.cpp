// A data-changed message adds, rewrites or removes one row of a result grid without sorting the
// grid again: the row must end where the full (stable) sort would have put it, and the selection
// must stay on the same records.

#include "ListFixtures.h"

#include "core/Database.h"
#include "form_framework/FormSnapshot.h"
#include "form_framework/WindowList.h"
#include "form_framework/zInfo.h"
#include "list_controls/ResultTableModel.h"
#include "list_controls/zListView.h"

#include <QItemSelectionModel>
#include <QPushButton>
#include <QTableView>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <set>

namespace {

using Key = std::optional<int>; // NULL is nullopt

enum class Kind { Add, Rewrite, Remove };
enum class Sort { None, Ascending, Descending };

struct Change {
    const char* name;
    Kind kind;
    Sort sort;
    int target; // the base row rewritten or removed
    Key key; // the added or rewritten row's new key
};

// Several rows of an equal key, two NULLs, and keys at both ends.
const std::vector<Key> kBase { 5, std::nullopt, 3, 5, 9, 1, std::nullopt, 5 };

const Change kChanges[] = {
    { "add an equal key, ascending", Kind::Add, Sort::Ascending, -1, 5 },
    { "add an equal key, descending", Kind::Add, Sort::Descending, -1, 5 },
    { "add NULL, ascending", Kind::Add, Sort::Ascending, -1, std::nullopt },
    { "add NULL, descending", Kind::Add, Sort::Descending, -1, std::nullopt },
    { "add the smallest key", Kind::Add, Sort::Ascending, -1, 0 },
    { "add the largest key", Kind::Add, Sort::Ascending, -1, 10 },
    { "add the largest key, descending", Kind::Add, Sort::Descending, -1, 10 },
    { "add to an unsorted grid", Kind::Add, Sort::None, -1, 0 },
    { "rewrite a key to the first place", Kind::Rewrite, Sort::Ascending, 4, 0 },
    { "rewrite a key to the last place", Kind::Rewrite, Sort::Ascending, 5, 10 },
    { "rewrite a key up among its equals", Kind::Rewrite, Sort::Ascending, 4, 5 },
    { "rewrite a key down among its equals", Kind::Rewrite, Sort::Ascending, 2, 5 },
    { "rewrite without a change of key", Kind::Rewrite, Sort::Ascending, 3, 5 },
    { "rewrite a key to NULL, descending", Kind::Rewrite, Sort::Descending, 0, std::nullopt },
    { "rewrite NULL to a key, descending", Kind::Rewrite, Sort::Descending, 1, 4 },
    { "rewrite in an unsorted grid", Kind::Rewrite, Sort::None, 4, 0 },
    { "remove one of equal keys", Kind::Remove, Sort::Ascending, 3, std::nullopt },
    { "remove the first row", Kind::Remove, Sort::Descending, 4, std::nullopt },
    { "remove the last row", Kind::Remove, Sort::Ascending, 4, std::nullopt },
};

// What sorting the whole grid gives: stable, NULL first in ascending order, descending the
// reverse of the comparison.
QList<int> fullSort(QList<int> rows, const std::map<int, Key>& keys, Sort sort)
{
    if (sort == Sort::None)
        return rows;
    auto less = [&](int a, int b) {
        const Key& x = keys.at(a);
        const Key& y = keys.at(b);
        return sort == Sort::Ascending ? x < y : y < x; // std::optional: nullopt before any value
    };
    std::stable_sort(rows.begin(), rows.end(), less);
    return rows;
}

QString literal(const Key& key) { return key ? QString::number(*key) : QStringLiteral("NULL"); }

class OneRowChangeTest : public ListTest {
protected:
    static QList<int> order(const zListView* grid)
    {
        QList<int> identities;
        for (int r = 0; r < grid->CountItems(); ++r)
            identities << grid->model()->identityAt(r);
        return identities;
    }
    static std::set<int> selected(const zListView* grid)
    {
        std::set<int> identities;
        for (const QModelIndex& index : grid->listView()->selectionModel()->selectedRows())
            identities.insert(grid->model()->identityAt(index.row()));
        return identities;
    }
};

TEST_P(OneRowChangeTest, TheRowEndsWhereAFullSortPutsItAndTheSelectionStays)
{
    for (const Change& change : kChanges) {
        SCOPED_TRACE(change.name);
        ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("DELETE FROM Things")));
        std::map<int, Key> keys;
        std::vector<int> base;
        for (const Key& key : kBase) {
            const int id = addThing(QStringLiteral("t"), QStringLiteral("Counted|") + literal(key));
            keys[id] = key;
            base.push_back(id);
        }
        auto* window = open<frmThings>(QStringLiteral("frmThings"));
        ASSERT_NE(window, nullptr);
        window->populate->click();
        zListView* grid = window->grid;
        const int column = grid->model()->columnIndex(QStringLiteral("Counted"));
        if (change.sort != Sort::None)
            grid->SortByColumn(column);
        if (change.sort == Sort::Descending)
            grid->SortByColumn(column);
        const QList<int> before = order(grid);
        ASSERT_EQ(before, fullSort(QList<int>(base.begin(), base.end()), keys, change.sort));

        // Two rows selected, the changed one among them, and another current.
        const int other = change.target == 6 ? base[7] : base[6];
        grid->listView()->selectionModel()->setCurrentIndex(
            grid->model()->index(static_cast<int>(before.indexOf(other)), 0),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        std::set<int> expectedSelection { other };
        if (change.target >= 0) {
            grid->listView()->selectionModel()->select(
                grid->model()->index(static_cast<int>(before.indexOf(base[change.target])), 0),
                QItemSelectionModel::Select | QItemSelectionModel::Rows);
            expectedSelection.insert(base[change.target]);
        }

        QList<int> expected = before;
        switch (change.kind) {
        case Kind::Add: {
            const int id = addThing(QStringLiteral("new"), QStringLiteral("Counted|") + literal(change.key));
            keys[id] = change.key;
            expected << id;
            expectedSelection = { id };
            BroadcastDataChanged(
                DataChangedAction::Added, QStringLiteral("Things"), QString::number(id));
            EXPECT_EQ(grid->SelectedItemID(), id) << "the new row is current";
            break;
        }
        case Kind::Rewrite: {
            const int id = base[change.target];
            ASSERT_TRUE(Act_ExecuteSQL(
                QStringLiteral("UPDATE Things SET Counted = %1 WHERE Thing_ID = %2").arg(literal(change.key)).arg(id)));
            keys[id] = change.key;
            BroadcastDataChanged(
                DataChangedAction::Updated, QStringLiteral("Things"), QString::number(id));
            EXPECT_EQ(grid->model()->textAt(static_cast<int>(order(grid).indexOf(id)), column),
                change.key ? QString::number(*change.key) : QString());
            EXPECT_EQ(grid->SelectedItemID(), other) << "the current row stays current";
            break;
        }
        case Kind::Remove: {
            const int id = base[change.target];
            ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("DELETE FROM Things WHERE Thing_ID = %1").arg(id)));
            expected.removeOne(id);
            expectedSelection.erase(id);
            BroadcastDataChanged(
                DataChangedAction::Deleted, QStringLiteral("Things"), QString::number(id));
            break;
        }
        }
        EXPECT_EQ(order(grid), fullSort(expected, keys, change.sort));
        EXPECT_EQ(selected(grid), expectedSelection);

        window->info()->setRefreshScreen(false);
        UnloadWindow(window);
    }
}

// A message of many rows is one fill: they are added and the grid sorted once, still in the
// full sort's order.
TEST_P(OneRowChangeTest, ManyRowsAtOnceAreSortedWithTheRest)
{
    std::map<int, Key> keys;
    QList<int> rows;
    for (int i = 0; i < 5; ++i) {
        const int id = addThing(QStringLiteral("t"), QStringLiteral("Counted|%1").arg(i * 10));
        keys[id] = i * 10;
        rows << id;
    }
    auto* window = open<frmThings>(QStringLiteral("frmThings"));
    ASSERT_NE(window, nullptr);
    window->populate->click();
    zListView* grid = window->grid;
    grid->SortByColumn(grid->model()->columnIndex(QStringLiteral("Counted")));
    QStringList added;
    for (int i = 0; i < 40; ++i) {
        const int key = (i * 37) % 50;
        const int id = addThing(QStringLiteral("n"), QStringLiteral("Counted|%1").arg(key));
        keys[id] = key;
        rows << id;
        added << QString::number(id);
    }
    grid->AddListViewItems(
        QStringLiteral(
            "SELECT Thing_ID, Thing_Name AS \"Name\", Amount AS \"Amount\", Born AS \"Born\", Seen AS \"Seen\", "
            "Counted AS \"Counted\", Active AS \"Active\", Ratio AS \"Ratio\", Label AS \"Label\", Label_Key AS "
            "\"_Label\" "
            "FROM Things WHERE Thing_ID IN (")
        + added.join(QLatin1Char(',')) + QStringLiteral(") ORDER BY Thing_ID"));
    EXPECT_EQ(order(grid), fullSort(rows, keys, Sort::Ascending));
}

INSTANTIATE_TEST_SUITE_P(Engines, OneRowChangeTest, ::testing::ValuesIn(TestEngines()), EngineTestName);

} // namespace
