// The shipped item reports and batch labels over a fresh database on both engines: the item
// history and chain of custody, opened from the item window and printed, hold every action that
// concerns the item (on the item, its case, or a batch holding either); the three label prints of a
// batch carry barcodes that decode to the batch's own records.

#include "../reference_tables/ReferenceFixture.h"

#include "administration/Administration.h"
#include "administration/frmCrystal.h"
#include "cases/CaseWindows.h"
#include "core/AppInfo.h"
#include "core/Database.h"
#include "core/RecordCodes.h"
#include "exports/MailMerge.h"
#include "exports/PrintPreview.h"
#include "exports/ReportFiles.h"
#include "custody/CustodyWindows.h"
#include "form_framework/WindowList.h"
#include "declared_windows/DeclaredRecordWindow.h"
#include "support/CaseRows.h"
#include "support/ExternalTools.h"
#include "support/MergedDocuments.h"
#include "support/PromptRecorder.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>
#include <QPrintPreviewWidget>
#include <QRegularExpression>
#include <QTextDocument>
#include <QToolBar>

#include <gtest/gtest.h>

#include <optional>

namespace {

class ItemReports : public ReferenceTest {
protected:
    void SetUp() override
    {
        ReferenceTest::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        RegisterAdministrationForms();
        RegisterCaseWindows();
        RegisterCustodyWindows();
        m_presenter.emplace();
        // The program folder's reports, as the build ships them.
        const QString reports = GetMainPath() + QStringLiteral("Reports/");
        QDir().mkpath(reports);
        for (const char* file : { "Item History.rpt", "Chain of Custody.rpt", "Barcode Labels - Batches.html",
                 "Barcode Labels - Cases.html", "Barcode Labels - Items.html" }) {
            QFile::remove(reports + QLatin1String(file));
            ASSERT_TRUE(QFile::copy(QStringLiteral(BRAMBLECOT_SOURCE_DIR "/program_files/Reports/") + QLatin1String(file),
                reports + QLatin1String(file)))
                << file;
        }
        CaseClassNames names;
        names.payroll = QStringLiteral("P-7");
        const CaseClasses classes = InsertCaseClasses(names);
        officer = classes.employee;
        clerk = InsertEmployee(QStringLiteral("P-8"));
        caseID = InsertCase(classes, QStringLiteral("CN-1"));
        otherCase = InsertCase(classes, QStringLiteral("CN-2"));
        item = insert(QStringLiteral("INSERT INTO Items (Case_ID, Item_Number, Item_Description) "
                                     "VALUES (%1, 'IN-1', 'Grey bicycle') RETURNING Item_ID")
                          .arg(caseID));
        otherItem = InsertItem(otherCase, QStringLiteral("IN-2"));
        lonelyItem = InsertItem(otherCase, QStringLiteral("IN-3"));
        room = insert(QStringLiteral("INSERT INTO Locations (Location_Name, Location_Code) VALUES ('Evidence Room', "
                                     "'ER') RETURNING Location_ID"));
        batch = insert(QStringLiteral("INSERT INTO Batches (Batch_Number, Created_Date_Time, Created_By_Employee_ID, "
                                      "Batch_Type_ID) SELECT 'BOX-9', '2024-03-08 09:00:00', %1, Batch_Type_ID "
                                      "FROM Batch_Types WHERE Batch_Type_Code = 'COURT' RETURNING Batch_ID")
                           .arg(clerk));
        // The batch holds the first item's case and the second item itself.
        insert(QStringLiteral("INSERT INTO Batch_Items (Batch_ID, Case_ID) VALUES (%1, %2) RETURNING Batch_Item_ID")
                   .arg(batch)
                   .arg(caseID));
        insert(QStringLiteral("INSERT INTO Batch_Items (Batch_ID, Item_ID) VALUES (%1, %2) RETURNING Batch_Item_ID")
                   .arg(batch)
                   .arg(otherItem));
        const auto actionType = [&](const char* present, const char* past, const char* code, const char* table) {
            return insert(QStringLiteral("INSERT INTO Item_Action_Types (Item_Action_Type_Name_Present, "
                                         "Item_Action_Type_Name_Past, Item_Action_Type_Code, Item_Action_Time_ID, "
                                         "Related_DB_Table_ID) SELECT '%1', '%2', '%3', "
                                         "(SELECT MIN(Item_Action_Time_ID) FROM Item_Action_Times), "
                                         "(SELECT DB_Table_ID FROM DB_Tables WHERE DB_Table_Name = '%4') "
                                         "RETURNING Item_Action_Type_ID")
                              .arg(QLatin1String(present), QLatin1String(past), QLatin1String(code), QLatin1String(table)));
        };
        const int store = actionType("Store", "Stored", "STORE", "Item_Locations");
        const int photograph = actionType("Photograph", "Photographed", "PHOTO", "");
        const int court = actionType("Take to Court", "Taken to Court", "COURT", "");
        const auto act = [&](const QString& subject, int type, int performer, const char* when, int location) {
            ASSERT_TRUE(Act_ExecuteSQLTrans(QStringLiteral("EXEC usp_Evd_Insert_Item_Action %1, "
                                                           "@Performed_By_Employee_ID = %2, @Item_Action_Type_ID = %3, "
                                                           "@Item_Action_Date_Time = '%4', "
                                                           "@Item_Action_Description = 'noted', @Location_ID = %5")
                                                .arg(subject)
                                                .arg(performer)
                                                .arg(type)
                                                .arg(QLatin1String(when))
                                                .arg(location)));
        };
        act(QStringLiteral("@Item_ID = %1").arg(item), store, officer, "2024-03-08 10:00", room);
        act(QStringLiteral("@Case_ID = %1").arg(caseID), photograph, clerk, "2024-03-09 11:00", 0);
        act(QStringLiteral("@Batch_ID = %1").arg(batch), court, officer, "2024-03-10 12:00", 0);
        // An action on another item that the first item's reports must not show.
        act(QStringLiteral("@Item_ID = %1").arg(otherItem), photograph, clerk, "2024-03-11 13:00", 0);
        Prompts().clear();
    }
    void TearDown() override
    {
        m_presenter.reset();
        ReferenceTest::TearDown();
    }

