#include "core/AppError.h"
#include "core/AppInfo.h"
#include "form_framework/CrystalReport.h"
#include "form_framework/DataWindow.h"
#include "core/Database.h"
#include "form_framework/FormFieldsToText.h"
#include "form_framework/FormRegistry.h"
#include "exports/MailMerge.h"
#include "exports/PrintPreview.h"
#include "support/ExternalTools.h"
#include "support/PromptRecorder.h"
#include "core/Recordset.h"
#include "exports/ReportFiles.h"
#include "support/TestDatabase.h"
#include "form_framework/WindowOpening.h"
#include "form_framework/zIdentity.h"
#include "form_framework/zLabel.h"
#include "form_framework/zText.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QPrintPreviewWidget>
#include <QToolBar>
#include <QFile>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <map>

namespace {

// --- The program's preview of merged documents ---------------------------------------------------

// Holds what is handed to it, so a test can take the program's own presenter out and use it.
class NoPresenter final : public MergedDocumentPresenter {
public:
    void preview(std::unique_ptr<QTextDocument>, const QString&) override { }
    void print(std::unique_ptr<QTextDocument>, const QString&) override { }
};

TEST(MergedDocumentPreview, ALetterOpensAtItsPageWidthAndPrintsWordsThatCanBeFound)
{
    QFile templateFile(QStringLiteral(BRAMBLECOT_SOURCE_DIR "/program_files/Reports/Notification.html"));
    ASSERT_TRUE(templateFile.open(QIODevice::ReadOnly));
    TabData data;
    data.names = { QStringLiteral("Notification_Type"), QStringLiteral("Send_To_Name"), QStringLiteral("City"),
        QStringLiteral("Notification_Text") };
    data.records = { { QStringLiteral("Release Notice"), QStringLiteral("Jane Official"), QStringLiteral("Springfield"),
        QStringLiteral("Please collect your property from our office; the staff will find it.") } };
    QStringList missing;
    std::unique_ptr<QTextDocument> letter = MergeTemplate(QString::fromUtf8(templateFile.readAll()), data, missing);

    std::unique_ptr<MergedDocumentPresenter> program = SetMergedDocumentPresenter(std::make_unique<NoPresenter>());
    const QList<QWidget*> before = QApplication::topLevelWidgets();
    program->preview(std::move(letter), QStringLiteral("Notification"));
    SetMergedDocumentPresenter(std::move(program));
    PrintPreview* window = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (!before.contains(widget) && qobject_cast<PrintPreview*>(widget))
            window = qobject_cast<PrintPreview*>(widget);
    }
    ASSERT_NE(window, nullptr) << "the letter has no preview of the program's";
    window->resize(1000, 800);
    QApplication::processEvents();
    // The page spans the view's width: read, not a stamp in a corner.
    QPrintPreviewWidget* preview = window->previewWidget();
    EXPECT_EQ(preview->zoomMode(), QPrintPreviewWidget::FitToWidth);
    auto* view = preview->findChild<QGraphicsView*>();
    ASSERT_NE(view, nullptr);
    double pageWidth = 0;
    for (QGraphicsItem* page : view->scene()->items())
        pageWidth = std::max(pageWidth, view->mapFromScene(page->sceneBoundingRect()).boundingRect().width() * 1.0);
    EXPECT_GT(pageWidth, view->viewport()->width() * 0.8) << "page " << pageWidth << " of " << view->viewport()->width();

    // Its Print button asks the program's print dialog; the printed words are letters, not
    // ligature glyphs.
    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("letter.pdf"));
    PrintPreview::setPrinterChooser([&pdf](QPrinter& printer, QWidget*) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    });
    QAction* print = nullptr;
    for (QToolBar* tools : window->findChildren<QToolBar*>()) {
        for (QAction* action : tools->actions()) {
            if (action->text() == QLatin1String("Print"))
                print = action;
        }
    }
    ASSERT_NE(print, nullptr);
    print->trigger();
    PrintPreview::setPrinterChooser(nullptr);
    window->close();
    const QString text = RunTool(QStringLiteral("pdftotext"), { pdf, QStringLiteral("-") });
    for (const char* word : { "Springfield", "office", "Official", "find" })
        EXPECT_TRUE(text.contains(QString::fromUtf8(word))) << word << " in\n" << text.toStdString();
    EXPECT_FALSE(text.contains(QChar(0xFB01)) || text.contains(QChar(0xFB03))) << text.toStdString();
}

