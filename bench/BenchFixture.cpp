#include "BenchFixture.h"

#include "core/Connection.h"
#include "core/Database.h"
#include "core/Recordset.h"
#include "form_framework/DataWindow.h"
#include "form_framework/WindowList.h"
#include "form_framework/WindowOpening.h"
#include "list_controls/zListView.h"
#include "reference_tables/LookupSearchWindow.h"

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

BenchSession::BenchSession(int& argc, char** argv)
    : m_application(OffscreenUnlessNamed(argc), argv)
{
    SetDBConnection(DatabaseConnection::open(
        { Engine::SQLite, QStringLiteral("(local)"), m_folder.filePath(QStringLiteral("bench.db")) }, Credentials {}));
}

BenchSession::~BenchSession()
{
    for (QWidget* window : LoadedWindows())
        UnloadWindow(window);
    CloseConnection();
}

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

PairedTimes TimePopulate(int repeats, LookupSearchWindow* search, const QString& procedure)
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