    // The report viewer the item window's entry opens; null when none opened.
    frmCrystal* openReport(int itemID, const char* entry)
    {
        for (QWidget* open : LoadedWindows()) {
            if (qobject_cast<frmCrystal*>(open))
                UnloadWindow(open);
        }
        QApplication::processEvents();
        DeclaredRecordWindow* window = openEdit(QStringLiteral("frmItem"), itemID);
        if (!window)
            return nullptr;
        window->runAction(QString::fromLatin1(entry));
        QApplication::processEvents();
        frmCrystal* viewer = nullptr;
        for (QWidget* open : LoadedWindows()) {
            if (auto* found = qobject_cast<frmCrystal*>(open))
                viewer = found;
        }
        return viewer;
    }

    // Prints the viewer's report to a PDF file, through the program's print dialog answered by the
    // test: from the main window's File > Print, or from the viewer's own Print button.
    enum class PrintFrom { FileMenu, Toolbar };
    QString printToPdf(frmCrystal* viewer, PrintFrom from, const QString& name = QStringLiteral("report.pdf"))
    {
        const QString pdf = m_output.filePath(name);
        QFile::remove(pdf);
        ReportPreview::setPrinterChooser([&pdf](QPrinter& printer, QWidget*) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return true;
        });
        if (from == PrintFrom::FileMenu) {
            viewer->ProcessCommand(MainCommand::Print);
        } else {
            QAction* print = nullptr;
            for (QToolBar* tools : viewer->findChildren<QToolBar*>()) {
                for (QAction* action : tools->actions()) {
                    if (action->text() == QLatin1String("Print"))
                        print = action;
                }
            }
            if (!print)
                ADD_FAILURE() << "the viewer has no Print button";
            else
                print->trigger();
        }
        ReportPreview::setPrinterChooser(nullptr);
        return pdf;
    }

    static QString pdfText(const QString& pdf)
    {
        return RunTool(QStringLiteral("pdftotext"), { QStringLiteral("-layout"), pdf, QStringLiteral("-") });
    }

    // The report the item window's entry shows, printed to PDF and read back as text.
    QString printedReport(int itemID, const char* entry)
    {
        frmCrystal* viewer = openReport(itemID, entry);
        if (!viewer)
            return QStringLiteral("(no report viewer: %1)").arg(Prompts().boxes.empty() ? QString() : Prompts().boxes.back().text);
        return pdfText(printToPdf(viewer, PrintFrom::FileMenu));
    }

    // The Code 39 barcodes of a merged label sheet, decoded and sorted.
    QStringList decodedLabels(QTextDocument* document)
    {
        return DecodedBarcodes(document, m_output.filePath(QStringLiteral("labels.png")));
    }

