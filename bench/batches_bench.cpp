// The batch-item windows over 50,000 batch items in 5,000 batches: saving a membership (an item
// one and a case one, so that all four membership checks run, besides the case pair check and the
// write) against the four check procedures run alone; and a batch-item search by case, Populate to
// rows shown, against the search procedure alone. Each measurement is interleaved with its
// baseline; the least and the median ratio are printed beside the target. "--smoke" runs one pass
// over a handful of rows; never fails on a missed target.

#include "BenchFixture.h"
#include "cases/CaseProcedures.h"
#include "cases/CaseWindows.h"
#include "core/Connection.h"
#include "core/Database.h"
#include "custody/CustodyWindows.h"
#include "form_framework/DataWindow.h"
#include "form_framework/WindowList.h"
#include "form_framework/WindowOpening.h"
#include "form_framework/zInfo.h"
#include "list_controls/ListProcedures.h"
#include "declared_windows/DeclaredSearchWindow.h"
#include "reference_tables/ReferenceTables.h"

#include <QApplication>

#include <cstdio>

namespace {

// Cases 1..n/2 have one item each, held by item memberships; cases n/2+1..n are held whole. Each
// batch holds ten memberships, five of each kind; even batches are physical boxes.
void fill(DatabaseConnection& connection, int batches, int perBatch)
{
    auto run = [&connection](const QString& sql, const std::vector<QVariant>& values = {}) {
        return connection.executeStatement(sql, values);
    };
    FillCaseClasses(connection);
    run(QStringLiteral("INSERT INTO Employees (Payroll_Number) VALUES ('P1')"));
    const QVariant box
        = run(QStringLiteral("SELECT Batch_Type_ID FROM Batch_Types WHERE Batch_Type_Code = 'BOX'")).valueAt(0, 0);
    const QVariant court
        = run(QStringLiteral("SELECT Batch_Type_ID FROM Batch_Types WHERE Batch_Type_Code = 'COURT'")).valueAt(0, 0);
    const int memberships = batches * perBatch;
    connection.beginTransaction();
    for (int i = 1; i <= memberships; ++i)
        InsertCase(connection, i, QStringLiteral("2020-01-01 10:00:00"));
    for (int i = 1; i <= memberships / 2; ++i)
        InsertItem(connection, i, i);
    for (int b = 1; b <= batches; ++b)
        run(QStringLiteral("INSERT INTO Batches (Batch_Number, Created_Date_Time, Created_By_Employee_ID, "
                           "Batch_Type_ID) VALUES (?, '2021-02-03 10:00:00', 1, ?)"),
            { QStringLiteral("B-%1").arg(b, 6, 10, QLatin1Char('0')), b % 2 == 0 ? box : court });
    int item = 0;
    int wholeCase = memberships / 2;
    for (int b = 1; b <= batches; ++b)
        for (int k = 0; k < perBatch; ++k) {
            if (k % 2 == 0)
                run(QStringLiteral("INSERT INTO Batch_Items (Batch_ID, Item_ID) VALUES (?, ?)"), { b, ++item });
            else
                run(QStringLiteral("INSERT INTO Batch_Items (Batch_ID, Case_ID) VALUES (?, ?)"), { b, ++wholeCase });
        }
    connection.commitTransaction();
}

int firstValue(const QString& sql) { return GetSQLValue(sql).value_or(QVariant()).toInt(); }

} // namespace

