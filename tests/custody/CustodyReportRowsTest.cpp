// The item reports' procedures select an item's actions by index rather than through the view of
// every action in the room. Over the same generated room, bad rows included (an action whose batch
// was deleted, an item whose case is gone, a location whose parent is gone, a location cycle), each
// procedure must give exactly the rows and columns of the view-based form it replaced, in the same
// order, for every item; the weights and their units are the procedures' own new columns.

#include "core/Connection.h"
#include "core/Database.h"
#include "core/Recordset.h"
#include "support/CaseRows.h"
#include "support/TestDatabase.h"
#include "support/ViewFormReports.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <random>

namespace {

QString cell(const Recordset& rows, int row, int column)
{
    return rows.isNullAt(row, column) ? QStringLiteral("<null>") : rows.valueAt(row, column).toString();
}

class CustodyReportRows : public DatabaseTest {
protected:
    Recordset run(const QString& sql, const std::vector<QVariant>& values = {})
    {
        return DBConnection()->executeStatement(sql, values);
    }
    int insert(const QString& sql, const std::vector<QVariant>& values = {})
    {
        const Recordset rows = run(sql, values);
        return rows.recordCount() == 1 ? rows.valueAt(0, 0).toInt() : 0;
    }
    // Foreign keys off while the bad rows are made, as an old import or a hand edit left them.
    void allowDanglingRows(bool allow)
    {
        if (GetParam() == Engine::SQLite)
            run(allow ? QStringLiteral("PRAGMA foreign_keys = OFF") : QStringLiteral("PRAGMA foreign_keys = ON"));
        else
            run(allow ? QStringLiteral("SET session_replication_role = replica") : QStringLiteral("SET session_replication_role = DEFAULT"));
    }

