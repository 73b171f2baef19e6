// The chain of custody at realistic size. 1,000 item actions inserted through the procedure layer
// (usp_Evd_Insert_Item_Action, each call its own transaction), against the same rows inserted
// plainly through the same connection, each in its own transaction; and frmItemAction opened for
// edit with 10,000 items, 10,000 cases and 1,000 batches in its pickers, shown and idle, against
// its list and row queries run alone. Each measurement is interleaved with its baseline; the least
// and the median ratio are printed beside the target. "--smoke" runs one pass over a handful of
// rows; never fails on a missed target.

#include "BenchFixture.h"
#include "cases/CaseProcedures.h"
#include "cases/CaseWindows.h"
#include "core/Connection.h"
#include "core/Database.h"
#include "custody/CustodyWindows.h"
#include "form_framework/WindowOpening.h"
#include "list_controls/ListProcedures.h"
#include "reference_tables/ReferenceTables.h"

#include <cstdio>

namespace {

// The rows of the room, and the item actions each repeat inserts.
struct Sizes {
    int items;
    int cases;
    int batches;
    int inserts;
};

void fill(DatabaseConnection& connection, const Sizes& sizes)
{
    auto run = [&connection](const QString& sql, const std::vector<QVariant>& values = {}) {
        return connection.executeStatement(sql, values);
    };
    FillCaseClasses(connection);
    run(QStringLiteral("INSERT INTO Batch_Types (Batch_Type_Name, Batch_Type_Code) VALUES ('Test Box', 'TBOX')"));
    FillStoreAction(connection);
    connection.beginTransaction();
    for (int i = 1; i <= 50; ++i)
        run(QStringLiteral("INSERT INTO Employees (Payroll_Number) VALUES (?)"), { QStringLiteral("P%1").arg(i) });
    for (int i = 1; i <= sizes.cases; ++i)
        InsertCase(connection, i, QStringLiteral("2020-01-01 10:00:00"));
    for (int i = 1; i <= sizes.items; ++i)
        InsertItem(connection, i, 1 + i % sizes.cases);
    for (int i = 1; i <= sizes.batches; ++i)
        InsertBatch(connection, i);
    connection.commitTransaction();
}

} // namespace

int main(int argc, char* argv[])
{
    const BenchSession session(
        argc, argv, { RegisterLookupWindows, RegisterCaseProcedures, RegisterCaseWindows, RegisterItemActionWindows });
    const Sizes sizes = session.smoke() ? Sizes { 5, 5, 5, 3 } : Sizes { 10000, 10000, 1000, 1000 };
    const int repeats = session.repeats(7);
    DatabaseConnection& connection = session.connection();
    fill(connection, sizes);
    std::printf("Item actions over %d items, %d cases, %d batches, on SQLite; %d interleaved pairs\n", sizes.items,
        sizes.cases, sizes.batches, repeats);
    PrintRatioHeader("us/run");

    const PairedTimes insert = Interleaved(
        repeats,
        [&] {
            for (int i = 0; i < sizes.inserts; ++i) {
                connection.beginTransaction();
                connection.executeStatement(
                    QStringLiteral("INSERT INTO Item_Actions (Item_ID, Item_Action_Type_ID, Performed_By_Employee_ID, "
                                   "Item_Action_Date_Time, Item_Action_Description) VALUES (?, 1, 1, ?, ?)"),
                    { 1 + i % sizes.items, QStringLiteral("2024-03-08 09:00:00"), QStringLiteral("Checked") });
                connection.commitTransaction();
            }
        },
        [&] {
            for (int i = 0; i < sizes.inserts; ++i)
                connection.execute(QStringLiteral("EXEC usp_Evd_Insert_Item_Action @Item_ID = %1, "
                                                  "@Performed_By_Employee_ID = 1, @Item_Action_Type_ID = 1, "
                                                  "@Item_Action_Date_Time = '3/8/2024 9:00:00 AM', "
                                                  "@Item_Action_Description = 'Checked', @Location_ID = 0")
                                       .arg(1 + i % sizes.items));
        });
    PrintRatioLine("usp_Evd_Insert_Item_Action / plain inserts", insert, 1, 1.5);

    const int shown = connection.executeStatement(QStringLiteral("SELECT MAX(Item_Action_ID) FROM Item_Actions"))
                          .valueAt(0, 0)
                          .toInt();
    const QStringList lists { QStringLiteral("EXEC usp_Evd_DropDown_Items"),
        QStringLiteral("EXEC usp_Evd_DropDown_Cases"), QStringLiteral("EXEC usp_Evd_DropDown_Batches"),
        QStringLiteral("EXEC usp_Evd_DropDown_Item_Action_Types"), QStringLiteral("EXEC usp_Evd_DropDown_Employees"),
        QStringLiteral("SELECT * FROM Item_Actions WHERE Item_Action_ID = %1").arg(shown),
        QStringLiteral("EXEC usp_Evd_Get_Item_Action_Type_Details 1") };
    PrintOpenForEdit(repeats, lists, QStringLiteral("frmItemAction"), shown,
        "frmItemAction for edit, shown / its list and row queries");

    return 0;
}
