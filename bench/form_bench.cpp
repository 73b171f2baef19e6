// What the window framework costs over the database work it wraps, on an embedded database
// without disk sync (so the statement is CPU work, not a wait for the disk):
//   (a) the data-changed broadcast that follows a save, to search windows whose real result
//       grids show 10,000 and 100,000 rows, unsorted and sorted by a text column: a new row,
//       a rewritten row whose sort key changed, and a deleted row, each against the save's own
//       statement; the cost per open window is the pair's difference over the windows;
//   (b) opening a record window of 20 fields in edit mode (load of its row into the fields,
//       snapshot), against the one-row query it runs.
// "--smoke" runs tiny sizes to the end; "--rows N" one grid size only. Prints each figure beside its target; never
// fails.

#include "BenchFixture.h"
#include "core/Connection.h"
#include "core/Database.h"
#include "core/ProcedureCatalogue.h"
#include "form_framework/DataWindow.h"
#include "form_framework/FormRegistry.h"
#include "form_framework/FormSnapshot.h"
#include "form_framework/WindowList.h"
#include "form_framework/WindowOpening.h"
#include "form_framework/zButtonsAddEdit.h"
#include "form_framework/zIdentity.h"
#include "form_framework/zInfo.h"
#include "form_framework/zText.h"
#include "list_controls/ListProcedures.h"
#include "list_controls/ResultTableModel.h"
#include "list_controls/zListView.h"

#include <QApplication>
#include <QGridLayout>
#include <QTableView>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr int kFields = 20;

QString fieldName(int i)
{
    return QStringLiteral("Field_%1").arg(i, 2, 10, QLatin1Char('0'));
}

// A record window of twenty text fields over BenchRecords.
class frmBenchRecord : public DataWindow {
public:
    frmBenchRecord()
        : DataWindow(QStringLiteral("frmBenchRecord"))
    {
        auto* layout = new QGridLayout(this);
        auto* id = new zIdentity(this);
        id->setDBFieldName(QStringLiteral("Bench_Record_ID"));
        layout->addWidget(id, 0, 0);
        for (int i = 0; i < kFields; ++i) {
            auto* field = new zText(this);
            field->setObjectName(QStringLiteral("ztxt%1").arg(i));
            field->setDBFieldName(fieldName(i));
            field->setGoodName(fieldName(i));
            layout->addWidget(field, 1 + i / 2, i % 2);
            m_fields.push_back(field);
        }
        layout->addWidget(new zButtonsAddEdit(this), 1 + kFields / 2, 0, 1, 2);
        zInfo* z = info();
        z->setFormType(FormType::Record);
        z->setFormCaption(QStringLiteral("Bench Record"));
        z->setMainTableName(QStringLiteral("BenchRecords"));
        z->setIdentityField(QStringLiteral("Bench_Record_ID"));
    }
    bool CheckFieldsProcedure() override { return true; }
    bool ActPopulateFormEditProcedure() override
    {
        std::unique_ptr<Recordset> rs;
        if (!Act_OpenRecordset(rs, info()->SearchSQL() + info()->Identity()) || rs->eof())
            return false;
        for (int i = 0; i < kFields; ++i)
            m_fields[static_cast<size_t>(i)]->setValue(rs->value(fieldName(i)));
        return true;
    }
    bool Act_LoadForm() override
    {
        const bool result = Act_StandardProcessOnLoadMessage(this);
        info()->setDataChanged(false);
        return result;
    }

private:
    std::vector<zText*> m_fields;
};

// The search window of BenchRecords with the real result grid.
class frmBenchRecords : public DataWindow {
public:
    frmBenchRecords()
        : DataWindow(QStringLiteral("frmBenchRecords"))
    {
        auto* layout = new QVBoxLayout(this);
        grid = new zListView(this);
        layout->addWidget(grid);
        zInfo* z = info();
        z->setFormType(FormType::Search);
        z->setMode(FormMode::SearchList);
        z->setFormCaption(QStringLiteral("Bench Record"));
        z->setMainTableName(QStringLiteral("BenchRecords"));
        z->setIdentityField(QStringLiteral("Bench_Record_ID"));
        z->setSearchSQL(QStringLiteral("EXEC usp_Bench_Records_Search"));
        z->setSearchSQLOne(QStringLiteral("EXEC usp_Bench_Records_One"));
        resize(900, 600);
    }
    zListView* grid;
};

// Pseudo-random names, so a new or rewritten row lands anywhere in a sorted grid.
QString nameFor(quint32 n)
{
    const quint32 mixed = (n * 2654435761U) ^ (n >> 7);
    return QStringLiteral("Item %1").arg(mixed % 1000000U, 6, 10, QLatin1Char('0'));
}