// --- Data files -------------------------------------------------------------------------------

TEST(TabData, ValuesWithTabsLineBreaksAndQuotesReadBackWhole)
{
    Recordset rs;
    rs.addResultSet({ { QStringLiteral("Code"), ColumnType::Text }, { QStringLiteral("Note"), ColumnType::Text },
                      { QStringLiteral("Id"), ColumnType::Integer } });
    const QString awkward[] = { QStringLiteral("a\tb"), QStringLiteral("line 1\r\nline 2"), QStringLiteral("\"quoted\" start"),
                                QStringLiteral("inner \" quote") };
    for (const QString& value : awkward) {
        rs.appendText(0, QStringLiteral("C"));
        rs.appendText(1, value);
        rs.appendNull(2);
        rs.finishRow();
    }
    rs.finishResultSet();
    const QString text = TabDataText(rs);
    EXPECT_TRUE(text.startsWith(QStringLiteral("Code\tNote\tId\r\nC\t\"a\tb\"\t\r\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("\tinner \" quote\t")));
    const TabData data = ParseTabData(text);
    EXPECT_EQ(data.names, (QStringList { QStringLiteral("Code"), QStringLiteral("Note"), QStringLiteral("Id") }));
    ASSERT_EQ(data.records.size(), 4u);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(data.records[i], (QStringList { QStringLiteral("C"), awkward[i], QString() }));
}

TEST(MailMergeTemplate, MalformedTemplatesAreRefused)
{
    TabData data;
    data.names = { QStringLiteral("A") };
    data.records = { { QStringLiteral("1") } };
    QStringList missing;
    for (const char* bad : { "<!-- BEGIN RECORD -->{{A}}", "{{A}} <!-- END RECORD -->", "{{A", "{{}}",
                             "<!-- BEGIN RECORD -->a<!-- END RECORD --><!-- BEGIN RECORD -->b<!-- END RECORD -->" })
        EXPECT_ANY_THROW(MergeTemplate(QString::fromUtf8(bad), data, missing)) << bad;
}

TEST(MailMergeTemplate, EveryRecordIsMergedAndMissingFieldsNamedOnce)
{
    TabData data;
    data.names = { QStringLiteral("Name") };
    data.records = { { QStringLiteral("Ann <A&B>") }, { QStringLiteral("Bob") } };
    QStringList missing;
    auto document = MergeTemplate(QStringLiteral("<html><body><p>{{Name}} {{Rank}} {{rank}}</p></body></html>"), data, missing);
    EXPECT_EQ(missing, QStringList { QStringLiteral("Rank") });
    const QString text = document->toPlainText();
    EXPECT_TRUE(text.contains(QStringLiteral("Ann <A&B>")));
    EXPECT_TRUE(text.contains(QStringLiteral("Bob")));
}

// --- Word reports on the database ---------------------------------------------------------------

class RecordingPresenter final : public MergedDocumentPresenter {
public:
    void preview(std::unique_ptr<QTextDocument> document, const QString& title) override
    {
        previews.push_back(std::move(document));
        titles << title;
    }
    void print(std::unique_ptr<QTextDocument> document, const QString& title) override
    {
        printed.push_back(std::move(document));
        titles << title;
    }
    static inline std::vector<std::unique_ptr<QTextDocument>> previews;
    static inline std::vector<std::unique_ptr<QTextDocument>> printed;
    static inline QStringList titles;
};

const QString kLabelsStatement = QStringLiteral("SELECT 'Evidence labels' AS \"Title\", 'C-0000000001' AS \"Code\", 'Knife' AS \"Name\"\r\n"
                                                "UNION ALL SELECT 'Evidence labels', 'C-0000000002', 'Gun'\r\n"
                                                "UNION ALL SELECT 'Evidence labels', 'C-0000000003', 'Phone'");

