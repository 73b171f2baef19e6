// A property room of real size, and every clerk's step timed on it as the program runs it. At
// scale 1 ("L") the room holds 200,000 cases of 5 items each, 3,000,000 item actions (half
// transfers, half storage), 50,000 people, 500 employees, 1,110 locations (10 rooms, 100 shelves,
// 1,000 bins), 5,000 batches with 50,000 batch items and 4,200,000 change-log rows over ten years;
// every count is multiplied by the scale. The database is made by the program's own migrations and
// loaded with INSERT ... SELECT over a number series (the change-log triggers set aside while
// loading and put back), then closed and opened again as a clerk's program would find it.
//
// Each step (the search window's Populate by one case and with <All>, frmItem and the items search
// opened, 1,000 scanned codes resolved, the Database Changes report of one day, one record's
// history) is interleaved with the direct indexed query of the same rows; the least and median
// ratio are printed beside the target. With several scales, each step's growth from the first
// scale to the last is printed after them and judged too: a step whose rows do not grow against
// its best time at the first scale (1.5x; 1.2x for frmItem for edit and the items search
// opened), a step whose rows grow with the room (the <All> search, the case list and the first
// opening that reads it, the report of one day) against the growth of its direct query (1.5x).
// A step with no query of its own to compare with (the items search opened) is judged by its
// growth alone. Never fails on a missed target.
//
//   large_room_bench [--scale F[,F...]] [--repeats N] [--engine sqlite|postgresql|both] [--grid-only] [--smoke]
//
// "--grid-only" builds the room and measures only the memory a grid of 100,000 items holds.
//
// The default is "--scale 0.1,1" (S then L) on SQLite, and on PostgreSQL too when PGHOST and
// PGPORT name a cluster (see scripts/pg-cluster.sh). "--smoke" builds two tiny rooms.

#include "BenchCluster.h"
#include "BenchFixture.h"
#include "cases/CaseProcedures.h"
#include "cases/CaseWindows.h"
#include "core/Connection.h"
#include "core/Database.h"
#include "core/LoginAdministration.h"
#include "core/Platform.h"
#include "core/RecordCodes.h"
#include "core/Recordset.h"
#include "core/Schema.h"
#include "custody/BarcodeWindows.h"
#include "custody/CustodyWindows.h"
#include "form_framework/WindowList.h"
#include "form_framework/WindowOpening.h"
#include "list_controls/ListProcedures.h"
#include "list_controls/ResultTableModel.h"
#include "list_controls/SharedPickerLists.h"
#include "list_controls/zComboBoxText.h"
#include "list_controls/zListView.h"
#include "declared_windows/DeclaredSearchWindow.h"
#include "reference_tables/ReferenceTables.h"

#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QPushButton>
#include <QElapsedTimer>
#include <QTreeWidget>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <malloc.h>
#include <map>
#include <stdexcept>
#include <string>

namespace {

class SilentPrompt final : public Prompt {
public:
    int messageBox(const QString&, int, const QString&) override { return 1; }
    void beep() override { }
};

// The counts of a room at one scale.
struct Room {
    double scale = 1.0;
    int cases = 0, items = 0, actions = 0, people = 0, employees = 0;
    int rooms = 0, shelves = 0, bins = 0, batches = 0, batchItems = 0, changes = 0;

