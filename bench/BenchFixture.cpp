#include "BenchFixture.h"

#include "core/Connection.h"
#include "core/Database.h"
#include "core/Recordset.h"
#include "form_framework/DataWindow.h"
#include "form_framework/WindowList.h"
#include "form_framework/WindowOpening.h"
#include "list_controls/ListProcedures.h"
#include "list_controls/zListView.h"
#include "declared_windows/DeclaredSearchWindow.h"
#include "reference_tables/ReferenceTables.h"

#include <QPushButton>

#include <cstdio>

namespace {

// Chooses the platform before the application starts, which reads it once.
int& OffscreenUnlessNamed(int& argc)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return argc;
}

} // namespace

void RegisterLookupWindows()
{
    RegisterListControlProcedures();
    RegisterReferenceTableForms();
}

BenchApplication::BenchApplication(int& argc, char** argv, BenchRegistrations registrations)
    : m_application(OffscreenUnlessNamed(argc), argv)
    , m_smoke(IsSmokeRun(argc, argv))
{
    Register(registrations);
}

void BenchApplication::Register(BenchRegistrations registrations)
{
    for (void (*registration)() : registrations)
        registration();
}

BenchSession::BenchSession(int& argc, char** argv, BenchRegistrations registrations)
    : BenchApplication(argc, argv)
{
    SetDBConnection(DatabaseConnection::open(
        { Engine::SQLite, QStringLiteral("(local)"), m_folder.filePath(QStringLiteral("bench.db")) }, Credentials {}));
    Register(registrations);
}

BenchSession::~BenchSession()
{
    for (QWidget* window : LoadedWindows())
        UnloadWindow(window);
    CloseConnection();
}

DatabaseConnection& BenchSession::connection() const { return *DBConnection(); }

std::vector<int> TableSizes(int argc, char** argv, int fullSize)
{
    for (int i = 1; i + 1 < argc; ++i)
        if (QByteArray(argv[i]) == "--rows")
            return { QByteArray(argv[i + 1]).toInt() };
    if (IsSmokeRun(argc, argv))
        return { 0, 1 };
    return { fullSize };
}

void FillCaseClasses(DatabaseConnection& connection)
{
    connection.executeStatement(
        QStringLiteral("INSERT INTO Crime_Classes (Crime_Class_Name, Crime_Class_Code) VALUES ('Burglary', 'BU')"));
    connection.executeStatement(
        QStringLiteral("INSERT INTO Felony_Classes (Felony_Class_Name, Felony_Class_Code) VALUES ('Class A', 'FA')"));
    connection.executeStatement(
        QStringLiteral("INSERT INTO Property_Categories (Property_Category_Name, Property_Category_Code) "
                       "VALUES ('Evidence', 'EV')"));
}

void FillStoreAction(DatabaseConnection& connection)
{
    connection.executeStatement(
        QStringLiteral("INSERT INTO Locations (Location_Name, Location_Code) VALUES ('Room', 'R')"));
    connection.executeStatement(
        QStringLiteral("INSERT INTO Item_Action_Types (Item_Action_Type_Name_Present, Item_Action_Type_Name_Past, "
                       "Item_Action_Type_Code, Item_Action_Time_ID, Related_DB_Table_ID) "
                       "SELECT 'Store', 'Stored', 'STORE', 1, DB_Table_ID FROM DB_Tables "
                       "WHERE DB_Table_Name = 'Item_Locations'"));
}

QString SpreadCaseDateTime(int serial)
{
    return QStringLiteral("20%1-%2-%3 10:00:00")
        .arg(10 + serial % 10)
        .arg(1 + serial % 12, 2, 10, QLatin1Char('0'))
        .arg(1 + serial % 28, 2, 10, QLatin1Char('0'));
}

