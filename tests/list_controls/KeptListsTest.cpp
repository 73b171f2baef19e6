// A large picker list (every case, say) is read once per connection and kept: the next window with
// that picker runs no list query, the kept list follows the data-changed messages, a record the
// list lacks is shown from its own row, and Refresh reads the list again.

#include "ListFixtures.h"

#include "core/Database.h"
#include "form_framework/FormSnapshot.h"
#include "form_framework/WindowList.h"
#include "list_controls/SharedPickerLists.h"
#include "list_controls/zComboBoxText.h"

#include <QApplication>
#include <QComboBox>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

const QString kList = QStringLiteral("EXEC usp_Test_DropDown_Things");

class KeptLists : public ListTest {
protected:
    // Things named "Thing 0001" on, inserted without any message, as another user's would be.
    void addThings(int count)
    {
        const QString series = GetParam() == Engine::PostgreSQL
            ? QStringLiteral("generate_series(1, %1) AS s(n)").arg(count)
            : QStringLiteral("(WITH RECURSIVE s(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM s WHERE n < %1) "
                             "SELECT n FROM s) s")
                  .arg(count);
        const QString name = GetParam() == Engine::PostgreSQL ? QStringLiteral("'Thing ' || lpad(n::text, 4, '0')")
                                                              : QStringLiteral("printf('Thing %04d', n)");
        ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("INSERT INTO Things (Thing_Name) SELECT %1 FROM %2").arg(name, series)));
    }
    // The texts of a freshly opened picker's list.
    QStringList listed()
    {
        frmPickerHost* window = open<frmPickerHost>(QStringLiteral("frmPickerHost"));
        if (!window)
            return { QStringLiteral("(no window)") };
        QStringList texts;
        for (int row = 0; row < window->picker->ListCount(); ++row)
            texts << window->picker->ListText(row);
        UnloadWindow(window);
        QApplication::processEvents();
        return texts;
    }
};

TEST_P(KeptLists, TheNextWindowTakesTheKeptListAsTheMessagesLeftIt)
{
    if (IsSkipped())
        return;
    addThings(SharedPickerLists::kKeptFrom);
    ASSERT_EQ(listed().size(), SharedPickerLists::kKeptFrom);
    EXPECT_TRUE(SharedPickerLists::isKept(kList));

    // Written without a message: the kept list does not know it, so no list query ran.
    const int quiet = addThing(QStringLiteral("Aardvark"));
    QStringList texts = listed();
    EXPECT_EQ(texts.size(), SharedPickerLists::kKeptFrom);
    EXPECT_FALSE(texts.contains(QStringLiteral("Aardvark")));

    // A picker's look-up builds the kept list's index; the messages below must keep it current.
    {
        frmPickerHost* window = open<frmPickerHost>(QStringLiteral("frmPickerHost"));
        ASSERT_NE(window, nullptr);
        window->picker->setText(QStringLiteral("thing 0003"));
        EXPECT_EQ(window->picker->Value().toInt(), count(QStringLiteral("SELECT Thing_ID FROM Things WHERE Thing_Name = 'Thing 0003'")));
        UnloadWindow(window);
        QApplication::processEvents();
    }

    // The messages a save or delete sends keep it current.
    const int added = addThing(QStringLiteral("Zebra"));
    BroadcastDataChanged(DataChangedAction::Added, QStringLiteral("Things"), QString::number(added));
    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("UPDATE Things SET Thing_Name = 'Renamed' WHERE Thing_Name = 'Thing 0002'")));
    const int renamed = count(QStringLiteral("SELECT Thing_ID FROM Things WHERE Thing_Name = 'Renamed'"));
    BroadcastDataChanged(DataChangedAction::Updated, QStringLiteral("things"), QString::number(renamed));
    const int gone = count(QStringLiteral("SELECT Thing_ID FROM Things WHERE Thing_Name = 'Thing 0003'"));
    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("DELETE FROM Things WHERE Thing_ID = %1").arg(gone)));
    BroadcastDataChanged(DataChangedAction::Deleted, QStringLiteral("Things"), QString::number(gone));
    texts = listed();
    EXPECT_EQ(texts.size(), SharedPickerLists::kKeptFrom);
    EXPECT_EQ(texts.value(0), QStringLiteral("Thing 0001"));
    EXPECT_EQ(texts.value(1), QStringLiteral("Renamed"));
    EXPECT_EQ(texts.value(2), QStringLiteral("Thing 0004"));
    EXPECT_EQ(texts.last(), QStringLiteral("Zebra"));

    // A record the kept list lacks is shown from its own row; Refresh reads the whole list again.
    frmPickerHost* window = open<frmPickerHost>(QStringLiteral("frmPickerHost"));
    ASSERT_NE(window, nullptr);
    const std::vector<std::pair<QString, int>> typed { { QStringLiteral("ZEBRA"), added },
                                                       { QStringLiteral("renamed"), renamed },
                                                       { QStringLiteral("Thing 0002"), -1 },
                                                       { QStringLiteral("Thing 0003"), -1 },
                                                       { QStringLiteral("thing 0004"), count(QStringLiteral("SELECT Thing_ID FROM Things WHERE Thing_Name = 'Thing 0004'")) } };
    for (const auto& [text, identity] : typed) {
        window->picker->setText(text);
        EXPECT_EQ(window->picker->Value().toInt(), identity) << text.toStdString();
    }
    window->picker->setValue(added);
    EXPECT_EQ(window->picker->Text(), QStringLiteral("Zebra"));
    window->picker->setValue(quiet);
    EXPECT_EQ(window->picker->Value().toInt(), quiet);
    EXPECT_EQ(window->picker->Text(), QStringLiteral("Aardvark"));
    window->picker->RePopulate();
    EXPECT_EQ(window->picker->ListCount(), SharedPickerLists::kKeptFrom + 1);
    EXPECT_EQ(window->picker->ListText(0), QStringLiteral("Aardvark"));
    EXPECT_EQ(window->picker->Value().toInt(), quiet);
    UnloadWindow(window);
    QApplication::processEvents();

    // Another connection is another database: nothing kept crosses over.
    SetDBConnection(m_database->connect());
    EXPECT_FALSE(SharedPickerLists::isKept(kList));
}