    explicit Room(double f)
        : scale(f)
    {
        auto n = [f](double full) { return std::max(1, static_cast<int>(std::lround(full * f))); };
        cases = n(200000);
        items = 5 * cases;
        actions = n(3000000);
        people = n(50000);
        employees = n(500);
        rooms = n(10);
        shelves = n(100);
        bins = n(1000);
        batches = n(5000);
        batchItems = n(50000);
        changes = n(4200000);
    }
    int locations() const { return rooms + shelves + bins; }
};

// What the load writes differently on each engine: a number series, a numbered code, a time
// within the room's ten years.
struct Dialect {
    bool postgres = false;
    QString series(qint64 count) const
    {
        return postgres ? QStringLiteral("generate_series(1::bigint, %1) AS s(n)").arg(count)
                        : QStringLiteral("(WITH RECURSIVE s(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM s WHERE n < %1) "
                                         "SELECT n FROM s) s")
                              .arg(count);
    }
    QString code(const QString& prefix, const QString& number, int width) const
    {
        return postgres ? QStringLiteral("'%1' || lpad((%2)::text, %3, '0')").arg(prefix, number).arg(width)
                        : QStringLiteral("printf('") + prefix + QStringLiteral("%0") + QString::number(width)
                + QStringLiteral("d', ") + number + QLatin1Char(')');
    }
    // `seconds` after the first of January 2015.
    QString time(const QString& seconds) const
    {
        return postgres ? QStringLiteral("(timestamp '2015-01-01' + (%1) * interval '1 second')").arg(seconds)
                        : QStringLiteral("datetime('2015-01-01', '+' || (%1) || ' seconds')").arg(seconds);
    }
};

constexpr qint64 kTenYears = 3650LL * 86400;

void run(DatabaseConnection& connection, const QString& sql) { connection.executeStatement(sql); }

void loadRoom(DatabaseConnection& db, const Room& room, const Dialect& d)
{
    auto at = [](qint64 count) { return QString::number(count); };
    FillCaseClasses(db);
    run(db, QStringLiteral("INSERT INTO Item_Statuses (Item_Status_Name, Item_Status_Code) VALUES ('Stored', 'ST')"));
    run(db, QStringLiteral("INSERT INTO Property_Types (Property_Type_Name, Property_Type_Code, Days_Until_Review, "
                           "Currency_Applicable) VALUES ('Bicycle', 'BI', 30, 0)"));
    run(db, QStringLiteral("INSERT INTO Item_Action_Types (Item_Action_Type_Name_Present, Item_Action_Type_Name_Past, "
                           "Item_Action_Type_Code, Item_Action_Time_ID, Related_DB_Table_ID) "
                           "SELECT 'Transfer', 'Transferred', 'TRANS', 2, DB_Table_ID FROM DB_Tables "
                           "WHERE DB_Table_Name = 'Item_Transfers'"));
    run(db, QStringLiteral("INSERT INTO Item_Action_Types (Item_Action_Type_Name_Present, Item_Action_Type_Name_Past, "
                           "Item_Action_Type_Code, Item_Action_Time_ID, Related_DB_Table_ID) "
                           "SELECT 'Store', 'Stored', 'STORE', 2, DB_Table_ID FROM DB_Tables "
                           "WHERE DB_Table_Name = 'Item_Locations'"));
    run(db, QStringLiteral("INSERT INTO People (First_Name, Last_Name) SELECT 'First ' || n, 'Last ' || n FROM %1")
                .arg(d.series(room.people)));
    run(db, QStringLiteral("INSERT INTO Employees (Payroll_Number, Person_ID) SELECT %1, n FROM %2")
                .arg(d.code(QStringLiteral("P"), QStringLiteral("n"), 5), d.series(std::min(room.employees, room.people))));
    // Rooms, then shelves in the rooms, then bins on the shelves.
    run(db, QStringLiteral("INSERT INTO Locations (Location_Name, Location_Code) SELECT 'Room ' || n, %1 FROM %2")
                .arg(d.code(QStringLiteral("R"), QStringLiteral("n"), 3), d.series(room.rooms)));
    run(db, QStringLiteral("INSERT INTO Locations (Location_Name, Location_Code, Parent_Location_ID) "
                           "SELECT 'Shelf ' || n, %1, 1 + (n - 1) % %2 FROM %3")
                .arg(d.code(QStringLiteral("S"), QStringLiteral("n"), 4), at(room.rooms), d.series(room.shelves)));
    run(db, QStringLiteral("INSERT INTO Locations (Location_Name, Location_Code, Parent_Location_ID) "
                           "SELECT 'Bin ' || n, %1, %2 + 1 + (n - 1) % %3 FROM %4")
                .arg(d.code(QStringLiteral("B"), QStringLiteral("n"), 5), at(room.rooms), at(room.shelves),
                    d.series(room.bins)));
    run(db, QStringLiteral("INSERT INTO Cases (Case_Date_Time, Case_Number, Crime_Class_ID, Felony_Class_ID, "
                           "Default_Property_Category_ID, Default_Submitting_Employee_ID) "
                           "SELECT %1, %2, 1, 1, 1, 1 + n % %3 FROM %4")
                .arg(d.time(QStringLiteral("n * %1 + n % 3600").arg(kTenYears / room.cases)),
                    d.code(QStringLiteral("N-"), QStringLiteral("n"), 7), at(room.employees), d.series(room.cases)));
    run(db, QStringLiteral("INSERT INTO Items (Case_ID, Item_Number, Item_Status_ID, Item_Description, Property_Type_ID) "
                           "SELECT 1 + (n - 1) / 5, %1, 1, 'Item ' || n || ' of the room', 1 FROM %2")
                .arg(d.code(QStringLiteral("I-"), QStringLiteral("n"), 8), d.series(room.items)));
    run(db, QStringLiteral("INSERT INTO Item_Actions (Item_ID, Item_Action_Type_ID, Performed_By_Employee_ID, "
                           "Item_Action_Date_Time, Item_Action_Description) "
                           "SELECT 1 + (n - 1) % %1, 1 + n % 2, 1 + n % %2, %3, 'Moved' FROM %4")
                .arg(at(room.items), at(room.employees),
                    d.time(QStringLiteral("n * %1").arg(std::max<qint64>(1, kTenYears / room.actions))),
                    d.series(room.actions)));
    const qint64 firstBin = room.rooms + room.shelves + 1;
    run(db, QStringLiteral("INSERT INTO Item_Transfers (Item_Action_ID, From_Location_ID, To_Location_ID, "
                           "From_Employee_ID, To_Employee_ID) "
                           "SELECT Item_Action_ID, %1 + Item_Action_ID % %2, %1 + (Item_Action_ID + 7) % %2, "
                           "Performed_By_Employee_ID, Performed_By_Employee_ID FROM Item_Actions "
                           "WHERE Item_Action_Type_ID = 1")
                .arg(at(firstBin), at(room.bins)));
    run(db, QStringLiteral("INSERT INTO Item_Locations (Item_Action_ID, Location_ID) "
                           "SELECT Item_Action_ID, %1 + Item_Action_ID % %2 FROM Item_Actions "
                           "WHERE Item_Action_Type_ID = 2")
                .arg(at(firstBin), at(room.bins)));
    run(db, QStringLiteral("INSERT INTO Batches (Batch_Number, Created_Date_Time, Created_By_Employee_ID, Batch_Type_ID) "
                           "SELECT %1, %2, 1 + n % %3, 1 FROM %4")
                .arg(d.code(QStringLiteral("B-"), QStringLiteral("n"), 6),
                    d.time(QStringLiteral("n * %1").arg(kTenYears / room.batches)), at(room.employees),
                    d.series(room.batches)));
    run(db, QStringLiteral("INSERT INTO Batch_Items (Batch_ID, Item_ID) SELECT 1 + (n - 1) % %1, 1 + (n * 13) % %2 "
                           "FROM %3")
                .arg(at(room.batches), at(room.items), d.series(room.batchItems)));
    // Ten years of the log in time order, of the tables the clerks write most.
    run(db, QStringLiteral("INSERT INTO DB_Change_Log (DB_Table_Name, DB_PK, DB_Operation, DB_Login_Name, "
                           "DB_Host_Name, DB_App_Name, DB_Change_Time, DB_Old_Values, DB_New_Values) "
                           "SELECT CASE n % 3 WHEN 0 THEN 'Items' WHEN 1 THEN 'Cases' ELSE 'Item_Actions' END, "
                           "1 + n % %1, CASE WHEN n % 4 = 0 THEN 'INSERT' ELSE 'UPDATE' END, 'clerk' || (n % 50), "
                           "'desk' || (n % 20), 'Bramblecot_Main', %2, "
                           "CASE WHEN n % 4 = 0 THEN NULL ELSE '{\"Item_Status_ID\": 1}' END, "
                           "'{\"Item_Status_ID\": 2, \"Item_Description\": \"Item ' || n || ' of the room\"}' FROM %3")
                .arg(at(room.cases), d.time(QStringLiteral("n * %1 / %2").arg(kTenYears).arg(room.changes)),
                    d.series(room.changes)));
}

// The tables the load writes, whose per-row triggers are set aside meanwhile.
const QStringList& loadedTables()
{
    static const QStringList tables { QStringLiteral("People"), QStringLiteral("Employees"),
        QStringLiteral("Locations"), QStringLiteral("Cases"), QStringLiteral("Items"), QStringLiteral("Item_Actions"),
        QStringLiteral("Item_Transfers"), QStringLiteral("Item_Locations"), QStringLiteral("Batches"),
        QStringLiteral("Batch_Items"), QStringLiteral("Crime_Classes"), QStringLiteral("Felony_Classes"),
        QStringLiteral("Property_Categories"), QStringLiteral("Item_Statuses"), QStringLiteral("Property_Types"),
        QStringLiteral("Item_Action_Types") };
    return tables;
}

void loadSqlite(DatabaseConnection& db, const Room& room)
{
    // The triggers as the migrations made them, dropped for the load and made again after it.
    std::unique_ptr<Recordset> triggers;
    {
        Recordset rows = db.executeStatement(QStringLiteral("SELECT name, sql FROM sqlite_master WHERE type = 'trigger'"));
        triggers = std::make_unique<Recordset>(std::move(rows));
    }
    QStringList made;
    for (int row = 0; row < triggers->recordCount(); ++row) {
        run(db, QStringLiteral("DROP TRIGGER ") + triggers->valueAt(row, 0).toString());
        made << triggers->valueAt(row, 1).toString();
    }
    db.beginTransaction();
    loadRoom(db, room, Dialect { false });
    for (const QString& sql : made)
        run(db, sql);
    db.commitTransaction();
}

void loadPostgres(DatabaseConnection& db, const Room& room)
{
    for (const QString& table : loadedTables())
        run(db, QStringLiteral("ALTER TABLE %1 DISABLE TRIGGER USER").arg(table));
    loadRoom(db, room, Dialect { true });
    for (const QString& table : loadedTables())
        run(db, QStringLiteral("ALTER TABLE %1 ENABLE TRIGGER USER").arg(table));
    // A room in use has its statistics from the server's own maintenance.
    run(db, QStringLiteral("VACUUM ANALYZE"));
}

qint64 residentKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return 0;
}