class WordReports : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        Prompts().clear();
        RecordingPresenter::previews.clear();
        RecordingPresenter::printed.clear();
        RecordingPresenter::titles.clear();
        m_previous = SetMergedDocumentPresenter(std::make_unique<RecordingPresenter>());
        QDir().mkpath(GetMainPath() + QStringLiteral("Reports"));
        QFile::remove(TemplatePath(QStringLiteral("Sample Labels")));
        ASSERT_TRUE(QFile::copy(QStringLiteral(BRAMBLECOT_SOURCE_DIR "/program_files/Reports/Sample Labels.html"),
                                TemplatePath(QStringLiteral("Sample Labels"))));
    }
    void TearDown() override
    {
        SetMergedDocumentPresenter(std::move(m_previous));
        DatabaseTest::TearDown();
    }
    std::unique_ptr<MergedDocumentPresenter> m_previous;
};

TEST_P(WordReports, ThreeRecordsGiveThreeLabelsWhoseBarcodesDecode)
{
    // A stale data file is replaced without a question.
    {
        QFile stale(MergeDataPath(QStringLiteral("Sample Labels")));
        ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
        stale.write("stale");
    }
    WordReport(QStringLiteral("Sample Labels"), kLabelsStatement, QStringLiteral("Sample Labels"), true);
    ASSERT_TRUE(Prompts().boxes.empty()) << Prompts().boxes.at(0).text.toStdString();
    ASSERT_EQ(RecordingPresenter::previews.size(), 1u);
    QFile dataFile(GetMainPath() + QStringLiteral("Temp/Sample Labels.txt"));
    ASSERT_TRUE(dataFile.open(QIODevice::ReadOnly));
    EXPECT_TRUE(dataFile.readAll().startsWith("Title\tCode\tName\r\nEvidence labels\tC-0000000001\tKnife\r\n"));

    // Drawn at three times the layout's resolution, as a page rendered for a printer would be: the
    // barcodes are sized for paper, narrower than a screen pixel per bar.
    QTextDocument* document = RecordingPresenter::previews.front().get();
    document->setTextWidth(1000);
    QImage page((document->size().toSize() + QSize(20, 20)) * 3, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.scale(3, 3);
        painter.translate(10, 10);
        document->drawContents(&painter);
    }
    QTemporaryDir folder;
    const QString png = folder.filePath(QStringLiteral("labels.png"));
    ASSERT_TRUE(page.save(png));
    QStringList decoded = RunTool(QStringLiteral("zbarimg"),
        { QStringLiteral("--quiet"), QStringLiteral("-Sdisable"), QStringLiteral("-Scode39.enable"), png })
                              .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    decoded.sort();
    EXPECT_EQ(decoded, (QStringList { QStringLiteral("CODE-39:C-0000000001"), QStringLiteral("CODE-39:C-0000000002"),
                                      QStringLiteral("CODE-39:C-0000000003") }));
}

