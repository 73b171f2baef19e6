// A lookup table of 10,000 rows on the embedded database:
//   (a) its search window's Populate, to the rows shown in the grid, against the search
//       procedure's own time;
//   (b) its record window's load (row into the fields, snapshot) against the one-row query it
//       runs, with the whole opening (the window's construction included) printed beside it.
// Each measured run is interleaved with its baseline; the least and the median ratio are printed
// beside the target, with the cost per row shown or per window opened. "--smoke" runs an empty
// and a one-row table once; "--rows N" another size (with --smoke, one pass of it). Never fails on
// a missed target.

#include "BenchFixture.h"
#include "core/Connection.h"
#include "core/Database.h"
#include "form_framework/DataWindow.h"
#include "form_framework/FormRegistry.h"
#include "form_framework/WindowList.h"
#include "form_framework/WindowOpening.h"
#include "list_controls/ListProcedures.h"
#include "list_controls/zListView.h"
#include "declared_windows/DeclaredSearchWindow.h"
#include "reference_tables/ReferenceTables.h"

#include <QApplication>

#include <cstdio>

namespace {

// One table size: fills the table, then times the search window and the record window.
void measure(DatabaseConnection& connection, int rows, int repeats)
{
    connection.executeStatement(QStringLiteral("DELETE FROM Case_Statuses"));
    connection.beginTransaction();
    for (int i = 0; i < rows; ++i)
        connection.executeStatement(
            QStringLiteral("INSERT INTO Case_Statuses (Case_Status_Name, Case_Status_Code) VALUES (?, ?)"),
            { QStringLiteral("Status %1").arg(i, 7, 10, QLatin1Char('0')), QStringLiteral("S%1").arg(i) });
    connection.commitTransaction();
    // All of it (the embedded engine too) runs on this thread: its CPU time is what is timed.
    CurrentBenchClock() = BenchClock::ThreadCpu;
    std::printf("A lookup table of %d rows on SQLite, %d interleaved pairs (CPU time of the thread)\n", rows, repeats);
    PrintRatioHeader("us/unit");

    auto* list = qobject_cast<DeclaredSearchWindow*>(ShowFormByName(QStringLiteral("frmCaseStatuses")));
    const PairedTimes populate = TimePopulateData(repeats, list);
    if (list->grid()->CountItems() != rows)
        std::printf("  (the grid shows %d rows, not %d)\n", list->grid()->CountItems(), rows);
    PrintRatioLine("(a) Populate, per row shown / search", populate, rows, 1.5);
    UnloadWindow(list);

    if (rows == 0) {
        std::printf("(b) no row for the record window to load\n");
        return;
    }
    const int someId = GetSQLValue(QStringLiteral("SELECT MIN(Case_Status_ID) FROM Case_Statuses"))->toInt() + rows / 2;
    const QString oneRow = QStringLiteral("SELECT * FROM Case_Statuses WHERE Case_Status_ID = %1").arg(someId);
    auto query = [&] {
        std::unique_ptr<Recordset> rs;
        Act_OpenRecordset(rs, oneRow);
    };
    DataWindow* built = FormRegistry::create(QStringLiteral("frmCaseStatus"));
    const PairedTimes load = Interleaved(repeats * 4, query, [&] { LoadForEdit(built, someId); });
    delete built;
    PrintRatioLine("(b) record load (row, fields, snapshot)", load, 1, 2.0);
    const PairedTimes open
        = Interleaved(repeats * 4, query, [&] { OpenForEditAndClose(QStringLiteral("frmCaseStatus"), someId, false); });
    PrintRatioLine("    whole opening, window built", open, 1, 0);
}

} // namespace

int main(int argc, char* argv[])
{
    const BenchSession session(argc, argv, { RegisterLookupWindows });
    for (const int rows : TableSizes(argc, argv, 10000))
        measure(session.connection(), rows, session.repeats(7));
    std::printf("(us/unit: microseconds per row shown for (a), per window for (b))\n");

    return 0;
}