// How a step's growth from the first scale to the last is judged: its own growth where its rows do
// not grow with the room, else its growth over that of its direct query (the same rows).
struct GrowthTarget {
    double limit = 1.5;
    bool rowsGrow = false;
};
constexpr GrowthTarget kSameRows { 1.5, false };
constexpr GrowthTarget kRowsGrow { 1.5, true };

// The best times of each step at each scale, for the growth table.
struct StepTimes {
    GrowthTarget target;
    std::map<double, std::pair<double, double>> best; // scale -> (measured, baseline) ns
};
std::map<std::string, StepTimes> gBest;

// One line of the table at a scale. A step with no query of its own to compare with (`target` 0)
// is judged by its growth in the table after the scales.
void report(const char* engine, const Room& room, const char* step, const PairedTimes& times, double target,
            GrowthTarget growth)
{
    if (target > 0) {
        PrintRatioLine(step, times, 1000, target);
    } else {
        std::printf("%-40s %10.2f %10.2f %8.3f %8.3f %8s  %s\n", step, times.bestMeasuredNs() / 1e6,
            times.bestBaselineNs() / 1e6, times.minRatio(), times.medianRatio(), "-", "(by its growth)");
    }
    StepTimes& kept = gBest[std::string(engine) + " | " + step];
    kept.target = growth;
    kept.best[room.scale] = { times.bestMeasuredNs(), times.bestBaselineNs() };
}

