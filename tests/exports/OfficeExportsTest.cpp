#include "core/AppInfo.h"
#include "core/DesktopOpener.h"
#include "core/FileDialogs.h"
#include "exports/OfficePrograms.h"
#include "support/PromptRecorder.h"
#include "core/Recordset.h"
#include "exports/RecordsetFiles.h"
#include "exports/SpreadsheetExport.h"
#include "support/TestDatabase.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

namespace {

// Items: Id (integer), Name (text), Value (currency), Seized (date-time); rows as given.
Recordset itemsRecordset(int rows, bool twoResultSets = false)
{
    Recordset rs;
    rs.addResultSet({ { QStringLiteral("Id"), ColumnType::Integer },
                      { QStringLiteral("Name"), ColumnType::Text },
                      { QStringLiteral("Value"), ColumnType::Currency },
                      { QStringLiteral("Seized"), ColumnType::DateTime } });
    for (int r = 1; r <= rows; ++r) {
        rs.appendInteger(0, r);
        rs.appendText(1, QStringLiteral("Item %1").arg(r));
        rs.appendDouble(2, r * 10.25);
        rs.appendValue(3, QDateTime(QDate(2024, 3, r), QTime(14, 7, 9)));
        rs.finishRow();
    }
    rs.finishResultSet();
    if (twoResultSets) {
        rs.addResultSet({ { QStringLiteral("Code"), ColumnType::Text } });
        rs.appendText(0, QStringLiteral("C-0000000001"));
        rs.finishRow();
        rs.finishResultSet();
    }
    return rs;
}

// The text of one part of a workbook (a zip package).
QString workbookPart(const QString& path, const QString& part)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), { QStringLiteral("-p"), path, part });
    unzip.waitForFinished();
    return QString::fromUtf8(unzip.readAllStandardOutput());
}

QStringList sheetNames(const QString& path)
{
    QStringList names;
    QXmlStreamReader xml(workbookPart(path, QStringLiteral("xl/workbook.xml")));
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("sheet"))
            names << xml.attributes().value(QStringLiteral("name")).toString();
    }
    return names;
}

class Workbook : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_folder.isValid()); }
    QString path() const { return m_folder.filePath(QStringLiteral("out.xlsx")); }
    WorkbookRequest request() const
    {
        WorkbookRequest r;
        r.title = QStringLiteral("Items");
        r.subtitle = QStringLiteral("All of them");
        r.signature = QStringLiteral("Created on 03/05/2024 02:07:09 PM by clerk");
        r.databaseName = QStringLiteral("Evidence on (local)");
        r.statement = QStringLiteral("EXEC usp_Evd_Items\r\n@Name = 'x',\r\n@Value = 1");
        return r;
    }
    QTemporaryDir m_folder;
};

TEST_F(Workbook, DescriptionSheetHoldsTheTextsAndOneStatementLinePerRow)
{
    Recordset rs = itemsRecordset(2);
    WriteExportWorkbook(path(), rs, request());
    EXPECT_EQ(sheetNames(path()), (QStringList { QStringLiteral("Description"), QStringLiteral("Data1") }));
    const QString description = workbookPart(path(), QStringLiteral("xl/worksheets/sheet1.xml"));
    for (const char* expected : { "r=\"A1\" t=\"inlineStr\"><is><t>Items", "r=\"A3\" t=\"inlineStr\"><is><t>All of them",
                                  "r=\"A5\" t=\"inlineStr\"><is><t>Created on", "r=\"A6\" t=\"inlineStr\"><is><t>Database: Evidence on (local)",
                                  "r=\"A8\" t=\"inlineStr\"><is><t>Query:", "r=\"B8\" t=\"inlineStr\"><is><t>EXEC usp_Evd_Items",
                                  "r=\"B9\" t=\"inlineStr\"><is><t>@Name = 'x',", "r=\"B10\" t=\"inlineStr\"><is><t>@Value = 1" })
        EXPECT_TRUE(description.contains(QString::fromUtf8(expected).replace(QLatin1String("'"), QLatin1String("&apos;")))
                    || description.contains(QString::fromUtf8(expected)))
            << expected;
}