    int officer = 0;
    int clerk = 0;
    int caseID = 0;
    int otherCase = 0;
    int item = 0;
    int otherItem = 0;
    int lonelyItem = 0;
    int room = 0;
    int batch = 0;

private:
    std::optional<RecordingPresenter::Installed> m_presenter;
    QTemporaryDir m_output;
};

TEST_P(ItemReports, BothReportsHoldEveryActionThatConcernsTheItemInDateOrder)
{
    for (const char* entry : { "Item History Report", "Chain of Custody Report" }) {
        SCOPED_TRACE(entry);
        const QString text = printedReport(item, entry);
        EXPECT_TRUE(text.contains(QStringLiteral("IN-1 (case CN-1)"))) << text.toStdString();
        const qsizetype stored = text.indexOf(QStringLiteral("Stored"));
        const qsizetype photographed = text.indexOf(QStringLiteral("Photographed"));
        const qsizetype court = text.indexOf(QStringLiteral("Taken to Court"));
        EXPECT_TRUE(stored >= 0 && photographed > stored && court > photographed) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("Batch BOX-9"))) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("Evidence Room"))) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("P-8"))) << text.toStdString();
        EXPECT_EQ(text.count(QStringLiteral("Photographed")), 1) << "the other item's action stays out";
    }
    // An item without actions still has its report, naming it.
    const QString lonely = printedReport(lonelyItem, "Chain of Custody Report");
    EXPECT_TRUE(lonely.contains(QStringLiteral("IN-3 (case CN-2)"))) << lonely.toStdString();
    EXPECT_FALSE(lonely.contains(QStringLiteral("Stored")));
}

TEST_P(ItemReports, TheBatchLabelsDecodeToTheBatchAndItsCasesAndItems)
{
    DeclaredRecordWindow* window = openEdit(QStringLiteral("frmBatch"), batch);
    ASSERT_NE(window, nullptr);
    const struct {
        const char* entry;
        QStringList codes;
    } prints[] = {
        { "Print Batch Barcode", { RecordCodeText(QLatin1Char('B'), batch) } },
        // The case put in the batch and the case of the item put in it.
        { "Print Case Barcodes for Batch",
            { RecordCodeText(QLatin1Char('C'), caseID), RecordCodeText(QLatin1Char('C'), otherCase) } },
        // The item put in the batch and the items of the case put in it; not the other case's others.
        { "Print Item Barcodes for Batch",
            { RecordCodeText(QLatin1Char('I'), item), RecordCodeText(QLatin1Char('I'), otherItem) } },
    };
    for (const auto& print : prints) {
        SCOPED_TRACE(print.entry);
        RecordingPresenter::documents.clear();
        Prompts().clear();
        window->runAction(QString::fromLatin1(print.entry));
        ASSERT_EQ(RecordingPresenter::documents.size(), 1u)
            << (Prompts().boxes.empty() ? std::string() : Prompts().boxes.back().text.toStdString());
        QStringList expected;
        for (const QString& code : print.codes)
            expected << QStringLiteral("CODE-39:") + code;
        expected.sort();
        EXPECT_EQ(decodedLabels(RecordingPresenter::documents.front().get()), expected);
    }
}

// Printed pages go under the name of the report or labels and their record, which the print
// dialog proposes for a PDF file: never the program's window title, never a character a file
// system refuses.
TEST_P(ItemReports, PrintedPagesAreNamedAfterTheReportAndItsRecord)
{
    const int oddItem = InsertItem(caseID, QStringLiteral("IN/4: \"x\"?"));
    const struct {
        int item;
        const char* entry;
        const char* name;
    } reports[] = {
        { item, "Chain of Custody Report", "Chain of Custody - IN-1.pdf" },
        { item, "Item History Report", "Item History - IN-1.pdf" },
        { oddItem, "Chain of Custody Report", "Chain of Custody - IN_4_ _x__.pdf" },
    };
    for (const auto& report : reports) {
        SCOPED_TRACE(report.name);
        frmCrystal* viewer = openReport(report.item, report.entry);
        ASSERT_NE(viewer, nullptr);
        QString offered;
        ReportPreview::setPrinterChooser([&offered](QPrinter& printer, QWidget*) {
            offered = printer.docName();
            return false;
        });
        viewer->ProcessCommand(MainCommand::Print);
        ReportPreview::setPrinterChooser(nullptr);
        EXPECT_EQ(offered, QString::fromUtf8(report.name));
    }

    const struct {
        const char* window;
        int identity;
        const char* entry;
        const char* title;
    } labels[] = {
        { "frmItem", item, "Print Item Barcode", "Barcode Labels - Items - IN-1" },
        { "frmBatch", batch, "Print Batch Barcode", "Barcode Labels - Batches - BOX-9" },
    };
    for (const auto& label : labels) {
        SCOPED_TRACE(label.title);
        DeclaredRecordWindow* window = openEdit(QString::fromLatin1(label.window), label.identity);
        ASSERT_NE(window, nullptr);
        RecordingPresenter::titles.clear();
        window->runAction(QString::fromLatin1(label.entry));
        ASSERT_EQ(RecordingPresenter::titles.size(), 1);
        EXPECT_EQ(RecordingPresenter::titles.front(), QString::fromUtf8(label.title));
        EXPECT_EQ(PrintedDocumentName(RecordingPresenter::titles.front()),
            QString::fromUtf8(label.title) + QStringLiteral(".pdf"));
    }
    // What a file system refuses, at the end or anywhere, and a name of nothing.
    EXPECT_EQ(
        PrintedDocumentName(QStringLiteral("Labels - A<1>|B\\C\tD. ")), QStringLiteral("Labels - A_1__B_C_D.pdf"));
    EXPECT_EQ(PrintedDocumentName(QStringLiteral(" ")), QStringLiteral("Report.pdf"));
    EXPECT_LE(PrintedDocumentName(QString(300, QChar(0x00E9))).toUtf8().size(), 244);
}