void setCaseCriterion(DeclaredSearchWindow* search, int caseID)
{
    auto* picker = search->findChild<zComboBoxText*>(QStringLiteral("zcbtCase"));
    if (!picker)
        throw std::runtime_error("the items search has no case criterion");
    picker->setValue(caseID);
    QApplication::processEvents();
}

void measureGridMemory(const Room& room);

void timeSteps(const char* engine, const Room& room, int repeats, bool smoke)
{
    std::printf("\n%s, scale %g: %d cases, %d items, %d item actions, %d people, %d employees, %d locations, "
                "%d batches, %d batch items, %d change-log rows; %d interleaved pairs\n",
        engine, room.scale, room.cases, room.items, room.actions, room.people, room.employees, room.locations(),
        room.batches, room.batchItems, room.changes, repeats);
    PrintRatioHeader("ms/run");
    const int caseID = room.cases / 2 + 1;
    const int itemID = (caseID - 1) * 5 + 1;

    // The items search, by one case and with <All>.
    auto* search = qobject_cast<DeclaredSearchWindow*>(ShowFormByName(QStringLiteral("frmItems")));
    if (!search)
        throw std::runtime_error("the items search did not open");
    QApplication::processEvents();
    const QString byCase = QStringLiteral(
        "SELECT i.Item_ID AS \"Item_ID\", i.Item_Number AS \"Item Number\", c.Case_Number AS \"Case Number\", "
        "c.Case_Date_Time AS \"Case Date & Time\", s.Item_Status_Name AS \"Item Status\", "
        "t.Property_Type_Name AS \"Property Type\", i.Item_Description AS \"Description\" "
        "FROM Items i JOIN Cases c ON c.Case_ID = i.Case_ID "
        "LEFT JOIN Item_Statuses s ON s.Item_Status_ID = i.Item_Status_ID "
        "LEFT JOIN Property_Types t ON t.Property_Type_ID = i.Property_Type_ID "
        "WHERE i.Case_ID = %1 ORDER BY c.Case_Date_Time DESC, i.Item_Number, i.Item_ID")
                                 .arg(caseID);
    setCaseCriterion(search, caseID);
    report(engine, room, "items search by one case / indexed query",
        Interleaved(
            repeats * 3, [&] { ReadAll(byCase); },
            [&] {
                search->populateButton()->click();
                QApplication::processEvents();
            }),
        2.0, kSameRows);
    report(engine, room, "items procedure by one case / indexed query",
        Interleaved(
            repeats * 3, [&] { ReadAll(byCase); },
            [&] { ReadAll(QStringLiteral("EXEC usp_Evd_Search_Items_All @Case_ID = %1").arg(caseID)); }),
        2.0, kSameRows);
    if (search->grid()->CountItems() != 5)
        std::printf("  (the search showed %d rows, not 5)\n", search->grid()->CountItems());
    setCaseCriterion(search, 0);
    report(engine, room, "items search <All> / its procedure",
        Interleaved(
            std::max(1, repeats / 3), [&] { ReadAll(QStringLiteral("EXEC usp_Evd_Search_Items_All")); },
            [&] {
                search->populateButton()->click();
                QApplication::processEvents();
            }),
        1.5, kRowsGrow);
    UnloadWindow(search);
    QApplication::processEvents();

    // frmItem for edit, and the items search opened, against the one-row and short-list queries
    // of what they show (the case list read once before).
    const QStringList smallLists { QStringLiteral("EXEC usp_Evd_DropDown_Item_Statuses"),
        QStringLiteral("EXEC usp_Evd_DropDown_Property_Categories"),
        QStringLiteral("EXEC usp_Evd_DropDown_Property_Types"), QStringLiteral("EXEC usp_Evd_DropDown_Item_Models"),
        QStringLiteral("EXEC usp_Evd_DropDown_Colors_Items"), QStringLiteral("EXEC usp_Evd_DropDown_Warning_Types"),
        QStringLiteral("EXEC usp_Evd_DropDown_Currency_Types"),
        QStringLiteral("EXEC usp_Evd_DropDown_Units @Unit_Type_Code = 'W'") };
    QStringList rowQueries = smallLists;
    rowQueries << QStringLiteral("SELECT * FROM Items WHERE Item_ID = %1").arg(itemID)
               << QStringLiteral("SELECT Case_ID, Case_Number FROM Cases WHERE Case_ID = %1").arg(caseID)
               << QStringLiteral("SELECT * FROM Property_Types WHERE Property_Type_ID = 1");
    QStringList withCaseList = rowQueries;
    withCaseList << QStringLiteral("EXEC usp_Evd_DropDown_Cases");
    report(engine, room, "frmItem first opening / with the case list",
        Interleaved(
            repeats, [&] { ReadAll(withCaseList); },
            [&] {
                SharedPickerLists::clear();
                OpenForEditAndClose(QStringLiteral("frmItem"), itemID, true);
            }),
        1.5, kRowsGrow);
    // Openings of a few ms, judged to 1.2x from S to L: three times the pairs, so their best
    // times are steady on a machine doing other work.
    report(engine, room, "frmItem for edit / its rows and short lists",
        TimeOpenForEdit(repeats * 3, rowQueries, QStringLiteral("frmItem"), itemID), 2.0, GrowthTarget { 1.2, false });
    // Its one picker shows the kept case list: it has no list query of its own.
    report(engine, room, "items search opened / SELECT 1",
        Interleaved(
            repeats * 3, [&] { ReadAll(QStringList { QStringLiteral("SELECT 1") }); },
            [&] {
                QWidget* opened = ShowFormByName(QStringLiteral("frmItems"));
                QApplication::processEvents();
                UnloadWindow(opened);
                QApplication::processEvents();
            }),
        0, GrowthTarget { 1.2, false });
    // The case list's own procedure, which the first opening reads, against the same rows read
    // directly.
    report(engine, room, "case list procedure / its query",
        Interleaved(
            repeats,
            [&] {
                ReadAll(QStringLiteral("SELECT Case_ID, Case_Number FROM Cases "
                                       "ORDER BY Case_Date_Time DESC, Case_ID DESC"));
            },
            [&] { ReadAll(QStringLiteral("EXEC usp_Evd_DropDown_Cases")); }),
        1.5, kRowsGrow);

    // 1,000 scanned codes, an employee and a location code before every eight subjects.
    QStringList scans;
    QStringList lookUps;
    for (int i = 0; scans.size() < 1000; ++i) {
        if (i % 8 == 0) {
            const int employee = 1 + (i * 37) % room.employees;
            const int location = 1 + (i * 53) % room.locations();
            scans << RecordCodeText(QLatin1Char('E'), employee) << RecordCodeText(QLatin1Char('L'), location);
            lookUps << QStringLiteral("SELECT Payroll_Number FROM Employees WHERE Employee_ID = %1").arg(employee)
                    << QStringLiteral("SELECT Location_Name FROM Locations WHERE Location_ID = %1").arg(location);
        }
        const int kind = i % 3;
        const int id = 1 + (i * 7919) % (kind == 0 ? room.cases : (kind == 1 ? room.items : room.batches));
        scans << RecordCodeText(QLatin1Char("CIB"[kind]), id);
        lookUps << QStringLiteral("SELECT %1_Number FROM %2 WHERE %1_ID = %3")
                       .arg(QLatin1String(kind == 0 ? "Case" : (kind == 1 ? "Item" : "Batch")),
                           QLatin1String(kind == 0 ? "Cases" : (kind == 1 ? "Items" : "Batches")))
                       .arg(id);
    }
    auto* barcodes = qobject_cast<frmBarcodes*>(ShowFormByName(QStringLiteral("frmBarcodes")));
    if (!barcodes)
        throw std::runtime_error("the barcode window did not open");
    report(engine, room, "resolve 1,000 codes / one-row look-ups",
        Interleaved(
            repeats,
            [&] {
                for (const QString& sql : lookUps) {
                    std::unique_ptr<Recordset> row = OpenRecordset(sql, false);
                    CloseRecordset(row);
                }
            },
            [&] {
                barcodes->lvwBarcodes->clear();
                for (const QString& scan : scans) {
                    auto* row = new QTreeWidgetItem(barcodes->lvwBarcodes);
                    row->setText(frmBarcodes::BarcodeColumn, scan);
                }
                barcodes->ResolveBarcodes();
            }),
        2.0, kSameRows);
    UnloadWindow(barcodes);
    QApplication::processEvents();

    // The Database Changes report of one day, against the same rows by their identities.
    // Row n of the load was logged n * ten years / rows seconds after the start, in identity order
    // after the rows the program logged itself.
    const qint64 offset = GetSQLValue(QStringLiteral("SELECT MAX(DB_Change_Log_ID) FROM DB_Change_Log"))->toLongLong()
        - room.changes;
    const qint64 dayStart = (room.changes / 2) * kTenYears / room.changes / 86400 * 86400;
    const QString date = QDate(2015, 1, 1).addDays(dayStart / 86400).toString(Qt::ISODate);
    qint64 first = 1;
    while (first * kTenYears / room.changes < dayStart)
        ++first;
    qint64 last = first;
    while ((last + 1) * kTenYears / room.changes < dayStart + 86400)
        ++last;
    first += offset;
    last += offset;
    const QString columns = QStringLiteral(
        "SELECT c.DB_Change_Time AS \"Date/Time\", c.DB_Table_Name AS \"Table\", c.DB_PK AS \"Record ID\", "
        "c.DB_Operation AS \"Operation\", c.DB_Login_Name AS \"User\", c.DB_Host_Name AS \"Host\", "
        "c.DB_App_Name AS \"Program\", c.DB_Old_Values AS \"Old Values\", c.DB_New_Values AS \"New Values\" "
        "FROM DB_Change_Log c ");
    const QString byIdentity = columns
        + QStringLiteral("WHERE c.DB_Change_Log_ID BETWEEN %1 AND %2 ORDER BY c.DB_Change_Log_ID DESC")
              .arg(first)
              .arg(last);
    report(engine, room, "Database Changes of one day / by identity",
        Interleaved(
            repeats, [&] { ReadAll(byIdentity); },
            [&] {
                ReadAll(QStringLiteral("EXEC usp_DB_Rep_DB_Changes @Change_Date_From = '%1', @Change_Date_To = '%1'")
                            .arg(date));
            }),
        2.0, kRowsGrow);
    std::printf("  (%lld rows that day)\n", last - first + 1);
    const int recordPK = 1 + (room.cases / 3);
    report(engine, room, "record history of one case / indexed query",
        Interleaved(
            repeats * 3,
            [&] {
                ReadAll(columns
                    + QStringLiteral("WHERE c.DB_Table_Name = 'Cases' AND c.DB_PK = %1 ORDER BY c.DB_Change_Log_ID")
                          .arg(recordPK));
            },
            [&] {
                ReadAll(QStringLiteral("EXEC usp_DB_Search_Record_History @DB_Table_Name = 'Cases', @DB_PK = %1")
                            .arg(recordPK));
            }),
        2.0, kSameRows);
    (void)smoke;
    measureGridMemory(room);
}