    // A small room with every way an action can concern an item, and the bad rows.
    void generateRoom()
    {
        std::mt19937 random(20240308);
        const auto pick = [&random](const std::vector<int>& from) {
            return from[std::uniform_int_distribution<size_t>(0, from.size() - 1)(random)];
        };
        const CaseClasses classes = InsertCaseClasses();
        std::vector<int> employees { classes.employee };
        for (int i = 2; i <= 5; ++i)
            employees.push_back(InsertEmployee(QStringLiteral("P-%1").arg(i)));
        const int weight = insert(QStringLiteral("SELECT Unit_Type_ID FROM Unit_Types WHERE Unit_Type_Code = 'W'"));
        const std::vector<int> units {
            insert(QStringLiteral("INSERT INTO Units (Unit_Type_ID, Unit_Name, Unit_Code) VALUES (?, 'Gram', 'g') RETURNING Unit_ID"), { weight }),
            insert(QStringLiteral("INSERT INTO Units (Unit_Type_ID, Unit_Name, Unit_Code) VALUES (?, 'Pound', 'lb') RETURNING Unit_ID"), { weight }),
        };
        // A tree three deep, a pair of locations that are each other's parent, and one whose
        // parent will be deleted.
        const auto location = [&](const QString& name, const QVariant& parent) {
            return insert(QStringLiteral("INSERT INTO Locations (Location_Name, Location_Code, Parent_Location_ID) "
                                         "VALUES (?, ?, ?) RETURNING Location_ID"),
                { name, name.left(20), parent });
        };
        const int room = location(QStringLiteral("Evidence Room"), QVariant());
        std::vector<int> locations { room };
        for (int shelf = 1; shelf <= 3; ++shelf) {
            const int shelfID = location(QStringLiteral("Shelf %1 Narcotics Overflow").arg(shelf), room);
            locations.push_back(shelfID);
            for (int bin = 1; bin <= 2; ++bin)
                locations.push_back(location(QStringLiteral("Bin %1.%2").arg(shelf).arg(bin), shelfID));
        }
        const int looped = location(QStringLiteral("Loop A"), QVariant());
        const int loopedBack = location(QStringLiteral("Loop B"), looped);
        run(QStringLiteral("UPDATE Locations SET Parent_Location_ID = ? WHERE Location_ID = ?"), { loopedBack, looped });
        locations.push_back(looped);
        const int orphanParent = location(QStringLiteral("Old Annex"), QVariant());
        const int orphan = location(QStringLiteral("Annex Cage"), orphanParent);
        locations.push_back(orphan);

        std::vector<int> cases;
        std::vector<int> items;
        for (int c = 1; c <= 6; ++c) {
            cases.push_back(InsertCase(classes, QStringLiteral("CN-%1").arg(c)));
            for (int i = 1; i <= 3; ++i)
                items.push_back(InsertItem(cases.back(), QStringLiteral("IN-%1-%2").arg(c).arg(i)));
        }
        const int batchType = insert(QStringLiteral("SELECT MIN(Batch_Type_ID) FROM Batch_Types"));
        std::vector<int> batches;
        for (int b = 1; b <= 4; ++b)
            batches.push_back(insert(QStringLiteral("INSERT INTO Batches (Batch_Number, Created_Date_Time, Created_By_Employee_ID, "
                                                    "Batch_Type_ID) VALUES (?, '2024-03-08 09:00:00', ?, ?) RETURNING Batch_ID"),
                { QStringLiteral("BOX-%1").arg(b), classes.employee, batchType }));
        // Each batch holds two items and a case; an item can be in a batch both itself and
        // through its case.
        for (int batch : batches) {
            for (int k = 0; k < 2; ++k)
                insert(QStringLiteral("INSERT INTO Batch_Items (Batch_ID, Item_ID) VALUES (?, ?) RETURNING Batch_Item_ID"), { batch, pick(items) });
            insert(QStringLiteral("INSERT INTO Batch_Items (Batch_ID, Case_ID) VALUES (?, ?) RETURNING Batch_Item_ID"), { batch, pick(cases) });
        }
        const auto actionType = [&](const QString& past, const QString& table) {
            return insert(QStringLiteral("INSERT INTO Item_Action_Types (Item_Action_Type_Name_Present, Item_Action_Type_Name_Past, "
                                         "Item_Action_Type_Code, Item_Action_Time_ID, Related_DB_Table_ID) "
                                         "SELECT ?, ?, ?, (SELECT MIN(Item_Action_Time_ID) FROM Item_Action_Times), "
                                         "(SELECT DB_Table_ID FROM DB_Tables WHERE DB_Table_Name = ?) RETURNING Item_Action_Type_ID"),
                { past, past, past.left(10), table });
        };
        const int store = actionType(QStringLiteral("Stored"), QStringLiteral("Item_Locations"));
        const int transfer = actionType(QStringLiteral("Transferred"), QStringLiteral("Item_Transfers"));
        const int photograph = actionType(QStringLiteral("Photographed"), QString());
        std::uniform_int_distribution<int> subjectKind(0, 2);
        std::uniform_int_distribution<int> day(1, 9); // few days, so equal times are common
        for (int n = 0; n < 150; ++n) {
            const int kind = subjectKind(random);
            const int type = pick({ store, transfer, photograph });
            const QString when = QStringLiteral("2024-03-0%1 1%2:00:00").arg(day(random)).arg(n % 3);
            const int action = insert(QStringLiteral("INSERT INTO Item_Actions (Item_ID, Case_ID, Batch_ID, Item_Action_Type_ID, "
                                                     "Performed_By_Employee_ID, Item_Action_Date_Time, Item_Action_Description) "
                                                     "VALUES (?, ?, ?, ?, ?, ?, ?) RETURNING Item_Action_ID"),
                { kind == 0 ? QVariant(pick(items)) : QVariant(), kind == 1 ? QVariant(pick(cases)) : QVariant(),
                    kind == 2 ? QVariant(pick(batches)) : QVariant(), type, pick(employees), when,
                    QStringLiteral("action %1").arg(n) });
            // A few transfers also carry a stored location, as a hand edit could leave them.
            if (type == store || (type == transfer && n % 7 == 0))
                insert(QStringLiteral("INSERT INTO Item_Locations (Item_Action_ID, Location_ID) VALUES (?, ?) RETURNING Item_Location_ID"),
                    { action, pick(locations) });
            if (type == transfer) {
                const bool weighed = n % 4 != 0;
                insert(QStringLiteral("INSERT INTO Item_Transfers (Item_Action_ID, From_Location_ID, To_Location_ID, From_Employee_ID, "
                                      "To_Employee_ID, Item_Weight_Out, Item_Weight_Out_Unit_ID, Item_Weight_In, Item_Weight_In_Unit_ID) "
                                      "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?) RETURNING Item_Transfer_ID"),
                    { action, pick(locations), pick(locations), n % 5 == 0 ? QVariant() : QVariant(pick(employees)), pick(employees),
                        weighed ? QVariant(12.5 + n) : QVariant(), weighed ? QVariant(pick(units)) : QVariant(),
                        weighed ? QVariant(12.25 + n) : QVariant(), weighed ? QVariant(pick(units)) : QVariant() });
            }
        }
        allowDanglingRows(true);
        // A batch deleted under its actions and memberships, a case deleted under its items, a
        // parent location deleted under its child, a bin deleted under the actions naming it.
        run(QStringLiteral("DELETE FROM Batches WHERE Batch_ID = ?"), { batches.front() });
        run(QStringLiteral("DELETE FROM Cases WHERE Case_ID = ?"), { cases.back() });
        run(QStringLiteral("DELETE FROM Locations WHERE Location_ID = ?"), { orphanParent });
        run(QStringLiteral("DELETE FROM Locations WHERE Location_ID = ?"), { locations[2] }); // the first bin
        allowDanglingRows(false);
        m_items = items;
        m_items.push_back(items.back() + 1000); // no such item
        m_deletedBatch = batches.front();
    }