// The shipped three-column label sheet printed to PDF as the print preview prints it: every label
// whole on one page, its texts in that page's text layer and its barcode decodable from that page
// rendered at 300 dpi; a sheet of several pages breaks between label rows.
TEST_P(WordReports, EveryLabelOfAPrintedSheetIsWholeAndDecodes)
{
    const struct {
        int records;
        QPageSize::PageSizeId page;
    } cases[]
        = { { 1, QPageSize::Letter }, { 3, QPageSize::A4 }, { 25, QPageSize::Letter }, { 70, QPageSize::Letter } };
    for (const auto& sheet : cases) {
        SCOPED_TRACE(sheet.records);
        RecordingPresenter::previews.clear();
        const QString statement
            = QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1)\r\n"
                             "SELECT 'Evidence labels' AS \"Title\", 'C-00000000' || (10 + i) AS \"Code\", "
                             "'Label ' || (100 + i) AS \"Name\" FROM n ORDER BY i")
                  .arg(sheet.records);
        ASSERT_TRUE(WordReport(QStringLiteral("Sample Labels"), statement, QStringLiteral("Sample Labels"), true));
        ASSERT_EQ(RecordingPresenter::previews.size(), 1u);

        QTemporaryDir folder;
        const QString pdf = folder.filePath(QStringLiteral("labels.pdf"));
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setPageSize(QPageSize(sheet.page));
        RecordingPresenter::previews.front()->print(&printer);

        // Per page: the codes its barcodes carry and its text.
        RunTool(QStringLiteral("pdftoppm"),
            { QStringLiteral("-r"), QStringLiteral("300"), QStringLiteral("-png"), pdf,
                folder.filePath(QStringLiteral("page")) });
        std::map<QString, QStringList> barcodePages; // code -> pages where it decodes
        QStringList pageTexts;
        static const QRegularExpression pageNumber(QStringLiteral("(\\d+)\\.png$"));
        for (const QString& file : QDir(folder.path()).entryList({ QStringLiteral("page*.png") })) {
            const QString page = pageNumber.match(file).captured(1).remove(QRegularExpression(QStringLiteral("^0+")));
            const QStringList codes = RunTool(QStringLiteral("zbarimg"),
                { QStringLiteral("--quiet"), QStringLiteral("-Sdisable"), QStringLiteral("-Scode39.enable"),
                    folder.filePath(file) })
                                          .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
            for (const QString& code : codes)
                barcodePages[code.mid(8)] << page;
            pageTexts << page + QLatin1Char('\n')
                    + RunTool(QStringLiteral("pdftotext"),
                        { QStringLiteral("-layout"), QStringLiteral("-f"), page, QStringLiteral("-l"), page, pdf,
                            QStringLiteral("-") });
        }
        auto pagesHolding = [&](const QString& text) {
            QStringList pages;
            for (const QString& pageText : pageTexts) {
                if (pageText.contains(text))
                    pages << pageText.section(QLatin1Char('\n'), 0, 0);
            }
            return pages;
        };
        EXPECT_EQ(barcodePages.size(), static_cast<size_t>(sheet.records));
        for (int i = 1; i <= sheet.records; ++i) {
            const QString code = QStringLiteral("C-00000000%1").arg(10 + i);
            const QString name = QStringLiteral("Label %1").arg(100 + i);
            const QStringList where = barcodePages[code];
            EXPECT_EQ(where.size(), 1) << code.toStdString() << " decodes on pages "
                                       << where.join(QLatin1Char(',')).toStdString();
            // The code and name under and over the barcode stand on the barcode's page.
            const std::string pages = where.join(QLatin1Char(',')).toStdString();
            EXPECT_EQ(pagesHolding(code).join(QLatin1Char(',')).toStdString(), pages) << code.toStdString();
            EXPECT_EQ(pagesHolding(name).join(QLatin1Char(',')).toStdString(), pages)
                << name.toStdString() << "\n"
                << pageTexts.join(QLatin1Char('\n')).toStdString();
        }
    }
}

TEST_P(WordReports, PrintingPrintsTheMergedRecordsNotTheTemplate)
{
    WordReport(QStringLiteral("Sample Labels"), kLabelsStatement, QStringLiteral("Sample Labels"), false);
    ASSERT_EQ(RecordingPresenter::printed.size(), 1u);
    const QString text = RecordingPresenter::printed.front()->toPlainText();
    for (const char* name : { "Knife", "Gun", "Phone" })
        EXPECT_TRUE(text.contains(QString::fromUtf8(name))) << name;
    EXPECT_FALSE(text.contains(QStringLiteral("{{")));
}

TEST_P(WordReports, EmptyResultMissingTemplateAndMissingFields)
{
    WordReport(QStringLiteral("Sample Labels"), QStringLiteral("SELECT 'x' AS \"Code\" WHERE 1 = 0"), QStringLiteral("Empty"), true);
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_EQ(Prompts().boxes.at(0).text, QStringLiteral("No records found."));
    EXPECT_FALSE(QFile::exists(MergeDataPath(QStringLiteral("Empty"))));

    Prompts().clear();
    WordReport(QStringLiteral("No Such Template"), kLabelsStatement, QStringLiteral("X"), true);
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_EQ(Prompts().boxes.at(0).text, QStringLiteral("Cannot find template <") + TemplatePath(QStringLiteral("No Such Template")) + QStringLiteral(">"));

    Prompts().clear();
    WordReport(QStringLiteral("Sample Labels"), QStringLiteral("SELECT 'C-0000000009' AS \"Code\""), QStringLiteral("Partial"), true);
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_TRUE(Prompts().boxes.at(0).text.endsWith(QStringLiteral("<Title>, <Name>"))) << Prompts().boxes.at(0).text.toStdString();
    EXPECT_EQ(RecordingPresenter::previews.size(), 1u);
}