void measureGridMemory(const Room& room)
{
    // A grid of 100,000 items (the cases of a tenth of the room's years at L, every case at S): the
    // memory it holds, against the raw size of its values (8 bytes a number or date, a text's
    // UTF-8 bytes).
    const int days = static_cast<int>(std::min<qint64>(3650, 3650LL * 20000 / room.cases));
    const QString from = QStringLiteral("2015-01-01");
    const QString to = QDate(2015, 1, 1).addDays(days - 1).toString(Qt::ISODate);
    const qint64 raw = GetSQLValue(
        QStringLiteral("SELECT SUM(16 + length(i.Item_Number) + length(c.Case_Number) + length(s.Item_Status_Name) "
                       "+ length(t.Property_Type_Name) + length(i.Item_Description)) "
                       "FROM Items i JOIN Cases c ON c.Case_ID = i.Case_ID "
                       "LEFT JOIN Item_Statuses s ON s.Item_Status_ID = i.Item_Status_ID "
                       "LEFT JOIN Property_Types t ON t.Property_Type_ID = i.Property_Type_ID "
                       "WHERE c.Case_Date_Time >= '%1' AND c.Case_Date_Time < '%2'")
            .arg(from, QDate(2015, 1, 1).addDays(days).toString(Qt::ISODate)))
                           ->toLongLong();
    const QString gridSQL
        = QStringLiteral("EXEC usp_Evd_Search_Items_All @Case_Date_From = '%1', @Case_Date_To = '%2'").arg(from, to);
    // Where it goes: the result as read, then the grid model over it (the view is the rest). The
    // grid is shown in a window that was shown before, as a search window's grid is in the main
    // window, so the window's own picture (2 MiB at 900 x 600) is not counted as the grid's. A grid
    // of the same query is filled and shown once before, so the engine's page cache and statement
    // and the view's fonts and glyphs are not counted either.
    QWidget host;
    host.resize(900, 600);
    host.show();
    QApplication::processEvents();
    const auto fillAndShow = [&gridSQL](zListView& grid) {
        grid.setPopulateSQL(gridSQL);
        grid.resize(900, 600);
        grid.show();
        grid.Populate();
        QApplication::processEvents();
    };
    {
        zListView grid(&host);
        fillAndShow(grid);
    }
    double readHeld = 0;
    double modelHeld = 0;
    size_t counted = 0;
    {
        malloc_trim(0);
        const qint64 before = residentKilobytes();
        const std::shared_ptr<const Recordset> result = OpenRecordset(gridSQL);
        malloc_trim(0);
        const qint64 read = residentKilobytes();
        readHeld = static_cast<double>(read - before) * 1024.0;
        counted = result->memoryBytes();
        ResultTableModel model;
        model.buildColumns(*result);
        model.appendRows(result);
        malloc_trim(0);
        modelHeld = static_cast<double>(residentKilobytes() - read) * 1024.0;
    }
    {
        malloc_trim(0);
        const qint64 before = residentKilobytes();
        zListView grid(&host);
        fillAndShow(grid);
        malloc_trim(0);
        const double held = static_cast<double>(residentKilobytes() - before) * 1024.0;
        const double ratio = raw > 0 ? held / static_cast<double>(raw) : 0.0;
        std::printf("%-48s %7.1f MiB %6.1f MiB %8.3f %8.3f %8.2f  %s\n", "grid of items, memory held / raw values",
            held / 1048576.0, static_cast<double>(raw) / 1048576.0, ratio, ratio, 1.5, ratio <= 1.5 ? "yes" : "no");
        std::printf("  (%d rows; the result as read %.1f MiB, of which its values and offsets %.1f MiB; the model "
                    "%.1f MiB; the view and the rest %.1f MiB)\n",
            grid.CountItems(), readHeld / 1048576.0, static_cast<double>(counted) / 1048576.0, modelHeld / 1048576.0,
            (held - readHeld - modelHeld) / 1048576.0);
    }
}

