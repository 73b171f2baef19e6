// The item windows on a property room of realistic size: frmItem opened for edit (its case picker
// lists 10,000 cases, its model picker 5,000 models), shown and idle, against its list, row and
// property-type queries run alone; and an items search over 100,000 items of 500 cases, Populate
// to rows shown, against the search procedure alone. Each measurement is interleaved with its
// baseline; the least and the median ratio are printed beside the target. "--smoke" runs one pass
// over a handful of rows; never fails on a missed target.

#include "BenchFixture.h"
#include "cases/CaseProcedures.h"
#include "cases/CaseWindows.h"
#include "core/Connection.h"
#include "core/Database.h"
#include "custody/CustodyWindows.h"
#include "form_framework/WindowOpening.h"
#include "list_controls/ListProcedures.h"
#include "declared_windows/DeclaredSearchWindow.h"
#include "reference_tables/ReferenceTables.h"

#include <cstdio>

namespace {

void fill(DatabaseConnection& connection, int cases, int casesWithItems, int items, int models)
{
    auto run = [&connection](const QString& sql, const std::vector<QVariant>& values = {}) {
        return connection.executeStatement(sql, values);
    };
    FillCaseClasses(connection);
    run(QStringLiteral("INSERT INTO Employees (Payroll_Number) VALUES ('P1')"));
    run(QStringLiteral("INSERT INTO Item_Statuses (Item_Status_Name, Item_Status_Code) VALUES ('Stored', 'ST')"));
    run(QStringLiteral("INSERT INTO Property_Types (Property_Type_Name, Property_Type_Code, Days_Until_Review, "
                       "Currency_Applicable) VALUES ('Bicycle', 'BI', 30, 0)"));
    connection.beginTransaction();
    for (int i = 1; i <= cases; ++i)
        InsertCase(connection, i, SpreadCaseDateTime(i));
    for (int i = 1; i <= models; ++i)
        run(QStringLiteral("INSERT INTO Item_Models (Item_Model_Name, Parent_Item_Model_ID) VALUES (?, ?)"),
            { QStringLiteral("Model %1").arg(i), i > 50 ? QVariant(1 + i % 50) : QVariant() });
    for (int i = 1; i <= items; ++i)
        run(QStringLiteral("INSERT INTO Items (Case_ID, Item_Number, Item_Status_ID, Item_Description, "
                           "Property_Type_ID, Item_Model_ID) VALUES (?, ?, 1, ?, 1, ?)"),
            { 1 + i % casesWithItems, QStringLiteral("I-%1").arg(i, 8, 10, QLatin1Char('0')),
                QStringLiteral("Item %1 of the room").arg(i), 1 + i % models });
    connection.commitTransaction();
}

} // namespace

int main(int argc, char* argv[])
{
    const BenchSession session(
        argc, argv, { RegisterLookupWindows, RegisterCaseProcedures, RegisterCaseWindows, RegisterCustodyWindows });
    const bool smoke = session.smoke();
    const int cases = smoke ? 5 : 10000;
    const int casesWithItems = smoke ? 3 : 500;
    const int items = smoke ? 5 : 100000;
    const int models = smoke ? 5 : 5000;
    const int repeats = session.repeats(7);
    fill(session.connection(), cases, casesWithItems, items, models);
    std::printf("Item windows over %d items of %d cases (%d cases in all), %d item models, on SQLite; "
                "%d interleaved pairs\n",
        items, casesWithItems, cases, models, repeats);
    PrintRatioHeader("us/run");

    const int shown = items / 2 + 1;
    const QStringList queries { QStringLiteral("EXEC usp_Evd_DropDown_Cases"),
        QStringLiteral("EXEC usp_Evd_DropDown_Item_Statuses"),
        QStringLiteral("EXEC usp_Evd_DropDown_Property_Categories"),
        QStringLiteral("EXEC usp_Evd_DropDown_Property_Types"), QStringLiteral("EXEC usp_Evd_DropDown_Item_Models"),
        QStringLiteral("EXEC usp_Evd_DropDown_Colors_Items"), QStringLiteral("EXEC usp_Evd_DropDown_Warning_Types"),
        QStringLiteral("EXEC usp_Evd_DropDown_Currency_Types"),
        QStringLiteral("EXEC usp_Evd_DropDown_Units @Unit_Type_Code = 'W'"),
        QStringLiteral("SELECT * FROM Items WHERE Item_ID = %1").arg(shown),
        QStringLiteral("SELECT * FROM Property_Types WHERE Property_Type_ID = 1") };
    PrintOpenForEdit(
        repeats, queries, QStringLiteral("frmItem"), shown, "frmItem for edit, shown / its list, row and type queries");

    if (!PrintPopulate(repeats, ShowFormByName(QStringLiteral("frmItems")),
            QStringLiteral("EXEC usp_Evd_Search_Items_All"), "items search, Populate to rows shown / the procedure"))
        return 1;

    return 0;
}