TEST_F(Workbook, OneResultSetGetsBoldTextHeaderTotalsFilterAndFrozenHeader)
{
    Recordset rs = itemsRecordset(10);
    WriteExportWorkbook(path(), rs, request());
    const QString sheet = workbookPart(path(), QStringLiteral("xl/worksheets/sheet2.xml"));
    // Data in rows 2 to 11: the currency column's subtotal in row 12 adds exactly those rows.
    EXPECT_TRUE(sheet.contains(QStringLiteral("<c r=\"C12\" s=\""))) << sheet.toStdString();
    EXPECT_TRUE(sheet.contains(QStringLiteral("<f>SUBTOTAL(9,C2:C11)</f><v>563.75</v>")));
    EXPECT_FALSE(sheet.contains(QStringLiteral("r=\"A12\"")));
    EXPECT_TRUE(sheet.contains(QStringLiteral("<autoFilter ref=\"A1:D11\"/>")));
    EXPECT_TRUE(sheet.contains(QStringLiteral("<pane ySplit=\"1\" topLeftCell=\"A2\" activePane=\"bottomLeft\" state=\"frozen\"/>")));
    EXPECT_TRUE(sheet.contains(QStringLiteral("<row r=\"1\" ")) && sheet.contains(QStringLiteral("customFormat=\"1\"")));

    // The header and totals formats: bold text ("@"), the currency style's built-in format 44, and
    // the date-time format of the date column.
    const QString styles = workbookPart(path(), QStringLiteral("xl/styles.xml"));
    EXPECT_TRUE(styles.contains(QStringLiteral("formatCode=\"mm/dd/yyyy h:mm:ss AM/PM\"")));
    EXPECT_TRUE(styles.contains(QStringLiteral("formatCode=\"@\""))) << styles.toStdString();
    EXPECT_TRUE(styles.contains(QStringLiteral("numFmtId=\"44\"")));
    EXPECT_TRUE(styles.contains(QStringLiteral("<b/>")));
    // Column widths are set from the texts (the library cannot fit them).
    EXPECT_TRUE(sheet.contains(QStringLiteral("<cols>")));
}

TEST_F(Workbook, ResultSetsGoOnSheetsOfTheirOwnOrOneBelowTheOther)
{
    {
        Recordset rs = itemsRecordset(2, true);
        WorkbookRequest r = request();
        r.sheetNames = { QStringLiteral("Items") };
        WriteExportWorkbook(path(), rs, r);
        // A name for the first sheet only: the surplus sheet keeps its number.
        EXPECT_EQ(sheetNames(path()), (QStringList { QStringLiteral("Description"), QStringLiteral("Items"), QStringLiteral("Data2") }));
    }
    {
        Recordset rs = itemsRecordset(2, true);
        WorkbookRequest r = request();
        r.sheetPerResultSet = false;
        WriteExportWorkbook(path(), rs, r);
        EXPECT_EQ(sheetNames(path()), (QStringList { QStringLiteral("Description"), QStringLiteral("Data") }));
        const QString sheet = workbookPart(path(), QStringLiteral("xl/worksheets/sheet2.xml"));
        // Block 1: header row 1, rows 2-3, totals row 4; two empty rows; block 2's header in row 7.
        EXPECT_TRUE(sheet.contains(QStringLiteral("<f>SUBTOTAL(9,C2:C3)</f>")));
        EXPECT_TRUE(sheet.contains(QStringLiteral("<c r=\"A7\"")));
        EXPECT_TRUE(sheet.contains(QStringLiteral("C-0000000001")));
        EXPECT_FALSE(sheet.contains(QStringLiteral("autoFilter")));
        EXPECT_FALSE(sheet.contains(QStringLiteral("frozen")));
    }
}

TEST_F(Workbook, DatesAreSerialsOfTheirFieldsAndNumberColumnsAsWideAsTheirText)
{
    Recordset rs;
    rs.addResultSet({ { QStringLiteral("Day"), ColumnType::Date }, { QStringLiteral("At"), ColumnType::DateTime },
        { QStringLiteral("Ratio"), ColumnType::Double } });
    const double ratios[] = { 0.1 + 0.2, 123456.7890123456 };
    for (const double ratio : ratios) {
        rs.appendValue(0, QDate(2024, 3, 5));
        rs.appendValue(1, QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)));
        rs.appendDouble(2, ratio);
        rs.finishRow();
    }
    rs.finishResultSet();
    WriteExportWorkbook(path(), rs, request());
    const QString sheet = workbookPart(path(), QStringLiteral("xl/worksheets/sheet2.xml"));
    EXPECT_TRUE(sheet.contains(QStringLiteral("<v>45356</v>"))) << sheet.toStdString();
    EXPECT_TRUE(sheet.contains(QStringLiteral("<v>45356.5882986111")));
    // "123456.789012346" and two characters of margin.
    EXPECT_TRUE(sheet.contains(QStringLiteral("<col min=\"3\" max=\"3\" width=\"18.")));
}