void printGrowth(const std::vector<double>& scales)
{
    if (scales.size() < 2)
        return;
    const double from = scales.front();
    const double to = scales.back();
    std::printf("\nGrowth from scale %g to scale %g (best time at each; judged: the step's growth where its rows "
                "do not grow, else its growth over its query's)\n",
        from, to);
    std::printf("%-62s %10s %10s %8s %8s %8s %8s  %s\n", "engine | step", "ms first", "ms last", "growth", "query",
        "judged", "target", "met");
    for (const auto& [step, kept] : gBest) {
        const auto a = kept.best.find(from);
        const auto b = kept.best.find(to);
        if (a == kept.best.end() || b == kept.best.end() || a->second.first <= 0 || a->second.second <= 0)
            continue;
        const double growth = b->second.first / a->second.first;
        const double queryGrowth = b->second.second / a->second.second;
        const double judged = kept.target.rowsGrow ? growth / queryGrowth : growth;
        std::printf("%-62s %10.2f %10.2f %8.2f %8.2f %8.2f %8.2f  %s\n", step.c_str(), a->second.first / 1e6,
            b->second.first / 1e6, growth, queryGrowth, judged, kept.target.limit,
            judged <= kept.target.limit ? "yes" : "no");
    }
}

QString argumentAfter(int argc, char** argv, const char* name)
{
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], name) == 0)
            return QString::fromLocal8Bit(argv[i + 1]);
    return {};
}

} // namespace