int main(int argc, char* argv[])
{
    const BenchSession session(
        argc, argv, { RegisterLookupWindows, RegisterCaseProcedures, RegisterCaseWindows, RegisterCustodyWindows });
    const int batches = session.smoke() ? 2 : 5000;
    const int perBatch = 10;
    const int repeats = session.repeats(7);
    fill(session.connection(), batches, perBatch);
    std::printf(
        "Batch items: %d in %d batches, on SQLite; %d interleaved pairs\n", batches * perBatch, batches, repeats);
    PrintRatioHeader("us/run");

    // An item membership and a case membership of a physical batch in the middle, opened for edit
    // and saved again: each save runs its two membership checks, the case one also the pair check.
    const int batch = (batches / 2) % 2 == 0 ? batches / 2 : batches / 2 + 1;
    const int itemRow = firstValue(
        QStringLiteral("SELECT MIN(Batch_Item_ID) FROM Batch_Items WHERE Batch_ID = %1 AND Item_ID IS NOT NULL")
            .arg(batch));
    const int caseRow = firstValue(
        QStringLiteral("SELECT MIN(Batch_Item_ID) FROM Batch_Items WHERE Batch_ID = %1 AND Case_ID IS NOT NULL")
            .arg(batch));
    const int item
        = firstValue(QStringLiteral("SELECT Item_ID FROM Batch_Items WHERE Batch_Item_ID = %1").arg(itemRow));
    const int theCase
        = firstValue(QStringLiteral("SELECT Case_ID FROM Batch_Items WHERE Batch_Item_ID = %1").arg(caseRow));
    DataWindow* itemWindow = OpenFormWithParams(QStringLiteral("frmBatchItem"), itemRow,
        { QStringLiteral("Mode"), 2, QStringLiteral("IdentityValue"), itemRow });
    DataWindow* caseWindow = OpenFormWithParams(QStringLiteral("frmBatchItem"), caseRow,
        { QStringLiteral("Mode"), 2, QStringLiteral("IdentityValue"), caseRow });
    if (!itemWindow || !caseWindow) {
        std::printf("  (the batch item windows did not open)\n");
        return 1;
    }
    const QString itemArguments
        = QStringLiteral(" @Batch_Item_ID = %1, @Batch_ID = %2, @Item_ID = %3").arg(itemRow).arg(batch).arg(item);
    const QString caseArguments
        = QStringLiteral(" @Batch_Item_ID = %1, @Batch_ID = %2, @Case_ID = %3").arg(caseRow).arg(batch).arg(theCase);
    const QStringList checks { QStringLiteral("EXEC usp_Evd_Check_Item_In_Batch") + itemArguments,
        QStringLiteral("EXEC usp_Evd_Check_Item_In_Single_Physical_Batch") + itemArguments,
        QStringLiteral("EXEC usp_Evd_Check_Case_In_Batch") + caseArguments,
        QStringLiteral("EXEC usp_Evd_Check_Case_In_Single_Physical_Batch") + caseArguments };
    bool saved = true;
    const auto checksAlone = [&] { ReadAll(checks); };
    const auto saveBoth = [&] {
        for (DataWindow* window : { itemWindow, caseWindow }) {
            window->info()->setDataChanged(true);
            saved = window->info()->SaveData(true) && saved;
            QApplication::processEvents();
        }
    };
    const PairedTimes save = Interleaved(repeats, checksAlone, saveBoth);
    PrintRatioLine("an item and a case membership saved / the four checks alone", save, 1, 1.5);
    // The save also commits its write to disk, whose wait the wall clock counts at random; the
    // thread's processor time shows what the program itself spends.
    CurrentBenchClock() = BenchClock::ThreadCpu;
    const PairedTimes saveCpu = Interleaved(repeats, checksAlone, saveBoth);
    CurrentBenchClock() = BenchClock::Wall;
    PrintRatioLine("the same, thread processor time", saveCpu, 1, 1.5);
    if (!saved)
        std::printf("  (a save was refused)\n");
    UnloadWindow(itemWindow);
    UnloadWindow(caseWindow);

    // The memberships of a case held whole, and of a case held through its item.
    if (!PrintPopulate(repeats,
            OpenFormWithParams(QStringLiteral("frmBatchItems"), 0, { QStringLiteral("Case_ID"), theCase }),
            QStringLiteral("EXEC usp_Evd_Search_Batch_Items_All @Case_ID = %1").arg(theCase),
            "batch items by case, Populate to rows shown / the procedure"))
        return 1;

    return 0;
}
