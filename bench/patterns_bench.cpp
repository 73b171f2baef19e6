// A record window of 25 declared fields (texts, numbers, dates, money, memos, check boxes, the
// record code pair and two pickers over 10,000 rows each) opened for edit through
// OpenFormWithParams, against what it has to read: the pickers' two list queries and the one-row
// query, run alone in the same run. Each opening is interleaved with its baseline; the least and
// the median ratio are printed beside the target. "--smoke" runs one pass over 10-row lists; never
// fails on a missed target.

#include "BenchFixture.h"
#include "core/Connection.h"
#include "core/Database.h"
#include "form_framework/FormRegistry.h"
#include "form_framework/WindowOpening.h"
#include "list_controls/ListProcedures.h"
#include "declared_windows/DeclaredRecordWindow.h"

#include <cstdio>

namespace {

const QString kListA = QStringLiteral("SELECT Shape_ID, Shape_Name FROM Bench_Shapes ORDER BY Shape_Name");
const QString kListB = QStringLiteral("SELECT Finish_ID, Finish_Name FROM Bench_Finishes ORDER BY Finish_Name");

DeclaredTable BenchTable()
{
    DeclaredTable table = DeclaredTable::of(QStringLiteral("Bench_Records"), QStringLiteral("Record_ID"),
        QStringLiteral("frmBenchRecord"), QStringLiteral("frmBenchRecords"), QStringLiteral("Bench Record"),
        QStringLiteral("Bench Records"));
    table.codePrefix = QLatin1Char('I');
    table.codeCaption = QStringLiteral("Record Barcode:");
    auto text = [](int i) {
        return DeclaredField::text(
            QStringLiteral("ztxtText(%1)").arg(i), QStringLiteral("Text_%1").arg(i), QStringLiteral("Text %1").arg(i))
            .length(50);
    };
    auto number = [](int i) {
        return DeclaredField::number(QStringLiteral("znumNumber(%1)").arg(i), QStringLiteral("Number_%1").arg(i),
            QStringLiteral("Number %1").arg(i))
            .range(0, 100000);
    };
    auto date = [](int i) {
        return DeclaredField::date(
            QStringLiteral("zdatDate(%1)").arg(i), QStringLiteral("Date_%1").arg(i), QStringLiteral("Date %1").arg(i))
            .format(QStringLiteral("mm/dd/yyyy"));
    };
    auto check = [](int i) {
        return DeclaredField::checkBox(QStringLiteral("zchkFlag(%1)").arg(i), QStringLiteral("Flag_%1").arg(i),
            QStringLiteral("Flag %1").arg(i), QStringLiteral("Flag %1").arg(i), false);
    };
    table.fields = {
        DeclaredField::text(QStringLiteral("ztxtName"), QStringLiteral("Record_Name"), QStringLiteral("Name")).required()
    };
    for (int i = 0; i < 6; ++i)
        table.fields.push_back(text(i));
    for (int i = 0; i < 4; ++i)
        table.fields.push_back(number(i));
    table.fields.push_back(DeclaredField::picker(QStringLiteral("zcbtShape"), QStringLiteral("Shape_ID"),
        QStringLiteral("Shape"), kListA, QStringLiteral("Bench_Shapes"))
                               .inSecondColumn());
    table.fields.push_back(DeclaredField::picker(QStringLiteral("zcbtFinish"), QStringLiteral("Finish_ID"),
        QStringLiteral("Finish"), kListB, QStringLiteral("Bench_Finishes")));
    for (int i = 0; i < 3; ++i)
        table.fields.push_back(date(i));
    for (int i = 0; i < 2; ++i)
        table.fields.push_back(DeclaredField::money(QStringLiteral("zmnyAmount(%1)").arg(i),
            QStringLiteral("Amount_%1").arg(i), QStringLiteral("Amount %1").arg(i)));
    for (int i = 0; i < 2; ++i)
        table.fields.push_back(DeclaredField::memo(QStringLiteral("zmemNotes(%1)").arg(i),
            QStringLiteral("Notes_%1").arg(i), QStringLiteral("Notes %1").arg(i)));
    for (int i = 0; i < 5; ++i)
        table.fields.push_back(check(i));
    return table;
}

void fill(DatabaseConnection& connection, int listRows)
{
    QStringList columns { QStringLiteral("Record_ID INTEGER PRIMARY KEY"), QStringLiteral("Record_Name TEXT"),
        QStringLiteral("Shape_ID INTEGER"), QStringLiteral("Finish_ID INTEGER") };
    for (int i = 0; i < 6; ++i)
        columns << QStringLiteral("Text_%1 TEXT").arg(i);
    for (int i = 0; i < 4; ++i)
        columns << QStringLiteral("Number_%1 NUMERIC").arg(i);
    for (int i = 0; i < 3; ++i)
        columns << QStringLiteral("Date_%1 DATE").arg(i);
    for (int i = 0; i < 2; ++i)
        columns << QStringLiteral("Amount_%1 MONEY").arg(i) << QStringLiteral("Notes_%1 TEXT").arg(i);
    for (int i = 0; i < 5; ++i)
        columns << QStringLiteral("Flag_%1 BIT").arg(i);
    connection.executeStatement(
        QStringLiteral("CREATE TABLE Bench_Records (") + columns.join(QStringLiteral(", ")) + QStringLiteral(")"));
    connection.executeStatement(
        QStringLiteral("CREATE TABLE Bench_Shapes (Shape_ID INTEGER PRIMARY KEY, Shape_Name TEXT)"));
    connection.executeStatement(
        QStringLiteral("CREATE TABLE Bench_Finishes (Finish_ID INTEGER PRIMARY KEY, Finish_Name TEXT)"));
    connection.executeStatement(
        QStringLiteral("INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, "
                       "DB_ID_Field, DB_Default_Permission) VALUES ('Bench_Records', 'Bench Records', "
                       "'Bench Record', 'Record_ID', 1)"));
    connection.beginTransaction();
    for (int i = 1; i <= listRows; ++i) {
        connection.executeStatement(QStringLiteral("INSERT INTO Bench_Shapes (Shape_Name) VALUES (?)"),
            { QStringLiteral("Shape %1").arg(i, 6, 10, QLatin1Char('0')) });
        connection.executeStatement(QStringLiteral("INSERT INTO Bench_Finishes (Finish_Name) VALUES (?)"),
            { QStringLiteral("Finish %1").arg(i, 6, 10, QLatin1Char('0')) });
    }
    connection.commitTransaction();
    QString row = QStringLiteral("INSERT INTO Bench_Records VALUES (1, 'Record one', %1, %2")
                      .arg(listRows / 2)
                      .arg(listRows / 3 + 1);
    for (int i = 0; i < 6; ++i)
        row += QStringLiteral(", 'Text value %1'").arg(i);
    for (int i = 0; i < 4; ++i)
        row += QStringLiteral(", %1").arg(i * 10 + 1);
    for (int i = 0; i < 3; ++i)
        row += QStringLiteral(", '2024-0%1-15'").arg(i + 1);
    row += QStringLiteral(", 12.5, 'Notes one', 80.25, 'Notes two'");
    for (int i = 0; i < 5; ++i)
        row += QStringLiteral(", %1").arg(i % 2);
    connection.executeStatement(row + QStringLiteral(")"));
}

} // namespace

int main(int argc, char* argv[])
{
    const BenchSession session(argc, argv, { RegisterListControlProcedures });
    const DeclaredTable table = BenchTable();
    FormRegistry::registerForm(table.recordWindow, [table] { return new DeclaredRecordWindow(table); });

    const int listRows = session.smoke() ? 10 : 10000;
    const int repeats = session.repeats(15);
    fill(session.connection(), listRows);
    std::printf("A record window of %d declared fields, two pickers of %d rows each, on SQLite; %d interleaved pairs\n",
        static_cast<int>(table.fields.size()), listRows, repeats);
    PrintRatioHeader("us/window");

    const QString oneRow = QStringLiteral("SELECT * FROM Bench_Records WHERE Record_ID = 1");
    const PairedTimes open = Interleaved(
        repeats,
        [&] {
            ReadAll(kListA);
            ReadAll(kListB);
            ReadAll(oneRow);
        },
        [&] { OpenForEditAndClose(table.recordWindow, 1, false); });
    PrintRatioLine("opened for edit / its three queries alone", open, 1, 2.0);

    return 0;
}
