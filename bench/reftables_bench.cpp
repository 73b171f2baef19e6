// A lookup table of 10,000 rows on the embedded database:
//   (a) its search window's Populate, to the rows shown in the grid, against the search
//       procedure's own time;
//   (b) its record window's load (row into the fields, snapshot) against the one-row query it
//       runs, with the whole opening (the window's construction included) printed beside it.
// Prints each ratio beside its target; never fails on a missed target.

#include "BenchTiming.h"
#include "core/Connection.h"
#include "form_framework/DataWindow.h"
#include "core/Database.h"
#include "form_framework/FormRegistry.h"
#include "list_controls/ListProcedures.h"
#include "reference_tables/LookupSearchWindow.h"
#include "reference_tables/ReferenceTables.h"
#include "form_framework/WindowList.h"
#include "form_framework/WindowOpening.h"
#include "list_controls/zListView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <limits>

namespace {

constexpr int kRows = 10000;

void line(const char* what, double ours, double baseline, double target)
{
    const double ratio = ours / baseline;
    std::printf("%-58s %10.2f ms %10.2f ms %7.2f   <= %.1f  %s\n", what, ours / 1e6, baseline / 1e6, ratio, target,
                ratio <= target ? "yes" : "NO");
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTemporaryDir folder;
    SetDBConnection(DatabaseConnection::open({ Engine::SQLite, QStringLiteral("(local)"), folder.filePath(QStringLiteral("bench.db")) },
                                             Credentials {}));
    RegisterListControlProcedures();
    RegisterReferenceTableForms();

    DatabaseConnection& connection = *DBConnection();
    connection.beginTransaction();
    for (int i = 0; i < kRows; ++i)
        connection.executeStatement(QStringLiteral("INSERT INTO Case_Statuses (Case_Status_Name, Case_Status_Code) VALUES (?, ?)"),
                                    { QStringLiteral("Status %1").arg(i, 5, 10, QLatin1Char('0')), QStringLiteral("S%1").arg(i) });
    connection.commitTransaction();
    const int someId = GetSQLValue(QStringLiteral("SELECT MIN(Case_Status_ID) FROM Case_Statuses"))->toInt() + kRows / 2;

    std::printf("A lookup table of %d rows on SQLite\n%-58s %13s %13s %7s %8s\n", kRows, "measurement", "ours", "baseline", "ratio",
                "target");

    auto* list = qobject_cast<LookupSearchWindow*>(ShowFormByName(QStringLiteral("frmCaseStatuses")));
    const QString search = list->GetSearchSQL();
    const qint64 procedure = BestOf(5, [&] { connection.execute(search); });
    const qint64 populate = BestOf(5, [&] {
        list->PopulateData();
        QApplication::processEvents();
    });
    if (list->grid()->CountItems() != kRows)
        std::printf("  (the grid shows %d rows, not %d)\n", list->grid()->CountItems(), kRows);
    line("(a) Populate to rows shown / the search procedure", double(populate), double(procedure), 1.5);

    const QString oneRow = QStringLiteral("SELECT * FROM Case_Statuses WHERE Case_Status_ID = %1").arg(someId);
    const qint64 query = BestOf(20, [&] {
        std::unique_ptr<Recordset> rs;
        Act_OpenRecordset(rs, oneRow);
    });
    DataWindow* built = FormRegistry::create(QStringLiteral("frmCaseStatus"));
    const qint64 load = BestOf(20, [&] {
        FormParamDict parameters;
        parameters.add(QStringLiteral("Mode"), 2);
        parameters.add(QStringLiteral("IdentityValue"), someId);
        FormParams::queue(QStringLiteral("frmCaseStatus"), parameters);
        Act_StandardProcessOnLoadMessage(built);
    });
    delete built;
    const qint64 open = BestOf(20, [&] {
        DataWindow* window = OpenFormWithParams(QStringLiteral("frmCaseStatus"), someId,
                                                { QStringLiteral("Mode"), 2, QStringLiteral("IdentityValue"), someId });
        UnloadWindow(window);
        QApplication::processEvents();
    });
    line("(b) record window load (row, fields, snapshot) / its query", double(load), double(query), 2.0);
    std::printf("    the whole opening with the window's construction: %.2f ms (%.1fx the query)\n", double(open) / 1e6,
                double(open) / double(query));

    for (QWidget* window : LoadedWindows())
        UnloadWindow(window);
    CloseConnection();
    return 0;
}