TEST_F(Workbook, AnEmptyResultSetKeepsItsHeaderButGetsNoTotals)
{
    Recordset rs = itemsRecordset(0);
    WriteExportWorkbook(path(), rs, request());
    const QString sheet = workbookPart(path(), QStringLiteral("xl/worksheets/sheet2.xml"));
    EXPECT_TRUE(sheet.contains(QStringLiteral("<t>Value</t>")));
    EXPECT_FALSE(sheet.contains(QStringLiteral("SUBTOTAL")));
}

TEST_F(Workbook, PageSetupGivesTitlesHeaderFooterMarginsAndLandscape)
{
    Recordset rs = itemsRecordset(1);
    WorkbookRequest r = request();
    r.title = QStringLiteral("Guns & Knives");
    r.pageSetup = true;
    WriteExportWorkbook(path(), rs, r);
    const QString sheet = workbookPart(path(), QStringLiteral("xl/worksheets/sheet2.xml"));
    EXPECT_TRUE(sheet.contains(QStringLiteral("<pageMargins left=\"0.5\" right=\"0.5\" top=\"0.5\" bottom=\"0.5\" header=\"0.25\" footer=\"0.25\"/>")))
        << sheet.toStdString();
    EXPECT_TRUE(sheet.contains(QStringLiteral("orientation=\"landscape\"")));
    EXPECT_TRUE(sheet.contains(QStringLiteral("pageOrder=\"overThenDown\"")));
    EXPECT_TRUE(sheet.contains(QStringLiteral("<oddHeader>&amp;CGuns &amp;&amp; Knives</oddHeader>")));
    EXPECT_TRUE(sheet.contains(QStringLiteral("<oddFooter>&amp;RPage &amp;P of &amp;N</oddFooter>")));
    const QString workbook = workbookPart(path(), QStringLiteral("xl/workbook.xml"));
    EXPECT_TRUE(workbook.contains(QStringLiteral("_xlnm.Print_Titles")));
}

TEST_F(Workbook, AFailedWriteLeavesThePreviousFileAlone)
{
    QFile previous(path());
    ASSERT_TRUE(previous.open(QIODevice::WriteOnly));
    previous.write("previous");
    previous.close();
    Recordset rs = itemsRecordset(1);
    WorkbookRequest r = request();
    r.sheetNames = { QString(2000, QLatin1Char('x')) }; // still valid: the name is cut to 31 characters
    WriteExportWorkbook(path(), rs, r);
    EXPECT_EQ(sheetNames(path()).at(1).size(), 31);
    // Into a folder that cannot be written the export fails and the old file stays.
    EXPECT_ANY_THROW(WriteExportWorkbook(QStringLiteral("/proc/no-such/out.xlsx"), rs, r));
}

// --- XML rowset and ADTG ---------------------------------------------------------------------

Recordset smallRecordset()
{
    Recordset rs;
    rs.addResultSet({ { QStringLiteral("Id"), ColumnType::Integer }, { QStringLiteral("Item Name"), ColumnType::Text } });
    rs.appendInteger(0, 7);
    rs.appendText(1, QStringLiteral("Knife"));
    rs.finishRow();
    rs.appendInteger(0, 8);
    rs.appendNull(1);
    rs.finishRow();
    rs.finishResultSet();
    return rs;
}