TEST_P(ItemReports, TheViewersPrintButtonPrintsThePagesFilePrintPrints)
{
    frmCrystal* viewer = openReport(item, "Chain of Custody Report");
    ASSERT_NE(viewer, nullptr);
    Prompts().clear();
    const QString fromMenu = printToPdf(viewer, PrintFrom::FileMenu, QStringLiteral("menu.pdf"));
    const QString fromToolbar = printToPdf(viewer, PrintFrom::Toolbar, QStringLiteral("toolbar.pdf"));
    EXPECT_TRUE(Prompts().boxes.empty()) << Prompts().boxes.front().text.toStdString();
    ASSERT_TRUE(QFile::exists(fromToolbar)) << "the Print button printed nothing";
    // The same pages: as many as the preview shows, with the same text (the print time aside).
    const auto pages = [](const QString& pdf) {
        const QString info = RunTool(QStringLiteral("pdfinfo"), { pdf });
        const QRegularExpressionMatch match = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
        return match.hasMatch() ? match.captured(1).toInt() : -1;
    };
    EXPECT_EQ(pages(fromToolbar), viewer->viewer()->pageCount());
    EXPECT_EQ(pages(fromMenu), viewer->viewer()->pageCount());
    const QRegularExpression printTime(QStringLiteral("\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d:\\d\\d [AP]M +Page"));
    EXPECT_EQ(pdfText(fromToolbar).remove(printTime), pdfText(fromMenu).remove(printTime));
}

