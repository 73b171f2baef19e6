// The barcode window at realistic size: 1,000 scanned codes (cases, items and batches, with an
// employee and a location code before every ten) resolved and acted on in bulk, against 1,000 calls
// of usp_Evd_Insert_Item_Action through the procedure layer, each in its own transaction; and the
// resolution alone against 1,000 one-row look-ups of the same records. Each measurement is
// interleaved with its baseline; the least and the median ratio are printed beside the target.
// "--smoke" runs one pass over a handful of codes; never fails on a missed target.

#include "BenchFixture.h"
#include "cases/CaseProcedures.h"
#include "cases/CaseWindows.h"
#include "core/Connection.h"
#include "core/Database.h"
#include "core/Platform.h"
#include "core/RecordCodes.h"
#include "core/Recordset.h"
#include "custody/BarcodeWindows.h"
#include "custody/CustodyWindows.h"
#include "form_framework/WindowOpening.h"
#include "list_controls/ListProcedures.h"
#include "reference_tables/ReferenceTables.h"

#include <QTreeWidget>

#include <cstdio>

namespace {

// Message boxes answered at once (the run ends with "Done").
class SilentPrompt final : public Prompt {
public:
    int messageBox(const QString&, int, const QString&) override { return 1; }
    void beep() override { }
};

void fill(DatabaseConnection& connection, int records)
{
    auto run = [&connection](const QString& sql, const std::vector<QVariant>& values = {}) {
        return connection.executeStatement(sql, values);
    };
    FillCaseClasses(connection);
    FillStoreAction(connection);
    connection.beginTransaction();
    for (int i = 1; i <= 20; ++i)
        run(QStringLiteral("INSERT INTO Employees (Payroll_Number) VALUES (?)"), { QStringLiteral("P%1").arg(i) });
    for (int i = 1; i <= records; ++i) {
        InsertCase(connection, i, QStringLiteral("2020-01-01 10:00:00"));
        InsertItem(connection, i, i);
        InsertBatch(connection, i);
    }
    connection.commitTransaction();
}

} // namespace

int main(int argc, char* argv[])
{
    const BenchSession session(
        argc, argv, { RegisterLookupWindows, RegisterCaseProcedures, RegisterCaseWindows, RegisterCustodyWindows });
    Platform::setPrompt(std::make_unique<SilentPrompt>());
    const int codes = session.smoke() ? 20 : 1000;
    const int repeats = session.repeats(7);
    DatabaseConnection& connection = session.connection();
    fill(connection, codes);
    std::printf("Barcode window over %d scanned codes (cases, items, batches; an employee and a location code "
                "before every ten), on SQLite; %d interleaved pairs\n",
        codes, repeats);

    // The scan list: codes of subjects in turn, each ten led by an employee and the location.
    QStringList scans;
    QStringList subjects;
    for (int i = 1; i <= codes; ++i) {
        if ((i - 1) % 10 == 0) {
            scans << RecordCodeText(QLatin1Char('E'), 1 + (i / 10) % 20) << RecordCodeText(QLatin1Char('L'), 1);
        }
        const QChar prefix = QLatin1Char("CIB"[i % 3]);
        scans << RecordCodeText(prefix, i);
        subjects << RecordCodeText(prefix, i);
    }
    auto* window = qobject_cast<frmBarcodes*>(ShowFormByName(QStringLiteral("frmBarcodes")));
    if (!window) {
        std::printf("  (the barcode window did not open)\n");
        return 1;
    }
    auto load = [&] {
        window->lvwBarcodes->clear();
        for (const QString& scan : scans) {
            auto* row = new QTreeWidgetItem(window->lvwBarcodes);
            row->setText(frmBarcodes::BarcodeColumn, scan);
        }
    };
    const char* lookUps[] = { "SELECT Case_Number FROM Cases WHERE Case_ID = ",
        "SELECT Item_Number FROM Items WHERE Item_ID = ", "SELECT Batch_Number FROM Batches WHERE Batch_ID = " };

    PrintRatioHeader("us/run");
    const PairedTimes resolve = Interleaved(
        repeats,
        [&] {
            for (int i = 1; i <= codes; ++i) {
                std::unique_ptr<Recordset> row
                    = OpenRecordset(QLatin1String(lookUps[i % 3]) + QString::number(i), false);
                CloseRecordset(row);
            }
        },
        [&] {
            load();
            window->ResolveBarcodes();
        });
    PrintRatioLine("resolution / 1,000 one-row look-ups", resolve, 1, 1.5);

    const QString date = QStringLiteral("'2024-03-08 09:00'");
    const PairedTimes bulk = Interleaved(
        repeats,
        [&] {
            for (int i = 1; i <= codes; ++i) {
                const char* word = i % 3 == 0 ? "Case" : (i % 3 == 1 ? "Item" : "Batch");
                Act_ExecuteSQLTrans(QStringLiteral("EXEC usp_Evd_Insert_Item_Action @%1_ID = %2, "
                                                   "@Performed_By_Employee_ID = %3, @Item_Action_Type_ID = 1, "
                                                   "@Item_Action_Date_Time = %4, @Item_Action_Description = 'Moved', "
                                                   "@Location_ID = 1")
                                        .arg(QLatin1String(word))
                                        .arg(i)
                                        .arg(1 + (i / 10) % 20)
                                        .arg(date));
            }
        },
        [&] {
            load();
            window->ResolveBarcodes();
            BulkItemAction action;
            action.ActionTypeID = 1;
            action.UseBarcode = true;
            action.PerformedByEmployeeID = -1;
            action.ActionDateTime = QDateTime(QDate(2024, 3, 8), QTime(9, 0));
            action.ActionDescription = QStringLiteral("Moved");
            window->ProcessAll(action);
        });
    PrintRatioLine("resolve and bulk act / 1,000 insert calls", bulk, 1, 1.5);
    return 0;
}