// Least and median cost per window: each pair's difference over the windows, in microseconds.
void perWindowLine(const char* what, const PairedTimes& times, int windows, double targetUs)
{
    std::vector<double> each;
    for (size_t i = 0; i < times.baseline.size() && i < times.measured.size(); ++i)
        each.push_back(static_cast<double>(times.measured[i] - times.baseline[i]) / windows / 1000.0);
    const double least = each.empty() ? 0.0 : *std::min_element(each.begin(), each.end());
    const double median = MedianOf(each);
    std::printf("%-40s %10.2f %10.2f %8.2f  %s\n", what, least, median, targetUs, median <= targetUs ? "yes" : "no");
}

struct Sizes {
    std::vector<int> rows;
    int windows;
    int repeats;
};

// What the grids' next paint needs first: the deferred layout of the rows, if a change left one.
void settle(const std::vector<frmBenchRecords*>& windows)
{
    for (frmBenchRecords* window : windows) {
        const QTableView* view = window->grid->listView();
        const QModelIndex current = view->currentIndex();
        view->visualRect(current.isValid() ? current : window->grid->model()->index(0, 0));
    }
}

void broadcastBench(int rows, bool sorted, const Sizes& sizes, quint32& seed)
{
    DatabaseConnection& connection = *DBConnection();
    connection.executeStatement(QStringLiteral("DELETE FROM BenchRecords"));
    connection.executeStatement(
        QStringLiteral("INSERT INTO BenchRecords (Bench_Record_ID, Name, Amount) WITH RECURSIVE s(n) AS (SELECT 1 UNION ALL SELECT n + 1 "
                       "FROM s WHERE n < %1) SELECT n, 'Item ' || substr('000000' || ((n * 7919) % 1000000), -6), n * 0.25 FROM s")
            .arg(rows));
    std::vector<frmBenchRecords*> windows;
    for (int w = 0; w < sizes.windows; ++w) {
        auto* window = static_cast<frmBenchRecords*>(LoadFormByName(QStringLiteral("frmBenchRecords")));
        window->grid->setPopulateSQL(window->info()->SearchSQL());
        window->grid->Populate();
        if (sorted)
            window->grid->SortByColumn(window->grid->model()->columnIndex(QStringLiteral("Name")));
        // Loaded, not painted: what is timed is the grids' own work. Painting and scrolling the
        // pixels of a shown window cost the same whatever the number of rows.
        window->hide();
        windows.push_back(window);
    }
    QApplication::processEvents();

    const QString insert = QStringLiteral("INSERT INTO BenchRecords(Name, Amount)\r\nVALUES('%1', 12.5)\r\nRETURNING Bench_Record_ID");
    std::vector<int> shown;
    std::vector<int> notShown;
    const PairedTimes added = Interleaved(
        sizes.repeats, [&] { notShown.push_back(GetSQLValue(insert.arg(nameFor(++seed)))->toInt()); },
        [&] {
            const int id = GetSQLValue(insert.arg(nameFor(++seed)))->toInt();
            BroadcastDataChanged(DataChangedAction::Added, QStringLiteral("BenchRecords"), QString::number(id));
            settle(windows);
            shown.push_back(id);
        });

    const QString update = QStringLiteral("UPDATE BenchRecords\r\nSET Name = '%1'\r\nWHERE Bench_Record_ID = %2\r\nRETURNING 0 AS Error");
    const PairedTimes rewritten = Interleaved(
        sizes.repeats,
        [&] {
            const int id = static_cast<int>(1 + (seed * 17U) % static_cast<quint32>(rows));
            GetSQLValue(update.arg(nameFor(++seed)).arg(id));
        },
        [&] {
            const int id = static_cast<int>(1 + (seed * 31U) % static_cast<quint32>(rows));
            GetSQLValue(update.arg(nameFor(++seed)).arg(id));
            BroadcastDataChanged(DataChangedAction::Updated, QStringLiteral("BenchRecords"), QString::number(id));
            settle(windows);
        });

    const QString remove = QStringLiteral("DELETE FROM BenchRecords WHERE Bench_Record_ID = %1");
    size_t removedShown = 0;
    size_t removedOther = 0;
    const PairedTimes deleted = Interleaved(
        std::min(sizes.repeats, static_cast<int>(shown.size())) - 1,
        [&] { connection.executeStatement(remove.arg(notShown.at(removedOther++ % notShown.size()))); },
        [&] {
            const int id = shown.at(removedShown++);
            connection.executeStatement(remove.arg(id));
            BroadcastDataChanged(DataChangedAction::Deleted, QStringLiteral("BenchRecords"), QString::number(id));
            settle(windows);
        });

    for (frmBenchRecords* window : windows) {
        if (window->grid->CountItems() != rows + static_cast<int>(shown.size() - removedShown))
            std::printf("  (a grid shows %d rows, not %d)\n", window->grid->CountItems(), rows + static_cast<int>(shown.size() - removedShown));
    }
    const QByteArray label = QStringLiteral("%1 rows, %2").arg(rows).arg(sorted ? QStringLiteral("sorted") : QStringLiteral("unsorted")).toUtf8();
    const double target = rows <= 10000 ? 50.0 : 200.0;
    std::printf("%s, %d windows\n", label.constData(), sizes.windows);
    PrintRatioLine("  new row: save + broadcast / save", added, 1, 0);
    perWindowLine("    per window, us", added, sizes.windows, target);
    PrintRatioLine("  rewrite: save + broadcast / save", rewritten, 1, 0);
    perWindowLine("    per window, us", rewritten, sizes.windows, target);
    PrintRatioLine("  delete: save + broadcast / save", deleted, 1, 0);
    perWindowLine("    per window, us", deleted, sizes.windows, target);
    std::fflush(stdout);
    for (frmBenchRecords* window : windows)
        UnloadWindow(window);
    QApplication::processEvents();
}

} // namespace