    std::vector<int> m_items;
    int m_deletedBatch = 0;
};

TEST_P(CustodyReportRows, TheProceduresGiveTheViewFormsRowsForEveryItem)
{
    generateRoom();
    ASSERT_FALSE(HasFailure());
    const int actionsOfTheDeletedBatch
        = run(QStringLiteral("SELECT COUNT(*) FROM Item_Actions WHERE Batch_ID = ?"), { m_deletedBatch }).valueAt(0, 0).toInt();
    ASSERT_GT(actionsOfTheDeletedBatch, 0) << "the generated room lacks an action of a deleted batch";
    const struct {
        const char* procedure;
        const char* viewForm;
    } reports[] = {
        { "usp_Evd_Rep_Item_Chain_Of_Custody", kViewChainOfCustody },
        { "usp_Evd_Rep_Item_History", kViewItemHistory },
    };
    for (const auto& report : reports) {
        SCOPED_TRACE(report.procedure);
        int rowsCompared = 0;
        int weighedRows = 0;
        for (int item : m_items) {
            SCOPED_TRACE(item);
            const Recordset expected = run(QString::fromLatin1(report.viewForm), { item });
            const Recordset actual = DBConnection()->execute(QStringLiteral("EXEC %1 @Item_ID = %2").arg(QLatin1String(report.procedure)).arg(item));
            ASSERT_EQ(actual.recordCount(), expected.recordCount());
            for (int column = 0; column < expected.fieldCount(); ++column) {
                const QString name = expected.fieldName(column);
                ASSERT_EQ(actual.fieldName(column), name) << "the old columns keep their places";
                EXPECT_EQ(actual.fieldType(column), expected.fieldType(column)) << name.toStdString();
                for (int row = 0; row < expected.recordCount(); ++row)
                    ASSERT_EQ(cell(actual, row, column), cell(expected, row, column)) << name.toStdString() << " of row " << row;
            }
            // The new columns follow the old ones: each weight with its unit, or neither.
            const QStringList added { QStringLiteral("Weight_Out"), QStringLiteral("Weight_Out_Unit"), QStringLiteral("Weight_In"),
                QStringLiteral("Weight_In_Unit") };
            ASSERT_EQ(actual.fieldCount(), expected.fieldCount() + added.size());
            for (int k = 0; k < added.size(); ++k)
                EXPECT_EQ(actual.fieldName(expected.fieldCount() + k), added.at(k));
            for (int row = 0; row < actual.recordCount(); ++row) {
                const int out = actual.fieldIndex(QStringLiteral("Weight_Out"));
                const int in = actual.fieldIndex(QStringLiteral("Weight_In"));
                EXPECT_EQ(actual.isNullAt(row, out), actual.isNullAt(row, out + 1));
                EXPECT_EQ(actual.isNullAt(row, in), actual.isNullAt(row, in + 1));
                if (!actual.isNullAt(row, out)) {
                    ++weighedRows;
                    EXPECT_DOUBLE_EQ(actual.valueAt(row, in).toDouble(), actual.valueAt(row, out).toDouble() - 0.25);
                    EXPECT_TRUE(QStringList({ QStringLiteral("g"), QStringLiteral("lb") }).contains(cell(actual, row, out + 1)));
                }
            }
            rowsCompared += expected.recordCount();
        }
        EXPECT_GT(rowsCompared, 150) << "the generated room gives the reports too little to compare";
        EXPECT_GT(weighedRows, 0);
    }
}

TEST_P(CustodyReportRows, ProgramSessionsOnTheServerNeverCompileQueries)
{
    // Compiling a report's plan cost the server most of its time; a clerk's session runs without.
    if (GetParam() != Engine::PostgreSQL)
        GTEST_SKIP() << "the embedded engine compiles nothing";
    m_database->createLogin(QStringLiteral("custody_clerk"), QStringLiteral("Clerk-Pass-1"));
    Credentials clerk;
    clerk.trusted = false;
    clerk.userName = QStringLiteral("custody_clerk");
    clerk.password = QStringLiteral("Clerk-Pass-1");
    const std::unique_ptr<DatabaseConnection> session = m_database->connect(clerk);
    ASSERT_NE(session, nullptr);
    EXPECT_EQ(session->executeStatement(QStringLiteral("SELECT current_setting('jit')")).valueAt(0, 0).toString(), QStringLiteral("off"));
    EXPECT_EQ(run(QStringLiteral("SELECT current_setting('jit')")).valueAt(0, 0).toString(), QStringLiteral("off"));
}

INSTANTIATE_TEST_SUITE_P(Engines, CustodyReportRows, ::testing::ValuesIn(TestEngines()), EngineTestName);

} // namespace