// --- Report files -------------------------------------------------------------------------------

const char* const kReport = R"(<?xml version="1.0"?>
<Report title="Items by Location" orientation="portrait">
  <PageFooter left="Evidence room" right="Page {Page} of {Pages}"/>
  <Group field="Location" caption="Location: {Location}" totals="yes"/>
  <Column field="Item" caption="Item" width="3"/>
  <Column field="Value" caption="Value" width="1" align="right" total="sum"/>
</Report>
)";

class ReportFiles : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        Prompts().clear();
        QDir().mkpath(GetMainPath() + QStringLiteral("Reports"));
        QFile file(GetMainPath() + QStringLiteral("Reports/Items.rpt"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(kReport);
    }
};

TEST_P(ReportFiles, RenderedPdfHoldsTitleRowsAndTotals)
{
    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("items.pdf"));
    RenderReportToPdf(GetMainPath() + QStringLiteral("Reports/Items.rpt"),
                      QStringLiteral("SELECT 'Vault' AS \"Location\", 'Knife' AS \"Item\", 10 AS \"Value\"\r\n"
                                     "UNION ALL SELECT 'Vault', 'Gun', 32\r\n"
                                     "UNION ALL SELECT 'Shelf', 'Phone', 5"),
                      pdf);
    const QString text = RunTool(QStringLiteral("pdftotext"), { QStringLiteral("-layout"), pdf, QStringLiteral("-") });
    for (const char* expected : { "Items by Location", "Location: Vault", "Knife", "Gun", "Location: Shelf", "Phone",
                                  "Total Location: Vault", "42", "Grand Total", "47", "Page 1 of 1", "Evidence room" })
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n" << text.toStdString();
}

// Where text stands on its line of pdftotext -layout output: the first line holding the pattern,
// and the start and end column of the match.
struct Placed {
    qsizetype start = -1;
    qsizetype end = -1;
};
Placed placeOf(const QString& layout, const QString& pattern)
{
    const QRegularExpression expression(pattern);
    for (const QString& line : layout.split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch match = expression.match(line);
        if (match.hasMatch())
            return { match.capturedStart(), match.capturedEnd() };
    }
    return {};
}