TEST(RecordsetXml, SchemaThenRowsReadBack)
{
    Recordset rs = itemsRecordset(2);
    const QByteArray xml = RecordsetToXml(rs);
    QXmlStreamReader reader(xml);
    QStringList types;
    QStringList names;
    std::vector<QXmlStreamAttributes> rows;
    while (!reader.atEnd()) {
        reader.readNext();
        if (!reader.isStartElement())
            continue;
        if (reader.name() == QLatin1String("AttributeType"))
            names << reader.attributes().value(QStringLiteral("name")).toString();
        else if (reader.name() == QLatin1String("datatype"))
            types << reader.attributes().value(QStringLiteral("uuid:C2F41010-65B3-11d1-A29F-00AA00C14882"), QStringLiteral("type")).toString();
        else if (reader.name() == QLatin1String("row") && reader.namespaceUri() == QLatin1String("#RowsetSchema"))
            rows.push_back(reader.attributes());
    }
    ASSERT_FALSE(reader.hasError()) << reader.errorString().toStdString();
    EXPECT_EQ(names, (QStringList { QStringLiteral("Id"), QStringLiteral("Name"), QStringLiteral("Value"), QStringLiteral("Seized") }));
    EXPECT_EQ(types, (QStringList { QStringLiteral("int"), QStringLiteral("string"), QStringLiteral("i8"), QStringLiteral("dateTime") }));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].value(QStringLiteral("Id")), QLatin1String("2"));
    EXPECT_EQ(rows[1].value(QStringLiteral("Name")), QLatin1String("Item 2"));
    EXPECT_EQ(rows[1].value(QStringLiteral("Value")), QLatin1String("20.5"));
    EXPECT_EQ(rows[1].value(QStringLiteral("Seized")), QLatin1String("2024-03-02T14:07:09"));
}

TEST(RecordsetXml, NullsAreLeftOutAndAwkwardNamesKeptBesideTheirAttribute)
{
    const QByteArray xml = RecordsetToXml(smallRecordset());
    EXPECT_TRUE(xml.contains("name=\"c1\" rs:name=\"Item Name\"")) << xml.toStdString();
    EXPECT_TRUE(xml.contains("<z:row Id=\"8\"/>"));
    EXPECT_TRUE(xml.contains("<z:row Id=\"7\" c1=\"Knife\"/>"));
}

TEST(RecordsetAdtg, SmallRecordsetMatchesTheTableGramByteForByte)
{
    // Built by hand from the format description: header, handler options, result descriptor,
    // record-set context, two column descriptors, two unchanged rows and the done token.
    const QByteArray expected = QByteArray::fromHex(
        // header: token, size 7, "TG!", version 1.0, little-endian, Unicode
        "01" "07" "544721" "0100" "00" "01"
        // handler options: token, size 25, RecordSet GUID, all rows, three empty strings, synchronous
        "02" "1900" "b692f23f04b2cf118d2300aa005ffe58" "03" "0000" "0000" "0000" "0100"
        // result descriptor: token, size 33, GUID, reserved, snapshot, not normalised, 2 visible,
        // 2 total, 0 computed, 0 tables, 0 order-by, 2 rows
        "03" "2100" "3a1c528e6b0d4f479b2e4252414d424c" "00" "00" "00" "0200" "0200" "0000" "0000" "0000" "02000000"
        // record-set context: token, size 16, the descriptor's GUID
        "10" "1000" "3a1c528e6b0d4f479b2e4252414d424c"
        // column 1 "Id": presence (name), ordinal 1, name, DBTYPE_I4, max 4, precision 10, scale 0,
        // fixed|nullable|maybe-null, visible
        "06" "1f00" "010000" "0100" "0200" "49006400" "0300" "04000000" "0a000000" "00000000" "70000000" "ffff"
        // column 2 "Item Name": DBTYPE_WSTR, 5 characters at most, not fixed
        "06" "2d00" "010000" "0200" "0900" "4900740065006d0020004e0061006d006500" "8200" "05000000" "00000000" "00000000"
        "60000000" "ffff"
        // row 1: no nulls, 7, 10 bytes of "Knife"
        "07" "00" "07000000" "0a000000" "4b006e006900660065"
        "00"
        // row 2: the second column null, 8
        "07" "02" "08000000"
        // done
        "0f");
    const QByteArray actual = RecordsetToAdtg(smallRecordset());
    EXPECT_EQ(actual.toHex().toStdString(), expected.toHex().toStdString());
}

// --- The file export through the save dialog, on both engines -----------------------------------

