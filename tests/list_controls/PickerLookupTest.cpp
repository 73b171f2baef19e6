// A picker finds an identity's or a text's row through an index rather than a walk. After every
// kind of change the index must give the row a walk from the top gives: the first one, letter case
// aside for a text, the general item "<All>" put before a shared list counted.

#include "list_controls/PickerListModel.h"

#include <QFont>
#include <QFontMetrics>
#include <QStringList>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <utility>

namespace {

using Entry = PickerListModel::Entry;

int walkToIdentity(const PickerListModel& model, int identity)
{
    for (int row = 0; row < model.count(); ++row) {
        if (model.at(row).identity == identity)
            return row;
    }
    return -1;
}

int walkToText(const PickerListModel& model, const QString& text)
{
    for (int row = 0; row < model.count(); ++row) {
        if (model.at(row).text.compare(text, Qt::CaseInsensitive) == 0)
            return row;
    }
    return -1;
}

const QList<int> kIdentities { 0, 1, 2, 3, 4, 5, 9, -1 };
const QStringList kTexts { QStringLiteral("<all>"),       QStringLiteral("bin A"),  QStringLiteral("BIN B"),
                           QStringLiteral("bin c"),       QStringLiteral("Renamed"), QStringLiteral("straße"),
                           QStringLiteral("STRASSE"),     QStringLiteral("İstanbul"), QStringLiteral("Ǆemal"),
                           QStringLiteral("ǆemal"),       QStringLiteral("\U00010400 desk"),
                           QStringLiteral("\U00010428 DESK"), QStringLiteral("Added"), QString() };

void expectAsWalked(const PickerListModel& model, const char* step)
{
    for (int identity : kIdentities)
        EXPECT_EQ(model.rowOfIdentity(identity), walkToIdentity(model, identity)) << step << ", identity " << identity;
    for (const QString& text : kTexts)
        EXPECT_EQ(model.rowOfText(text), walkToText(model, text)) << step << ", text " << text.toStdString();
}

PickerListModel::Entries sampleRows()
{
    // Two entries of one text in different letter case, a repeated identity, letters whose case
    // pairs lie outside ASCII and outside the first plane.
    return { { QStringLiteral("Bin A"), 1 },          { QStringLiteral("BIN A"), 2 },
             { QStringLiteral("bin b"), 3 },          { QStringLiteral("Straße"), 4 },
             { QStringLiteral("ǅemal"), 5 },          { QStringLiteral("\U00010428 desk"), 1 },
             { QStringLiteral("istanbul"), 9 } };
}

struct Step {
    const char* name;
    std::function<void(PickerListModel&)> change;
};

// Every step follows the ones before it, each on a list whose index is already built.
const std::vector<Step> kSteps {
    { "<All> put first", [](PickerListModel& m) { m.insertEntry(0, { QStringLiteral("<All>"), 0 }); } },
    { "an entry appended", [](PickerListModel& m) { m.insertEntry(m.count(), { QStringLiteral("ADDED"), 9 }); } },
    { "an entry of an existing text appended", [](PickerListModel& m) { m.insertEntry(m.count(), { QStringLiteral("bin c"), 3 }); } },
    { "the first of two texts renamed", [](PickerListModel& m) { m.setText(m.rowOfText(QStringLiteral("bin a")), QStringLiteral("Renamed")); } },
    { "an entry put in the middle", [](PickerListModel& m) { m.insertEntry(3, { QStringLiteral("Bin C"), 4 }); } },
    { "the first of an identity removed", [](PickerListModel& m) { m.removeEntry(m.rowOfIdentity(1)); } },
    { "<All> removed", [](PickerListModel& m) { m.removeEntry(0); } },
};

TEST(PickerLookup, FindsTheRowAWalkFindsAfterEveryChange)
{
    for (const bool shared : { false, true }) {
        SCOPED_TRACE(shared ? "a list shared by pickers" : "a picker's own list");
        PickerListModel model;
        auto kept = std::make_shared<PickerListModel::SharedEntries>();
        kept->rows = sampleRows();
        if (shared)
            model.setSharedEntries(kept);
        else
            model.setEntries(sampleRows());
        expectAsWalked(model, "as read");
        for (const Step& step : kSteps) {
            step.change(model);
            expectAsWalked(model, step.name);
        }
        // The shared rows and their index are the kept list's: no picker's change reaches them.
        EXPECT_EQ(kept->rows.size(), sampleRows().size());
        EXPECT_EQ(kept->lookup.rowOfText(kept->rows, QStringLiteral("bin a")), 0);
        EXPECT_EQ(kept->lookup.rowOfIdentity(kept->rows, 9), 6);
    }
}

// A kept list's index goes with the list into the copy a data-changed message makes: rows appended
// there are found, the list they were copied from does not change.
TEST(PickerLookup, ACopiedListFindsItsAppendedRowsAndTheOriginalKeepsItsOwn)
{
    PickerListModel::SharedEntries original;
    original.rows = sampleRows();
    ASSERT_EQ(original.lookup.rowOfIdentity(original.rows, 3), 2);

    PickerListModel::SharedEntries copy = original;
    copy.rows.push_back({ QStringLiteral("bin B"), 12 });
    copy.rows.push_back({ QStringLiteral("Zebra"), 13 });
    EXPECT_EQ(copy.lookup.rowOfIdentity(copy.rows, 13), 8);
    EXPECT_EQ(copy.lookup.rowOfText(copy.rows, QStringLiteral("ZEBRA")), 8);
    EXPECT_EQ(copy.lookup.rowOfText(copy.rows, QStringLiteral("BIN B")), 2) << "the first row wins";
    EXPECT_EQ(original.lookup.rowOfIdentity(original.rows, 13), -1);
    EXPECT_EQ(original.lookup.rowOfText(original.rows, QStringLiteral("zebra")), -1);
}

// The width a picker's box is sized by is kept with its list (own or shared) and carried through
// every change; it must be what measuring every text now gives. Texts of one letter repeated, so
// the longest is the widest.
int measuredNow(const PickerListModel& model, const QFont& font)
{
    int widest = 0;
    for (int row = 0; row < model.count(); ++row)
        widest = std::max(widest, QFontMetrics(font).boundingRect(model.at(row).text).width());
    return widest;
}

PickerListModel::Entries manyRows()
{
    PickerListModel::Entries rows;
    for (int i = 0; i < 300; ++i)
        rows.push_back({ QString((i * 37) % 150 + 1, QLatin1Char('m')), i + 1 });
    return rows;
}

TEST(PickerWidth, IsTheWidestTextAfterEveryChange)
{
    QFont font;
    QFont larger = font;
    larger.setPointSizeF(font.pointSizeF() * 2);
    const QString longest(150, QLatin1Char('m'));
    const std::vector<Step> steps {
        { "<All> put first", [](PickerListModel& m) { m.insertEntry(0, { QStringLiteral("<All>"), 0 }); } },
        { "a longer entry appended", [](PickerListModel& m) { m.insertEntry(m.count(), { QString(170, QLatin1Char('m')), 999 }); } },
        { "the longest renamed short", [](PickerListModel& m) { m.setText(m.rowOfIdentity(999), QStringLiteral("m")); } },
        { "a longest entry removed", [&longest](PickerListModel& m) { m.removeEntry(m.rowOfText(longest)); } },
        { "a short entry renamed longest", [](PickerListModel& m) { m.setText(m.rowOfIdentity(2), QString(200, QLatin1Char('m'))); } },
        { "an entry put in the middle", [](PickerListModel& m) { m.insertEntry(5, { QString(210, QLatin1Char('m')), 7 }); } },
        { "a short entry removed", [](PickerListModel& m) { m.removeEntry(m.rowOfText(QStringLiteral("mm"))); } },
    };
    for (const bool shared : { false, true }) {
        SCOPED_TRACE(shared ? "a list shared by pickers" : "a picker's own list");
        PickerListModel model;
        auto kept = std::make_shared<PickerListModel::SharedEntries>();
        kept->rows = manyRows();
        if (shared)
            model.setSharedEntries(kept);
        else
            model.setEntries(manyRows());
        EXPECT_EQ(model.widestText(font), measuredNow(model, font)) << "as read";
        EXPECT_EQ(model.widestText(larger), measuredNow(model, larger)) << "as read, in another font";
        for (const Step& step : steps) {
            step.change(model);
            EXPECT_EQ(model.widestText(font), measuredNow(model, font)) << step.name;
        }
    }
}

// A data-changed message replaces a kept list by a changed copy; the copy carries the measure over
// (SharedPickerLists tells it which texts left and came), and the original keeps its own.
TEST(PickerWidth, ACopiedListIsMeasuredAsItsRowsAreNow)
{
    const QFont font;
    const auto widestOf = [&font](const PickerListModel::Entries& rows) {
        int widest = 0;
        for (const Entry& entry : rows)
            widest = std::max(widest, QFontMetrics(font).boundingRect(entry.text).width());
        return widest;
    };
    PickerListModel::SharedEntries original;
    original.rows = manyRows();
    const int before = original.widest.width(original.rows, font);
    ASSERT_EQ(before, widestOf(original.rows));

    PickerListModel::SharedEntries appended = original;
    appended.rows.push_back({ QString(180, QLatin1Char('m')), 1000 });
    EXPECT_EQ(appended.widest.width(appended.rows, font), widestOf(appended.rows));
    EXPECT_EQ(original.widest.width(original.rows, font), before);

    for (const int length : { 150, 3 }) {
        SCOPED_TRACE(length);
        PickerListModel::SharedEntries removed = original;
        const auto at = std::find_if(removed.rows.begin(), removed.rows.end(),
            [length](const Entry& entry) { return entry.text.size() == length; });
        ASSERT_NE(at, removed.rows.end());
        const QString gone = at->text;
        removed.rows.erase(at);
        removed.widest.rowsChanged(removed.rows, { gone }, {});
        EXPECT_EQ(removed.widest.width(removed.rows, font), widestOf(removed.rows));

        PickerListModel::SharedEntries renamed = original;
        auto held = std::find_if(renamed.rows.begin(), renamed.rows.end(),
            [length](const Entry& entry) { return entry.text.size() == length; });
        const QString arrived(length == 3 ? 190 : 2, QLatin1Char('m'));
        const QString left = std::exchange(held->text, arrived);
        renamed.widest.rowsChanged(renamed.rows, { left }, { arrived });
        EXPECT_EQ(renamed.widest.width(renamed.rows, font), widestOf(renamed.rows));
    }
}

} // namespace