// The box is as wide as the kept list's widest text, measured once for the list and carried
// through the messages that change it.
TEST_P(KeptLists, TheBoxWidthFollowsTheKeptList)
{
    if (IsSkipped())
        return;
    addThings(SharedPickerLists::kKeptFrom);
    const auto boxWidth = [this] {
        frmPickerHost* window = open<frmPickerHost>(QStringLiteral("frmPickerHost"));
        if (!window)
            return -1;
        const int width = window->picker->combo()->sizeHint().width();
        UnloadWindow(window);
        QApplication::processEvents();
        return width;
    };
    const int first = boxWidth();
    ASSERT_GT(first, 0);
    ASSERT_TRUE(SharedPickerLists::isKept(kList));
    EXPECT_EQ(boxWidth(), first) << "the same list, the same width";

    const QString longName = QStringLiteral("A thing with a much longer name than any other");
    const int added = addThing(longName);
    BroadcastDataChanged(DataChangedAction::Added, QStringLiteral("Things"), QString::number(added));
    const int wider = boxWidth();
    EXPECT_GT(wider, first) << "an added text wider than the rest";

    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("UPDATE Things SET Thing_Name = 'Short' WHERE Thing_ID = %1").arg(added)));
    BroadcastDataChanged(DataChangedAction::Updated, QStringLiteral("Things"), QString::number(added));
    EXPECT_EQ(boxWidth(), first) << "the widest text renamed short";

    const int renamed = count(QStringLiteral("SELECT Thing_ID FROM Things WHERE Thing_Name = 'Thing 0005'"));
    ASSERT_TRUE(Act_ExecuteSQL(
        QStringLiteral("UPDATE Things SET Thing_Name = '%1' WHERE Thing_ID = %2").arg(longName).arg(renamed)));
    BroadcastDataChanged(DataChangedAction::Updated, QStringLiteral("Things"), QString::number(renamed));
    EXPECT_EQ(boxWidth(), wider) << "a text renamed to the widest";

    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("DELETE FROM Things WHERE Thing_ID = %1").arg(renamed)));
    BroadcastDataChanged(DataChangedAction::Deleted, QStringLiteral("Things"), QString::number(renamed));
    EXPECT_EQ(boxWidth(), first) << "the widest text deleted";
    EXPECT_TRUE(SharedPickerLists::isKept(kList));
}

TEST_P(KeptLists, AShortListIsReadEachTime)
{
    if (IsSkipped())
        return;
    addThings(3);
    EXPECT_EQ(listed().size(), 3);
    EXPECT_FALSE(SharedPickerLists::isKept(kList));
    addThing(QStringLiteral("Aardvark"));
    EXPECT_EQ(listed().size(), 4);
}

INSTANTIATE_TEST_SUITE_P(Engines, KeptLists, ::testing::ValuesIn(TestEngines()), EngineTestName);

} // namespace
