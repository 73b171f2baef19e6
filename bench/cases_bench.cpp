// The case windows on a case room of realistic size: frmCase opened for edit (its connect-up
// picker lists every case), shown and idle, against its list queries and its row query run alone;
// and a cases search without criteria, Populate to rows shown, against the search procedure
// alone. Each measurement is interleaved with its baseline; the least and the median ratio are
// printed beside the target. "--smoke" runs one pass over a handful of rows; never fails on a
// missed target.

#include "BenchFixture.h"
#include "cases/CaseProcedures.h"
#include "cases/CaseWindows.h"
#include "core/Connection.h"
#include "core/Database.h"
#include "form_framework/WindowOpening.h"
#include "list_controls/ListProcedures.h"
#include "declared_windows/DeclaredSearchWindow.h"
#include "reference_tables/ReferenceTables.h"

#include <cstdio>

namespace {

void fill(DatabaseConnection& connection, int cases, int addresses, int employees)
{
    auto run = [&connection](const QString& sql, const std::vector<QVariant>& values = {}) {
        return connection.executeStatement(sql, values);
    };
    FillCaseClasses(connection);
    run(QStringLiteral("INSERT INTO Case_Statuses (Case_Status_Name, Case_Status_Code) VALUES ('Open', 'OP')"));
    const QVariant country = run(QStringLiteral("SELECT MIN(Country_ID) FROM Countries")).valueAt(0, 0);
    connection.beginTransaction();
    for (int i = 1; i <= addresses; ++i)
        run(QStringLiteral("INSERT INTO Addresses (Country_ID, Street_Address_1, City) VALUES (?, ?, ?)"),
            { country, QStringLiteral("%1 Main St").arg(i), QStringLiteral("City %1").arg(i % 97) });
    for (int i = 1; i <= employees; ++i)
        run(QStringLiteral("INSERT INTO Employees (Payroll_Number) VALUES (?)"),
            { QStringLiteral("P%1").arg(i, 6, 10, QLatin1Char('0')) });
    for (int i = 1; i <= cases; ++i)
        run(QStringLiteral("INSERT INTO Cases (Case_Date_Time, Case_Number, Case_Status_ID, Crime_Class_ID, "
                           "Felony_Class_ID, Original_Incident_Address_ID, Default_Property_Category_ID, "
                           "Default_Submitting_Employee_ID, Collecting_Employee_ID) "
                           "VALUES (?, ?, 1, 1, 1, ?, 1, ?, ?)"),
            { SpreadCaseDateTime(i), QStringLiteral("N-%1").arg(i, 7, 10, QLatin1Char('0')), 1 + i % addresses,
                1 + i % employees, 1 + (i * 7) % employees });
    connection.commitTransaction();
}

} // namespace

int main(int argc, char* argv[])
{
    const BenchSession session(argc, argv, { RegisterLookupWindows, RegisterCaseProcedures, RegisterCaseWindows });
    const bool smoke = session.smoke();
    const int cases = smoke ? 5 : 100000;
    const int addresses = smoke ? 5 : 20000;
    const int employees = smoke ? 5 : 5000;
    const int repeats = session.repeats(7);
    fill(session.connection(), cases, addresses, employees);
    std::printf("Case windows over %d cases, %d addresses, %d employees, on SQLite; %d interleaved pairs\n", cases,
        addresses, employees, repeats);
    PrintRatioHeader("us/run");

    const int shown = cases / 2 + 1;
    const QStringList lists { QStringLiteral("EXEC usp_Evd_DropDown_Case_Statuses"),
        QStringLiteral("EXEC usp_Evd_DropDown_Cases"), QStringLiteral("EXEC usp_Evd_DropDown_Crime_Classes"),
        QStringLiteral("EXEC usp_Evd_DropDown_Felony_Classes"), QStringLiteral("EXEC usp_Evd_DropDown_Addresses"),
        QStringLiteral("EXEC usp_Evd_DropDown_Addresses"), QStringLiteral("EXEC usp_Evd_DropDown_Employees"),
        QStringLiteral("EXEC usp_Evd_DropDown_Property_Categories"), QStringLiteral("EXEC usp_Evd_DropDown_Employees"),
        QStringLiteral("SELECT * FROM Cases WHERE Case_ID = %1").arg(shown) };
    PrintOpenForEdit(
        repeats, lists, QStringLiteral("frmCase"), shown, "frmCase for edit, shown / its list and row queries");

    if (!PrintPopulate(repeats, ShowFormByName(QStringLiteral("frmCases")),
            QStringLiteral("EXEC usp_Evd_Search_Cases_All"), "cases search, Populate to rows shown / the procedure"))
        return 1;
    return 0;
}
