// The people windows over 100,000 people on the embedded database:
//   (a) the people search ("Last Name Like" a common prefix), Populate to the rows shown, against
//       the search procedure's own time;
//   (b) the employee window opened for edit, its Person picker listing every person, against the
//       time of the picker lists and the row query it runs.
// Each measured run is interleaved with its baseline; the least and the median ratio are printed
// beside the target. "--smoke" runs an empty and a one-row table once; "--rows N" another size.
// Never fails on a missed target.

#include "BenchFixture.h"
#include "cases/CaseProcedures.h"
#include "cases/PeopleWindows.h"
#include "core/Connection.h"
#include "core/Database.h"
#include "form_framework/WindowList.h"
#include "form_framework/WindowOpening.h"
#include "form_framework/zFieldBase.h"
#include "list_controls/ListProcedures.h"
#include "list_controls/zListView.h"
#include "declared_windows/DeclaredSearchWindow.h"
#include "reference_tables/ReferenceTables.h"

#include <cstdio>

namespace {

void measure(DatabaseConnection& connection, int rows, int repeats)
{
    connection.executeStatement(QStringLiteral("DELETE FROM Employees"));
    connection.executeStatement(QStringLiteral("DELETE FROM People"));
    static const char* const surnames[]
        = { "Smith", "Smithers", "Jones", "Brown", "Taylor", "Smart", "Wilson", "Evans" };
    connection.beginTransaction();
    for (int i = 0; i < rows; ++i)
        connection.executeStatement(QStringLiteral("INSERT INTO People (First_Name, Last_Name) VALUES (?, ?)"),
            { QStringLiteral("Given%1").arg(i), QString::fromLatin1(surnames[i % 8]) + QString::number(i / 8) });
    connection.commitTransaction();
    CurrentBenchClock() = BenchClock::ThreadCpu;
    std::printf("%d people on SQLite, %d interleaved pairs (CPU time of the thread)\n", rows, repeats);
    PrintRatioHeader("us/unit");

    auto* list = qobject_cast<DeclaredSearchWindow*>(ShowFormByName(QStringLiteral("frmPeople")));
    list->criteria().at(1)->setValue(QStringLiteral("Smi"));
    const PairedTimes populate = TimePopulateData(repeats, list);
    const int shown = list->grid()->CountItems();
    PrintRatioLine("(a) people search, per row shown / search", populate, qMax(shown, 1), 1.5);
    UnloadWindow(list);

    if (rows == 0) {
        std::printf("(b) no person for an employee\n");
        return;
    }
    connection.executeStatement(QStringLiteral("INSERT INTO Employee_Categories (Employee_Category_Name, "
                                               "Employee_Category_Code) VALUES ('Officer', 'OFF')"));
    connection.executeStatement(
        QStringLiteral("INSERT INTO Employees (Person_ID, Employee_Category_ID, Payroll_Number) "
                       "SELECT MIN(Person_ID), MAX(c.Employee_Category_ID), 'P-1' "
                       "FROM People, Employee_Categories c"));
    const int id = GetSQLValue(QStringLiteral("SELECT MAX(Employee_ID) FROM Employees"))->toInt();
    const QString oneRow = QStringLiteral("SELECT * FROM Employees WHERE Employee_ID = %1").arg(id);
    const QStringList queries { QStringLiteral("EXEC usp_Evd_DropDown_People"),
        QStringLiteral("EXEC usp_Evd_DropDown_Employee_Categories"), QStringLiteral("EXEC usp_Evd_DropDown_Ranks"),
        oneRow };
    auto baseline = [&] {
        for (const QString& sql : queries) {
            std::unique_ptr<Recordset> rs;
            Act_OpenRecordset(rs, sql);
            CloseRecordset(rs);
        }
    };
    const PairedTimes open
        = Interleaved(repeats, baseline, [&] { OpenForEditAndClose(QStringLiteral("frmEmployee"), id, false); });
    PrintRatioLine("(b) employee window for edit / its queries", open, 1, 2.0);
}

} // namespace

int main(int argc, char* argv[])
{
    const BenchSession session(argc, argv, { RegisterLookupWindows, RegisterCaseProcedures, RegisterPeopleForms });
    for (const int rows : TableSizes(argc, argv, 100000))
        measure(session.connection(), rows, session.repeats(5));
    std::printf("(us/unit: microseconds per row shown for (a), per window for (b))\n");

    return 0;
}
