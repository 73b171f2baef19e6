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

// The full names as the whole-tree walk gave them before a location's name was worked out from
// that location up; kept here to compare the two over the same rows (a statement of its own: a
// clerk creates nothing in the database).
const char* const kWholeTreeNames = R"(
WITH RECURSIVE Walk (Location_ID, Parent_Location_ID, Full_Name, Depth) AS (
    SELECT Location_ID, Parent_Location_ID, CAST(Location_Name AS TEXT), 1
    FROM Locations
    UNION ALL
    SELECT w.Location_ID, p.Parent_Location_ID, CAST(p.Location_Name AS TEXT) || ' / ' || w.Full_Name, w.Depth + 1
    FROM Walk w
    JOIN Locations p ON p.Location_ID = w.Parent_Location_ID
    WHERE w.Depth < 32
)
SELECT Location_ID AS Location_ID, Full_Name AS Location_Name
FROM Walk w
WHERE w.Parent_Location_ID IS NULL
   OR w.Depth = 32
   OR NOT EXISTS (SELECT 1 FROM Locations p WHERE p.Location_ID = w.Parent_Location_ID)
ORDER BY 1)";

TEST_P(LocationTree, FullNamesAreThoseOfTheWholeTreeWalk)
{
    if (IsSkipped())
        return;
    // Rooms, shelves and bins; a cycle of two and a location its own parent, stored past the
    // windows; on SQLite (whose foreign keys a hand-made file may lack) a parent that is gone.
    QList<int> rooms;
    for (int r = 1; r <= 3; ++r) {
        const int room = location(QStringLiteral("Room %1").arg(r));
        rooms << room;
        for (int s = 1; s <= 3; ++s) {
            const int shelf = location(QStringLiteral("Shelf %1.%2").arg(r).arg(s), room);
            for (int b = 1; b <= 2; ++b)
                location(QStringLiteral("Bin %1.%2.%3").arg(r).arg(s).arg(b), shelf);
        }
    }
    const int first = location(QStringLiteral("A"));
    const int second = location(QStringLiteral("B"), first);
    location(QStringLiteral("Under B"), second);
    run(QStringLiteral("UPDATE Locations SET Parent_Location_ID = ? WHERE Location_ID = ?"), { second, first });
    const int own = location(QStringLiteral("Own parent"));
    run(QStringLiteral("UPDATE Locations SET Parent_Location_ID = ? WHERE Location_ID = ?"), { own, own });
    if (GetParam() == Engine::SQLite) {
        run(QStringLiteral("PRAGMA foreign_keys = OFF"));
        location(QStringLiteral("Orphan"), 9999);
        run(QStringLiteral("PRAGMA foreign_keys = ON"));
    }
    auto rowsOf = [](const QString& sql) {
        const Recordset rows = run(sql);
        QStringList out;
        for (int row = 0; row < rows.recordCount(); ++row)
            out << rows.valueAt(row, 0).toString() + QLatin1Char('|') + rows.valueAt(row, 1).toString();
        return out;
    };
    const QStringList expected = rowsOf(QString::fromLatin1(kWholeTreeNames));
    EXPECT_EQ(rowsOf(QStringLiteral("SELECT Location_ID, Location_Name FROM Full_Name_Locations ORDER BY 1")), expected);
    EXPECT_EQ(expected.size(), 3 * (1 + 3 * 3) + 4 + (GetParam() == Engine::SQLite ? 1 : 0));
    // One location at a time, as a scanned code or a picker's row reads it.
    for (const QString& row : expected) {
        const QString identity = row.section(QLatin1Char('|'), 0, 0);
        EXPECT_EQ(rowsOf(QStringLiteral("SELECT Location_ID, Location_Name FROM Full_Name_Locations WHERE Location_ID = ")
                      + identity),
            QStringList { row });
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, LocationTree, ::testing::ValuesIn(TestEngines()), EngineTestName);
INSTANTIATE_CLERK_SUITE(LocationTree);

} // namespace