int main(int argc, char* argv[])
{
    BenchSession session(argc, argv);
    Platform::setPrompt(std::make_unique<SilentPrompt>());
    RegisterListControlProcedures();
    RegisterReferenceTableForms();
    RegisterCaseProcedures();
    RegisterCaseWindows();
    RegisterCustodyWindows();
    CloseConnection();

    const bool smoke = IsSmokeRun(argc, argv);
    const bool gridOnly = std::any_of(argv + 1, argv + argc, [](const char* a) { return std::strcmp(a, "--grid-only") == 0; });
    std::vector<double> scales;
    const QString scaleText = argumentAfter(argc, argv, "--scale");
    for (const QString& part : (scaleText.isEmpty() ? QStringLiteral("0.1,1") : scaleText).split(QLatin1Char(',')))
        scales.push_back(part.toDouble());
    // Two tiny rooms, so the growth table is worked out too.
    if (smoke)
        scales = { 0.001, 0.002 };
    const QString repeatText = argumentAfter(argc, argv, "--repeats");
    const int repeats = smoke ? 1 : (repeatText.isEmpty() ? 7 : repeatText.toInt());
    const QString engines = argumentAfter(argc, argv, "--engine").toLower();
    const bool cluster = !qEnvironmentVariableIsEmpty("PGHOST") && !qEnvironmentVariableIsEmpty("PGPORT");
    const bool onSqlite = engines.isEmpty() || engines == QLatin1String("sqlite") || engines == QLatin1String("both");
    const bool onPostgres = cluster && engines != QLatin1String("sqlite");

    try {
        for (const double scale : scales) {
            const Room room(scale);
            if (onSqlite) {
                CurrentBenchClock() = BenchClock::ThreadCpu;
                const ConnectionTarget target { Engine::SQLite, QStringLiteral("(local)"),
                    session.folder().filePath(QStringLiteral("room-%1.db").arg(scale)) };
                QElapsedTimer built;
                built.start();
                {
                    auto owner = DatabaseConnection::open(target, Credentials {});
                    owner->setCommandTimeout(0);
                    loadSqlite(*owner, room);
                }
                std::printf("\nSQLite room at scale %g built in %.1f s\n", scale, static_cast<double>(built.elapsed()) / 1000.0);
                SetDBConnection(DatabaseConnection::open(target, Credentials {}));
                if (gridOnly)
                    measureGridMemory(room);
                else
                    timeSteps("SQLite", room, repeats, smoke);
                for (QWidget* window : LoadedWindows())
                    UnloadWindow(window);
                CloseConnection();
                QFile::remove(target.databaseName);
            }
            if (onPostgres) {
                CurrentBenchClock() = BenchClock::Wall;
                const QString name = QStringLiteral("bramblecot_room_bench_%1").arg(QCoreApplication::applicationPid());
                const QString admin = QStringLiteral("room-bench-cluster-admin");
                ClusterExec(admin, QStringLiteral("CREATE DATABASE %1").arg(name));
                const ConnectionTarget target { Engine::PostgreSQL,
                    qEnvironmentVariable("PGHOST") + QLatin1Char(':') + qEnvironmentVariable("PGPORT"), name };
                try {
                    QElapsedTimer built;
                    built.start();
                    {
                        auto owner = DatabaseConnection::openForUpgrade(target);
                        owner->setCommandTimeout(0);
                        UpgradeSchema(*owner);
                        CreateFirstAdministrator(*owner, owner->loginName(), QString());
                        loadPostgres(*owner, room);
                    }
                    std::printf("\nPostgreSQL room at scale %g built in %.1f s\n", scale,
                        static_cast<double>(built.elapsed()) / 1000.0);
                    SetDBConnection(DatabaseConnection::open(target, Credentials {}));
                    if (gridOnly)
                        measureGridMemory(room);
                    else
                        timeSteps("PostgreSQL", room, repeats, smoke);
                } catch (...) {
                    for (QWidget* window : LoadedWindows())
                        UnloadWindow(window);
                    CloseConnection();
                    ClusterExec(admin, QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
                    throw;
                }
                for (QWidget* window : LoadedWindows())
                    UnloadWindow(window);
                CloseConnection();
                for (const QString& statement : { QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name),
                         QStringLiteral("DROP ROLE IF EXISTS %1_admins").arg(name),
                         QStringLiteral("DROP ROLE IF EXISTS %1_users").arg(name) })
                    ClusterExec(admin, statement);
            }
            std::fflush(stdout);
        }
    } catch (const std::exception& error) {
        std::printf("large_room_bench stopped: %s\n", error.what());
        return 1;
    }
    printGrowth(scales);
    return 0;
}
