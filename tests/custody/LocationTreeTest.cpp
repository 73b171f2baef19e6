// The location tree on both engines: full names through the parents for the pickers, and a cycle
// stored past the windows answered within the walk's depth limit instead of hanging a look-up.

#include "core/Database.h"
#include "core/Recordset.h"
#include "support/TestDatabase.h"

#include <QMap>

#include <gtest/gtest.h>

namespace {

class LocationTree : public DatabaseTest {
protected:
    static Recordset run(const QString& sql, const std::vector<QVariant>& values = {})
    {
        return DBConnection()->executeStatement(sql, values);
    }
    static int location(const QString& name, const QVariant& parent = QVariant())
    {
        run(QStringLiteral("INSERT INTO Locations (Location_Name, Location_Code, Parent_Location_ID) VALUES (?, ?, ?)"),
            { name, name.left(20), parent });
        return run(QStringLiteral("SELECT MAX(Location_ID) FROM Locations")).valueAt(0, 0).toInt();
    }
    // Identity to text, as the location picker lists them.
    static QMap<int, QString> pickerEntries()
    {
        std::unique_ptr<Recordset> rows = OpenRecordset(QStringLiteral("EXEC usp_Evd_DropDown_Locations"), false);
        QMap<int, QString> entries;
        for (int row = 0; rows && row < rows->recordCount(); ++row)
            entries.insert(rows->valueAt(row, 0).toInt(), rows->valueAt(row, 1).toString());
        CloseRecordset(rows);
        return entries;
    }
};

TEST_P(LocationTree, PickerShowsEachLocationOnceThroughItsParents)
{
    if (IsSkipped())
        return;
    const int room = location(QStringLiteral("Room 1"));
    const int shelf = location(QStringLiteral("Shelf 2"), room);
    const int bin = location(QStringLiteral("Bin 3"), shelf);
    const int garage = location(QStringLiteral("Garage"));
    const QMap<int, QString> entries = pickerEntries();
    EXPECT_EQ(entries.value(room), QStringLiteral("Room 1"));
    EXPECT_EQ(entries.value(shelf), QStringLiteral("Room 1 / Shelf 2"));
    EXPECT_EQ(entries.value(bin), QStringLiteral("Room 1 / Shelf 2 / Bin 3"));
    EXPECT_EQ(entries.value(garage), QStringLiteral("Garage"));
    EXPECT_EQ(entries.size(), 4);
    EXPECT_EQ(GetSQLValue(QStringLiteral("SELECT Location_Name FROM Full_Name_Locations WHERE Location_ID = %1").arg(bin))
                  ->toString(),
        QStringLiteral("Room 1 / Shelf 2 / Bin 3"));
}

TEST_P(LocationTree, StoredCycleEndsAtTheDepthLimit)
{
    if (IsSkipped())
        return;
    const int first = location(QStringLiteral("A"));
    const int second = location(QStringLiteral("B"), first);
    // A cycle the windows refuse but a statement outside them can store.
    run(QStringLiteral("UPDATE Locations SET Parent_Location_ID = ? WHERE Location_ID = ?"), { second, first });
    const QMap<int, QString> entries = pickerEntries();
    ASSERT_EQ(entries.size(), 2);
    // 32 names joined: the walk stopped at its limit with one row per location.
    EXPECT_EQ(entries.value(first).count(QStringLiteral(" / ")), 31);
    EXPECT_TRUE(entries.value(first).endsWith(QStringLiteral("B / A")));
}

INSTANTIATE_TEST_SUITE_P(Engines, LocationTree, ::testing::ValuesIn(TestEngines()), EngineTestName);
INSTANTIATE_CLERK_SUITE(LocationTree);

} // namespace