TEST_P(ReportFiles, ColumnsKeepAGapAndTotalsStandUnderTheirOwnColumn)
{
    const Engine engine = GetParam();
    ASSERT_TRUE(Act_ExecuteSQL(
        QStringLiteral("CREATE TABLE Report_Cases (Case_ID INTEGER, Status %1, Case_Name %1, Items INTEGER, Box %1)")
            .arg(SchemaToken(engine, QStringLiteral("{NAME}")))));
    ASSERT_TRUE(
        Act_ExecuteSQL(QStringLiteral("INSERT INTO Report_Cases (Case_ID, Status, Case_Name, Items, Box) VALUES "
                                      "(15, 'Closed', 'Knife', 20, 'B1'), (16, 'Open', 'Gun', 7, 'B2')")));
    // Right-aligned narrow columns beside left-aligned ones, totals in adjacent columns, and a first
    // column with a total of its own, where the caption of the totals would otherwise stand.
    QFile file(GetMainPath() + QStringLiteral("Reports/Cases.rpt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"(<Report title="Cases">
  <Column field="Case_ID" caption="ID" width="0.6" align="right" total="count"/>
  <Column field="Status" caption="Status" width="1.2"/>
  <Column field="Case_Name" caption="Name" width="3"/>
  <Column field="Items" caption="Items" width="0.6" align="right" total="sum"/>
  <Column field="Box" caption="Box" width="0.6" total="count"/>
</Report>)");
    file.close();
    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("cases.pdf"));
    ASSERT_TRUE(RenderReportToPdf(file.fileName(),
        QStringLiteral("SELECT Case_ID, Status, Case_Name, Items, Box FROM Report_Cases ORDER BY Case_ID"), pdf));
    const QString text = RunTool(QStringLiteral("pdftotext"), { QStringLiteral("-layout"), pdf, QStringLiteral("-") });
    SCOPED_TRACE(text.toStdString());
    for (const char* separate : { "\\bID +Status +Name +Items +Box\\b", "\\b15 +Closed +Knife +20 +B1\\b",
             "\\b16 +Open +Gun +7 +B2\\b", "Grand Total" })
        EXPECT_TRUE(placeOf(text, QString::fromUtf8(separate)).start >= 0) << separate;
    // Each total under its own column: right-aligned figures end where the column's values end,
    // left-aligned ones start where they start, and the caption stands on a line of its own.
    const QStringList lines = text.split(QLatin1Char('\n'));
    const QString totals = lines.filter(QRegularExpression(QStringLiteral("^ *2 +27 +2 *$"))).value(0);
    const QString row = lines.filter(QStringLiteral("Knife")).value(0);
    ASSERT_FALSE(totals.isEmpty());
    auto endOf = [](const QString& line, const QString& value, qsizetype from = 0) {
        const QRegularExpressionMatch match
            = QRegularExpression(QStringLiteral("\\b") + value + QStringLiteral("\\b")).match(line, from);
        return match.hasMatch() ? match.capturedEnd() : -1;
    };
    auto startOf = [](const QString& line, const QString& value, qsizetype from = 0) {
        const QRegularExpressionMatch match
            = QRegularExpression(QStringLiteral("\\b") + value + QStringLiteral("\\b")).match(line, from);
        return match.hasMatch() ? match.capturedStart() : -1;
    };
    EXPECT_LE(qAbs(endOf(totals, QStringLiteral("2")) - endOf(row, QStringLiteral("15"))), 1);
    EXPECT_LE(qAbs(endOf(totals, QStringLiteral("27")) - endOf(row, QStringLiteral("20"))), 1);
    EXPECT_LE(qAbs(startOf(totals, QStringLiteral("2"), endOf(totals, QStringLiteral("27")))
                  - startOf(row, QStringLiteral("B1"))),
        1);
}

TEST_P(ReportFiles, MalformedFilesAndMissingFieldsAreNamed)
{
    EXPECT_THROW(ParseReportDefinition("<Report><Column/></Report>", QStringLiteral("a.rpt")), AppError);
    EXPECT_THROW(ParseReportDefinition("<Report", QStringLiteral("a.rpt")), AppError);
    EXPECT_THROW(ParseReportDefinition("<Report><Column field=\"A\" total=\"median\"/></Report>", QStringLiteral("a.rpt")), AppError);
    try {
        LoadReportDefinition(QStringLiteral("/no/such.rpt"));
        ADD_FAILURE();
    } catch (const AppError& error) {
        EXPECT_TRUE(error.description().startsWith(QStringLiteral("Cannot read report </no/such.rpt>"))) << error.description().toStdString();
    }
    ReportPreview preview;
    EXPECT_FALSE(preview.Act_ShowReport(GetMainPath() + QStringLiteral("Reports/Items.rpt"), QStringLiteral("SELECT 1 AS \"Item\"")));
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_TRUE(Prompts().boxes.at(0).text.contains(QStringLiteral("needs the field <Value>"))) << Prompts().boxes.at(0).text.toStdString();
}

TEST_P(ReportFiles, ShowCrystalReportQueuesFileAndStatementForTheViewer)
{
    static QString seenFile;
    static QString seenSql;
    FormRegistry::registerForm(QStringLiteral("frmCrystal"), [] {
        auto* window = new DataWindow(QStringLiteral("frmCrystal"));
        FormParamDict& parameters = FormParams::entry(QStringLiteral("frmCrystal"));
        seenFile = parameters.value(QStringLiteral("ReportFile")).toString();
        seenSql = parameters.value(QStringLiteral("SQL")).toString();
        return window;
    });
    SetReportViewerWindow(QStringLiteral("frmCrystal"));
    ShowCrystalReport(QStringLiteral("Items.rpt"), QStringLiteral("SELECT 1"));
    EXPECT_EQ(seenFile, GetMainPath() + QStringLiteral("Reports/Items.rpt"));
    EXPECT_EQ(seenSql, QStringLiteral("SELECT 1"));

    ShowCrystalReport(QStringLiteral("Missing.rpt"), QStringLiteral("SELECT 1"));
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_EQ(Prompts().boxes.at(0).text, QStringLiteral("Cannot find Crystal Report <") + GetMainPath() + QStringLiteral("Reports/Missing.rpt>"));
}

INSTANTIATE_TEST_SUITE_P(Engines, WordReports, ::testing::ValuesIn(TestEngines()), EngineTestName);
INSTANTIATE_TEST_SUITE_P(Engines, ReportFiles, ::testing::ValuesIn(TestEngines()), EngineTestName);

// --- Field listing ------------------------------------------------------------------------------

TEST(FieldListingOrder, TopThenLeftWithTheListingsOwnExchanges)
{
    std::vector<FieldEntry> entries { { QStringLiteral("A"), {}, 10, 20 }, { QStringLiteral("B"), {}, 10, 20 }, { QStringLiteral("C"), {}, 50, 0 },
                                      { QStringLiteral("D"), {}, 5, 0 }, { QStringLiteral("E"), {}, 0, 40 } };
    SortFieldEntries(entries);
    QStringList order;
    for (const FieldEntry& entry : entries)
        order << entry.GoodName;
    // D and C share the top line; A and B tie and the walk from the end leaves them reversed.
    EXPECT_EQ(order, (QStringList { QStringLiteral("D"), QStringLiteral("C"), QStringLiteral("B"), QStringLiteral("A"), QStringLiteral("E") }));
    std::vector<FieldEntry> none;
    SortFieldEntries(none);
    EXPECT_TRUE(none.empty());
}

class FieldListing : public DatabaseTest {
};

TEST_P(FieldListing, ListsVisibleApplicableFieldsInPlaceOrder)
{
    DataWindow window(QStringLiteral("frmItem"));
    window.resize(600, 400);
    auto* name = new zText(&window);
    name->setGoodName(QStringLiteral("Item Name"));
    name->move(200, 40);
    name->setValue(QStringLiteral("Knife"));
    auto* id = new zIdentity(&window);
    id->setGoodName(QStringLiteral("Item ID"));
    id->move(10, 10);
    id->setValue(42);
    auto* hidden = new zText(&window);
    hidden->setGoodName(QStringLiteral("Hidden"));
    hidden->move(0, 0);
    hidden->hide();
    auto* notApplicable = new zText(&window);
    notApplicable->setGoodName(QStringLiteral("Serial"));
    notApplicable->setApplicable(false);
    notApplicable->move(0, 5);
    auto* label = new zLabel(&window);
    label->move(0, 1);
    auto* colour = new zText(&window);
    colour->setGoodName(QStringLiteral("Colour"));
    colour->move(10, 40);

    const QStringList lines = FieldListingText(&window, QStringLiteral("Item Info")).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 9);
    EXPECT_EQ(lines.at(0), QStringLiteral("Item Info"));
    EXPECT_EQ(lines.at(1), QString());
    EXPECT_TRUE(lines.at(2).startsWith(QStringLiteral("Created on ")));
    EXPECT_TRUE(lines.at(3).startsWith(QStringLiteral("Database: ")));
    EXPECT_EQ(lines.at(4), QString());
    EXPECT_EQ(lines.at(5), QStringLiteral("Item ID:\t42"));
    EXPECT_EQ(lines.at(6), QStringLiteral("Colour:\t"));
    EXPECT_EQ(lines.at(7), QStringLiteral("Item Name:\tKnife"));
    EXPECT_EQ(lines.at(8), QString());
}

INSTANTIATE_TEST_SUITE_P(Engines, FieldListing, ::testing::ValuesIn(TestEngines()), EngineTestName);

} // namespace