TEST_P(ItemReports, TheCustodyReportsPrintEveryValueWhole)
{
    // Long full location names, a long batch number, a transfer weighed out and in.
    const int shelf = insert(QStringLiteral("INSERT INTO Locations (Location_Name, Location_Code, Parent_Location_ID) "
                                            "VALUES ('Shelf 12 Narcotics Overflow Office', 'S12', %1) RETURNING Location_ID")
                                 .arg(room));
    const int bin = insert(QStringLiteral("INSERT INTO Locations (Location_Name, Location_Code, Parent_Location_ID) "
                                          "VALUES ('Bin 7 Firearms Cage', 'B7', %1) RETURNING Location_ID")
                               .arg(shelf));
    const int grams = insert(QStringLiteral("INSERT INTO Units (Unit_Type_ID, Unit_Name, Unit_Code) SELECT Unit_Type_ID, "
                                            "'Gram', 'g' FROM Unit_Types WHERE Unit_Type_Code = 'W' RETURNING Unit_ID"));
    const int transfer = insert(QStringLiteral("INSERT INTO Item_Action_Types (Item_Action_Type_Name_Present, "
                                               "Item_Action_Type_Name_Past, Item_Action_Type_Code, Item_Action_Time_ID, "
                                               "Related_DB_Table_ID) SELECT 'Transfer', 'Transferred', 'TRANS', "
                                               "(SELECT MIN(Item_Action_Time_ID) FROM Item_Action_Times), "
                                               "(SELECT DB_Table_ID FROM DB_Tables WHERE DB_Table_Name = 'Item_Transfers') "
                                               "RETURNING Item_Action_Type_ID"));
    const int action = insert(QStringLiteral("INSERT INTO Item_Actions (Item_ID, Item_Action_Type_ID, Performed_By_Employee_ID, "
                                             "Item_Action_Date_Time) VALUES (%1, %2, %3, '2024-03-12 14:35:00') "
                                             "RETURNING Item_Action_ID")
                                  .arg(item)
                                  .arg(transfer)
                                  .arg(officer));
    insert(QStringLiteral("INSERT INTO Item_Transfers (Item_Action_ID, From_Location_ID, To_Location_ID, From_Employee_ID, "
                          "To_Employee_ID, Item_Weight_Out, Item_Weight_Out_Unit_ID, Item_Weight_In, Item_Weight_In_Unit_ID) "
                          "VALUES (%1, %2, %3, %4, %5, 1234.5, %6, 1234.25, %6) RETURNING Item_Transfer_ID")
               .arg(action)
               .arg(shelf)
               .arg(bin)
               .arg(officer)
               .arg(clerk)
               .arg(grams));
    const int longBatch = insert(QStringLiteral("INSERT INTO Batches (Batch_Number, Created_Date_Time, Created_By_Employee_ID, "
                                                "Batch_Type_ID) SELECT 'TR-2024-03-0001-COURT-LIST', '2024-03-08 09:00:00', %1, "
                                                "Batch_Type_ID FROM Batch_Types WHERE Batch_Type_Code = 'COURT' RETURNING Batch_ID")
                                     .arg(clerk));
    insert(QStringLiteral("INSERT INTO Batch_Items (Batch_ID, Item_ID) VALUES (%1, %2) RETURNING Batch_Item_ID").arg(longBatch).arg(item));
    insert(QStringLiteral("INSERT INTO Item_Actions (Batch_ID, Item_Action_Type_ID, Performed_By_Employee_ID, Item_Action_Date_Time) "
                          "SELECT %1, Item_Action_Type_ID, %2, '2024-03-13 09:05:00' FROM Item_Action_Types "
                          "WHERE Item_Action_Type_Code = 'COURT' RETURNING Item_Action_ID")
               .arg(longBatch)
               .arg(officer));

    const QString shelfName = QStringLiteral("Evidence Room / Shelf 12 Narcotics Overflow Office");
    const QString binName = shelfName + QStringLiteral(" / Bin 7 Firearms Cage");
    const QString longBatchName = QStringLiteral("Batch TR-2024-03-0001-COURT-LIST");
    // Every value whole (a long one may wrap within its column, so it reads whole in the order
    // printed); dates with their times and weights with their units whole on one line.
    const struct {
        const char* entry;
        QStringList whole;
        QStringList oneLine;
    } reports[] = {
        { "Chain of Custody Report", { shelfName, binName, longBatchName, QStringLiteral("Released By"), QStringLiteral("Received By") },
            { QStringLiteral("03/12/2024 02:35:00 PM"), QStringLiteral("03/08/2024 10:00:00 AM"), QStringLiteral("1234.5 g"),
                QStringLiteral("1234.25 g"), QStringLiteral("Batch BOX-9") } },
        { "Item History Report", { binName, longBatchName, QStringLiteral("Weight Out") },
            { QStringLiteral("03/12/2024 02:35:00 PM"), QStringLiteral("1234.5 g"), QStringLiteral("1234.25 g"),
                QStringLiteral("Batch BOX-9"), QStringLiteral("Photographed") } },
    };
    for (const auto& report : reports) {
        SCOPED_TRACE(report.entry);
        frmCrystal* viewer = openReport(item, report.entry);
        ASSERT_NE(viewer, nullptr);
        const QString pdf = printToPdf(viewer, PrintFrom::FileMenu);
        const QString layout = pdfText(pdf);
        const QString printed = RunTool(QStringLiteral("pdftotext"), { QStringLiteral("-raw"), pdf, QStringLiteral("-") }).simplified();
        for (const QString& value : report.whole)
            EXPECT_TRUE(printed.contains(value)) << value.toStdString() << " in\n" << printed.toStdString();
        for (const QString& value : report.oneLine)
            EXPECT_TRUE(layout.contains(value)) << value.toStdString() << " in\n" << layout.toStdString();
        EXPECT_FALSE(layout.contains(QChar(0x2026)) || layout.contains(QStringLiteral("..."))) << layout.toStdString();
        // Printed words are letters, not ligature glyphs, so they can be found.
        EXPECT_TRUE(printed.contains(QStringLiteral("Office"))) << printed.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, ItemReports, ::testing::ValuesIn(TestEngines()), EngineTestName);
INSTANTIATE_CLERK_SUITE(ItemReports);

} // namespace