int main(int argc, char* argv[])
{
    const BenchSession session(argc, argv, { RegisterListControlProcedures });
    const bool smoke = session.smoke();
    Sizes sizes = smoke ? Sizes { { 200 }, 2, 3 } : Sizes { { 10000, 100000 }, 4, 41 };
    // "--rows N": that one grid size only.
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--rows") == 0 && std::atoi(argv[i + 1]) > 0)
            sizes.rows = { std::atoi(argv[i + 1]) };
    }
    DBConnection()->executeStatement(QStringLiteral("PRAGMA synchronous=OFF"));

    QStringList columns;
    for (int i = 0; i < kFields; ++i)
        columns << fieldName(i) + QStringLiteral(" TEXT");
    DBConnection()->executeStatement(
        QStringLiteral("CREATE TABLE BenchRecords (Bench_Record_ID INTEGER PRIMARY KEY AUTOINCREMENT, Name TEXT, Amount REAL, %1)")
            .arg(columns.join(QStringLiteral(", "))));
    ProcedureCatalogue::instance().registerProcedure(ProcedureCatalogue::parse(
        QStringLiteral("usp_Bench_Records_Search"),
        QStringLiteral("SELECT Bench_Record_ID, Name AS \"Name\", Amount AS \"Amount\", Field_00 AS \"Field_00\" FROM BenchRecords"), {}, {}));
    ProcedureCatalogue::instance().registerProcedure(ProcedureCatalogue::parse(
        QStringLiteral("usp_Bench_Records_One"),
        QStringLiteral("-- @param Bench_Record_ID integer\nSELECT Bench_Record_ID, Name AS \"Name\", Amount AS \"Amount\", Field_00 AS "
                       "\"Field_00\" FROM BenchRecords WHERE Bench_Record_ID = :Bench_Record_ID"),
        {}, {}));
    FormRegistry::registerForm(QStringLiteral("frmBenchRecord"), [] { return new frmBenchRecord; });
    FormRegistry::registerForm(QStringLiteral("frmBenchRecords"), [] { return new frmBenchRecords; });

    // Everything here, the embedded engine too, runs on this thread: its CPU time is what is timed.
    CurrentBenchClock() = BenchClock::ThreadCpu;
    std::printf("Window framework on SQLite (synchronous=OFF), CPU time of the thread\n");
    std::printf("%-40s %10s %10s %8s %8s\n", "(a) data-changed broadcast", "us", "save us", "min", "median");
    std::printf("%-40s %10s %10s %8s  %s\n", "", "min", "median", "target", "met");
    quint32 seed = 1;
    for (const int rows : sizes.rows) {
        broadcastBench(rows, false, sizes, seed);
        broadcastBench(rows, true, sizes, seed);
    }

    // (b) The framework's own part of an opening: the load of the row into the twenty fields and
    // the snapshot, on a window already built, against the one-row query.
    const QString insert = QStringLiteral("INSERT INTO BenchRecords(Name) VALUES('record') RETURNING Bench_Record_ID");
    const int first = GetSQLValue(insert)->toInt();
    const QString oneRow = QStringLiteral("SELECT * FROM BenchRecords WHERE Bench_Record_ID = %1").arg(first);
    DataWindow* built = FormRegistry::create(QStringLiteral("frmBenchRecord"));
    const PairedTimes load = Interleaved(
        smoke ? 3 : 41, [&] { GetSQLValue(oneRow); },
        [&] { LoadForEdit(built, first); });
    delete built;
    std::printf("\n");
    PrintRatioHeader("us");
    PrintRatioLine("(b) record window load / its query", load, 1, 2.0);
    return 0;
}