void InsertCase(DatabaseConnection& connection, int serial, const QString& dateTime)
{
    connection.executeStatement(
        QStringLiteral("INSERT INTO Cases (Case_Date_Time, Case_Number, Crime_Class_ID, Felony_Class_ID, "
                       "Default_Property_Category_ID, Default_Submitting_Employee_ID) VALUES (?, ?, 1, 1, 1, 1)"),
        { dateTime, QStringLiteral("N-%1").arg(serial, 7, 10, QLatin1Char('0')) });
}

void InsertItem(DatabaseConnection& connection, int serial, int caseId)
{
    connection.executeStatement(QStringLiteral("INSERT INTO Items (Case_ID, Item_Number) VALUES (?, ?)"),
        { caseId, QStringLiteral("I-%1").arg(serial, 7, 10, QLatin1Char('0')) });
}

void InsertBatch(DatabaseConnection& connection, int serial)
{
    connection.executeStatement(
        QStringLiteral("INSERT INTO Batches (Batch_Number, Created_Date_Time, Created_By_Employee_ID, "
                       "Batch_Type_ID) VALUES (?, '2020-01-01 10:00:00', 1, 1)"),
        { QStringLiteral("B-%1").arg(serial, 6, 10, QLatin1Char('0')) });
}

void ReadAll(const QString& sql)
{
    std::unique_ptr<Recordset> rows;
    if (!Act_OpenRecordset(rows, sql))
        return;
    while (!rows->eof()) {
        (void)rows->value(0);
        (void)rows->value(rows->fieldCount() - 1);
        rows->moveNext();
    }
    CloseRecordset(rows);
}

void ReadAll(const QStringList& queries)
{
    for (const QString& sql : queries)
        ReadAll(sql);
}

void OpenForEditAndClose(const QString& window, int identity, bool show)
{
    DataWindow* opened = OpenFormWithParams(
        window, identity, { QStringLiteral("Mode"), 2, QStringLiteral("IdentityValue"), identity });
    if (!opened) {
        std::printf("  (the window did not open)\n");
        return;
    }
    if (show) {
        opened->show();
        QApplication::processEvents();
    }
    UnloadWindow(opened);
    QApplication::processEvents();
}

PairedTimes TimeOpenForEdit(int repeats, const QStringList& queries, const QString& window, int identity)
{
    return Interleaved(
        repeats, [&] { ReadAll(queries); }, [&] { OpenForEditAndClose(window, identity, true); });
}

void PrintOpenForEdit(int repeats, const QStringList& queries, const QString& window, int identity, const char* label)
{
    PrintRatioLine(label, TimeOpenForEdit(repeats, queries, window, identity), 1, 2.0);
}

void LoadForEdit(DataWindow* built, int identity)
{
    FormParamDict parameters;
    parameters.add(QStringLiteral("Mode"), 2);
    parameters.add(QStringLiteral("IdentityValue"), identity);
    FormParams::queue(built->objectName(), parameters);
    Act_StandardProcessOnLoadMessage(built);
}

PairedTimes TimePopulate(int repeats, DeclaredSearchWindow* search, const QString& procedure)
{
    QApplication::processEvents();
    const PairedTimes populate = Interleaved(
        repeats, [&] { ReadAll(procedure); },
        [&] {
            search->populateButton()->click();
            QApplication::processEvents();
        });
    std::printf("  (%d rows shown)\n", search->grid()->CountItems());
    return populate;
}

bool PrintPopulate(int repeats, DataWindow* opened, const QString& procedure, const char* label)
{
    auto* search = qobject_cast<DeclaredSearchWindow*>(opened);
    if (!search) {
        std::printf("  (the search window did not open)\n");
        return false;
    }
    PrintRatioLine(label, TimePopulate(repeats, search, procedure), 1, 1.5);
    return true;
}

PairedTimes TimePopulateData(int repeats, DeclaredSearchWindow* search)
{
    const QString statement = search->GetSearchSQL();
    return Interleaved(
        repeats, [&] { DBConnection()->execute(statement); },
        [&] {
            search->PopulateData();
            QApplication::processEvents();
        });
}