class AnsweringDialogs final : public FileDialogs {
public:
    explicit AnsweringDialogs(QString answer)
        : m_answer(std::move(answer))
    {
    }
    QString saveFileName(QWidget*, const QString& title, const QString&, const QString& fileName, const QString& filter) override
    {
        asked << title << fileName << filter;
        return m_answer;
    }
    QString openFileName(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    static inline QStringList asked;

private:
    QString m_answer;
};

class SaveRecordset : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        Prompts().clear();
        AnsweringDialogs::asked.clear();
        ASSERT_TRUE(m_folder.isValid());
    }
    QString target(const QString& name) const { return m_folder.filePath(name); }
    QTemporaryDir m_folder;
};

TEST_P(SaveRecordset, DialogTextsAndTheFileWritten)
{
    const QString path = target(QStringLiteral("Items.xml"));
    Dialogs::setFiles(std::make_unique<AnsweringDialogs>(path));
    SaveRecordsetAs(QStringLiteral("SELECT 1 AS \"Id\", 'Knife' AS \"Name\""), 1, QStringLiteral("Items"));
    EXPECT_EQ(AnsweringDialogs::asked, (QStringList { QStringLiteral("Save Data In XML Format As"), QStringLiteral("Items.xml"),
                                                      QStringLiteral("Extensible Markup Language (*.xml)") }));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("<z:row Id=\"1\" Name=\"Knife\"/>"));

    AnsweringDialogs::asked.clear();
    Dialogs::setFiles(std::make_unique<AnsweringDialogs>(target(QStringLiteral("Items.adtg"))));
    SaveRecordsetAs(QStringLiteral("SELECT 1 AS \"Id\""), 0, QStringLiteral("Items"));
    EXPECT_EQ(AnsweringDialogs::asked, (QStringList { QStringLiteral("Save Data In ADTG Format As"), QStringLiteral("Items.adtg"),
                                                      QStringLiteral("Advanced Data TableGram (*.adtg)") }));
    EXPECT_TRUE(QFile::exists(target(QStringLiteral("Items.adtg"))));
}

TEST_P(SaveRecordset, CancelOtherFormatAndFailingQueryLeaveFilesAlone)
{
    const QString path = target(QStringLiteral("Old.xml"));
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();

    Dialogs::setFiles(std::make_unique<AnsweringDialogs>(QString()));
    SaveRecordsetAs(QStringLiteral("SELECT 1"), 1, QStringLiteral("Old"));
    AnsweringDialogs::asked.clear();
    Dialogs::setFiles(std::make_unique<AnsweringDialogs>(path));
    SaveRecordsetAs(QStringLiteral("SELECT 1"), 2, QStringLiteral("Old"));
    EXPECT_TRUE(AnsweringDialogs::asked.isEmpty());
    EXPECT_FALSE(SaveRecordsetAs(QStringLiteral("SELECT * FROM No_Such_Table"), 1, QStringLiteral("Old")));
    QFile check(path);
    ASSERT_TRUE(check.open(QIODevice::ReadOnly));
    EXPECT_EQ(check.readAll(), QByteArray("old"));
}

// --- The spreadsheet export as a whole --------------------------------------------------------

class RecordingOpener final : public DesktopOpener {
public:
    explicit RecordingOpener(bool succeed)
        : m_succeed(succeed)
    {
    }
    bool open(const QUrl& address) override
    {
        opened << address;
        return m_succeed;
    }
    static inline QList<QUrl> opened;

private:
    bool m_succeed;
};

class SpreadsheetExport : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        Prompts().clear();
        RecordingOpener::opened.clear();
    }
};

TEST_P(SpreadsheetExport, TheWorkbookIsWrittenToTempAndOpened)
{
    Desktop::setOpener(std::make_unique<RecordingOpener>(true));
    ExportToExcel(QStringLiteral("SELECT 1 AS \"Id\""), QStringLiteral("Cases"), { QStringLiteral("Cases") });
    ASSERT_TRUE(Prompts().boxes.empty()) << Prompts().boxes.at(0).text.toStdString();
    ASSERT_EQ(RecordingOpener::opened.size(), 1);
    EXPECT_EQ(RecordingOpener::opened.at(0).toLocalFile(), GetMainPath() + QStringLiteral("Temp/Cases.xlsx"));
    EXPECT_EQ(sheetNames(GetMainPath() + QStringLiteral("Temp/Cases.xlsx")), (QStringList { QStringLiteral("Description"), QStringLiteral("Cases") }));
}

TEST_P(SpreadsheetExport, NoProgramToOpenItSaysCannotOpenExcel)
{
    Desktop::setOpener(std::make_unique<RecordingOpener>(false));
    ExportToExcel(QStringLiteral("SELECT 1 AS \"Id\""), QStringLiteral("Cases"));
    ASSERT_EQ(Prompts().boxes.size(), 2u);
    EXPECT_EQ(Prompts().boxes.at(1).text, QStringLiteral("Cannot open Excel."));
    EXPECT_EQ(Prompts().boxes.at(1).title, QStringLiteral("Error"));
}

TEST_P(SpreadsheetExport, AFailingQueryOpensNothingAndKeepsThePreviousWorkbook)
{
    Desktop::setOpener(std::make_unique<RecordingOpener>(true));
    const QString path = ExportWorkbookPath(QStringLiteral("Broken"));
    QFile previous(path);
    ASSERT_TRUE(previous.open(QIODevice::WriteOnly));
    previous.write("previous");
    previous.close();
    EXPECT_FALSE(ExportToExcel(QStringLiteral("SELECT * FROM No_Such_Table"), QStringLiteral("Broken")));
    EXPECT_TRUE(RecordingOpener::opened.isEmpty());
    QFile check(path);
    ASSERT_TRUE(check.open(QIODevice::ReadOnly));
    EXPECT_EQ(check.readAll(), QByteArray("previous"));
}

INSTANTIATE_TEST_SUITE_P(Engines, SaveRecordset, ::testing::ValuesIn(TestEngines()), EngineTestName);
INSTANTIATE_TEST_SUITE_P(Engines, SpreadsheetExport, ::testing::ValuesIn(TestEngines()), EngineTestName);

// --- Image programs ---------------------------------------------------------------------------

class RecordingStarts final : public ProcessStarter {
public:
    bool startDetached(const QString& program, const QStringList& arguments, const QString&) override
    {
        starts << (QStringList { program } + arguments);
        return true;
    }
    static inline QList<QStringList> starts;
};

class ImagePrograms : public ::testing::Test {
protected:
    void SetUp() override
    {
        Prompts().clear();
        RecordingStarts::starts.clear();
        Platform::setProcesses(std::make_unique<RecordingStarts>());
        m_path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(m_bin.path()));
    }
    void TearDown() override { qputenv("PATH", m_path); }
    void install(const QString& name)
    {
        QFile program(m_bin.filePath(name));
        ASSERT_TRUE(program.open(QIODevice::WriteOnly));
        program.write("#!/bin/sh\n");
        program.close();
        program.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    }
    QTemporaryDir m_bin;
    QByteArray m_path;
};

TEST_F(ImagePrograms, APathWithBlanksReachesPaintAsOneArgument)
{
    install(QStringLiteral("pinta"));
    OpenInPaint(QStringLiteral("/evidence/item files/photo 1.jpg"));
    ASSERT_EQ(RecordingStarts::starts.size(), 1);
    EXPECT_EQ(RecordingStarts::starts.at(0).mid(1), QStringList { QStringLiteral("/evidence/item files/photo 1.jpg") });
    EXPECT_TRUE(Prompts().boxes.empty());
}

TEST_F(ImagePrograms, NoImageEditorGivesOneBoxNamingTheProgramsLookedFor)
{
    OpenInPhotoshop(QStringLiteral("/evidence/photo.jpg"));
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_EQ(Prompts().boxes.at(0).text, QStringLiteral("No image editor is installed (looked for gimp, krita, pinta)."));
    EXPECT_TRUE(RecordingStarts::starts.isEmpty());

    install(QStringLiteral("krita"));
    Prompts().clear();
    OpenInPhotoshop(QStringLiteral("/evidence/photo.jpg"));
    ASSERT_EQ(RecordingStarts::starts.size(), 1);
    EXPECT_TRUE(RecordingStarts::starts.at(0).at(0).endsWith(QStringLiteral("/krita")));
    EXPECT_TRUE(Prompts().boxes.empty());
}

} // namespace
