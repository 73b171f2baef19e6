// The file tools, the report viewer and the report windows driven as the user drives them, over a
// fresh database: real folders, report files printed to PDF and workbooks read back.

#include "../reference_tables/ReferenceFixture.h"

#include "administration/Administration.h"
#include "administration/FileToolWindow.h"
#include "administration/frmCrystal.h"
#include "administration/frmRepDBChanges.h"
#include "administration/frmSQL2Excel.h"
#include "core/AppInfo.h"
#include "core/Database.h"
#include "core/DesktopOpener.h"
#include "core/Recordset.h"
#include "core/Settings.h"
#include "core/SqlText.h"
#include "exports/ReportFiles.h"
#include "exports/SpreadsheetExport.h"
#include "form_framework/ChildWindows.h"
#include "form_framework/CrystalReport.h"
#include "form_framework/FormTypes.h"
#include "form_framework/WindowList.h"
#include "form_framework/WindowOpening.h"
#include "form_framework/zFieldBase.h"
#include "support/ExternalTools.h"
#include "support/PromptRecorder.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

QString q(const char* text) { return QString::fromUtf8(text); }

class RecordingOpener final : public DesktopOpener {
public:
    bool open(const QUrl& address) override
    {
        opened << address.toLocalFile();
        return true;
    }
    static inline QStringList opened;
};

class ToolWindows : public ReferenceTest {
protected:
    void SetUp() override
    {
        ReferenceTest::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        RegisterAdministrationForms();
        // What an administrator gives a clerk who runs the tools and reports.
        permitLoginActions({ q("Rename Files"), q("Replace Text") });
        permitLoginReports({ q("Database Changes"), q("Run SQL to Excel Report") });
        RecordingOpener::opened.clear();
        Desktop::setOpener(std::make_unique<RecordingOpener>());
        ASSERT_TRUE(m_dir.isValid());
    }
    void TearDown() override
    {
        Desktop::setOpener(nullptr);
        ReportPreview::setPrinterChooser(nullptr);
        ReferenceTest::TearDown();
    }

    template <class W> W* open(const char* name)
    {
        auto* window = qobject_cast<W*>(ShowFormByName(QString::fromLatin1(name)));
        if (window) {
            window->show();
            QApplication::processEvents();
        }
        return window;
    }
    static zFieldBase* field(QWidget* window, const char* name)
    {
        return window->findChild<zFieldBase*>(QString::fromLatin1(name));
    }
    // Types as ReferenceTest::type does; an empty text erases what the box held.
    static void enter(zFieldBase* field, const QString& text)
    {
        if (!text.isEmpty())
            return type(field, text);
        auto* box = qobject_cast<QLineEdit*>(field->inputBox());
        ASSERT_NE(box, nullptr);
        box->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        box->clearFocus();
        QApplication::processEvents();
    }
    static QPushButton* button(QWidget* window, const char* name)
    {
        return window->findChild<QPushButton*>(QString::fromLatin1(name));
    }

    QString path(const QString& relative) const { return m_dir.path() + QLatin1Char('/') + relative; }
    void write(const QString& relative, const QByteArray& bytes)
    {
        QDir().mkpath(QFileInfo(path(relative)).absolutePath());
        QFile file(path(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray read(const QString& relative) const
    {
        QFile file(path(relative));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    // Every file of the tree, relative to it, hidden ones included.
    QStringList files() const
    {
        QStringList found;
        const QDir root(m_dir.path());
        std::function<void(const QString&)> walk = [&](const QString& folder) {
            const QDir dir(folder);
            for (const QFileInfo& entry :
                dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name)) {
                if (entry.isDir())
                    walk(entry.filePath());
                else
                    found << root.relativeFilePath(entry.filePath());
            }
        };
        walk(m_dir.path());
        return found;
    }

    QTemporaryDir m_dir;
};

// --- The file tools ------------------------------------------------------------------------------

TEST_P(ToolWindows, ReplaceTextRunsOverTheStoredFolderAndLogsEveryStep)
{
    write(q("a.txt"), "ABC abc aBc");
    write(q("README"), "abc");
    write(q("empty.txt"), "");
    write(q("notes.ini"), "abc");
    write(q(".hidden.txt"), "abc");
    write(q("sub/b.txt"), "xabcx");
    ASSERT_TRUE(Act_SaveSettingDB(q("DB_Replace_Text_Folder"), m_dir.path()));
    ASSERT_TRUE(Act_SaveSettingDB(q("DB_Replace_Text_Extensions"), q("txt;")));
    ASSERT_TRUE(Act_SaveSettingDB(q("DB_Replace_Text_Include_Sub_Folders"), true));

    auto* window = open<FileToolWindow>("frmReplaceText");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(field(window, "ztxtFolder")->Text(), m_dir.path());
    EXPECT_EQ(field(window, "ztxtExtensions")->Text(), q("txt;"));
    EXPECT_TRUE(field(window, "zchkSubFolders")->Value().toBool());
    QPushButton* run = button(window, "btnRename");
    EXPECT_TRUE(run->isEnabled()) << "the stored folder enables the run";
    enter(field(window, "ztxtFolder"), QString());
    EXPECT_FALSE(run->isEnabled());
    type(field(window, "ztxtFolder"), m_dir.path());
    EXPECT_TRUE(run->isEnabled());
    type(field(window, "ztxtFindWhat"), q("abc"));
    type(field(window, "ztxtReplaceWith"), q("X"));

    // What the window offers while the walk goes on, and whether it lets itself be closed.
    bool seen = false, closed = true, runEnabled = true, browseEnabled = true, closeEnabled = true;
    QTimer::singleShot(0, window, [&] {
        seen = true;
        runEnabled = run->isEnabled();
        browseEnabled = button(window, "btnBrowseFolder")->isEnabled();
        closeEnabled = button(window, "btnClose")->isEnabled();
        closed = window->close();
    });
    Prompts().clear();
    click(window, "btnRename");
    ASSERT_TRUE(seen);
    EXPECT_FALSE(closed);
    EXPECT_FALSE(runEnabled || browseEnabled || closeEnabled);
    EXPECT_TRUE(LoadedWindows().contains(window));
    EXPECT_TRUE(run->isEnabled()) << "enabled again after the run";
    EXPECT_TRUE(Prompts().boxes.empty());

    const QString f = m_dir.path() + QLatin1Char('/');
    const QString expected = q(">> Include SubFolders: Yes\r\n"
                               ">> Extension: txt\r\n"
                               ">> File Pattern: *.txt\r\n")
        + q(">> Folder: ") + m_dir.path() + q("\r\n") //
        + f + q("a.txt - Text replaced\r\n") //
        + f + q("empty.txt - Failed, Input past end of file\r\n") //
        + q(">> Folder: ") + f + q("sub\r\n") //
        + f + q("sub/b.txt - Text replaced\r\n") //
        + q(">> Extension: \r\n>> File Pattern: *.\r\n") //
        + q(">> Folder: ") + m_dir.path() + q("\r\n") //
        + f + q("README - Text replaced\r\n") //
        + q(">> Folder: ") + f + q("sub\r\n");
    EXPECT_EQ(window->log(), expected);
    ASSERT_EQ(viewers->texts.size(), 1);
    EXPECT_EQ(viewers->texts.at(0), expected) << "the whole log goes to the text viewer";
    EXPECT_EQ(read(q("a.txt")), QByteArray("X X X"));
    EXPECT_EQ(read(q("README")), QByteArray("X"));
    EXPECT_EQ(read(q("sub/b.txt")), QByteArray("xXx"));
    for (const char* untouched : { "notes.ini", ".hidden.txt" })
        EXPECT_EQ(read(q(untouched)), QByteArray("abc")) << untouched;

    // Closing keeps the folder, the extensions and the box for the next time; a second run would
    // start a new log, so the settings are what the user left, not what was run.
    type(field(window, "ztxtExtensions"), q("ini"));
    UnloadWindow(window);
    QApplication::processEvents();
    QVariant stored;
    ASSERT_TRUE(Act_GetSettingDB(q("DB_Replace_Text_Extensions"), stored));
    EXPECT_EQ(stored.toString(), q("ini"));
    ASSERT_TRUE(Act_GetSettingDB(q("DB_Replace_Text_Folder"), stored));
    EXPECT_EQ(stored.toString(), m_dir.path());
}

TEST_P(ToolWindows, TheWindowKeepsPaintingWhileALargeFileIsWorked)
{
    QByteArray body;
    while (body.size() < 16 * 1024 * 1024)
        body += "Item 0000123 logged as Evidence by the property clerk; seal intact.\n";
    write(q("big.txt"), body);
    auto* window = open<FileToolWindow>("frmReplaceText");
    ASSERT_NE(window, nullptr);
    type(field(window, "ztxtFolder"), m_dir.path());
    type(field(window, "ztxtExtensions"), q("txt"));
    type(field(window, "ztxtFindWhat"), q("evidence"));
    type(field(window, "ztxtReplaceWith"), q("Property"));

    // A timer of the window's own thread fires only while the window's events run: its ticks
    // between the folder's entry and the file's are the window painting while the file is worked.
    const QString workingOnTheFile = q(">> Folder: ") + m_dir.path() + q("\r\n");
    int ticks = 0;
    QTimer ticker;
    ticker.setInterval(5);
    QObject::connect(&ticker, &QTimer::timeout, window, [&] {
        if (window->running() && window->log().endsWith(workingOnTheFile))
            ++ticks;
    });
    ticker.start();
    click(window, "btnRename");
    ticker.stop();
    EXPECT_GE(ticks, 2);
    EXPECT_TRUE(window->log().endsWith(m_dir.path() + q("/big.txt - Text replaced\r\n"))) << window->log().toStdString();
    EXPECT_EQ(read(q("big.txt")), body.replace("Evidence", "Property"));
}

TEST_P(ToolWindows, IncludeSubFoldersIsNamedForScreenReaders)
{
    for (const char* name : { "frmReplaceText", "frmRenameFiles" }) {
        SCOPED_TRACE(name);
        auto* window = open<FileToolWindow>(name);
        ASSERT_NE(window, nullptr);
        zFieldBase* box = field(window, "zchkSubFolders");
        EXPECT_EQ(box->GoodName(), q("Include SubFolders"));
        QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(box->inputBox());
        ASSERT_NE(reader, nullptr);
        EXPECT_EQ(reader->text(QAccessible::Name), q("Include SubFolders"));
        UnloadWindow(window);
        QApplication::processEvents();
    }
}

TEST_P(ToolWindows, RenameFilesRenamesOnceAndLogsWhatItCouldNot)
{
    write(q("Budget OLD 1.xls"), "1");
    write(q("notes.txt"), "2");
    write(q("old.txt"), "3");
    write(q("new.txt"), "4");
    write(q(".old.txt"), "5");
    write(q("sub/bold"), "6");
    write(q("sub/oldold.txt"), "7");
    ASSERT_TRUE(Act_SaveSettingDB(q("DB_Rename_Files_Include_Sub_Folders"), true));

    auto* window = open<FileToolWindow>("frmRenameFiles");
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(field(window, "zchkSubFolders")->Value().toBool());
    type(field(window, "ztxtFolder"), m_dir.path());
    type(field(window, "ztxtFindWhat"), q("old"));
    type(field(window, "ztxtReplaceWith"), q("new"));
    Prompts().clear();
    click(window, "btnRename");
    EXPECT_TRUE(Prompts().boxes.empty());

    // "oldold" becomes "newnew" once: the listing is read before anything in it is renamed.
    const QString f = m_dir.path() + QLatin1Char('/');
    const QString expected = q(">> Folder: ") + m_dir.path() + q("\r\n") //
        + f + q("Budget OLD 1.xls => ") + f + q("Budget new 1.xls\r\n") //
        + q("Cannot rename file ") + f + q("old.txt - Error 58. File already exists\r\n") //
        + q(">> Folder: ") + f + q("sub\r\n") //
        + f + q("sub/bold => ") + f + q("sub/bnew\r\n") //
        + f + q("sub/oldold.txt => ") + f + q("sub/newnew.txt\r\n");
    EXPECT_EQ(window->log(), expected);
    ASSERT_EQ(viewers->texts.size(), 1);
    EXPECT_EQ(viewers->texts.at(0), expected);
    EXPECT_EQ(files(),
        (QStringList { q(".old.txt"), q("Budget new 1.xls"), q("new.txt"), q("notes.txt"), q("old.txt"), q("sub/bnew"),
            q("sub/newnew.txt") }));
    EXPECT_EQ(read(q("new.txt")), QByteArray("4")) << "an existing name is never overwritten";

    // Removing the whole name of a file leaves it as it was.
    write(q("gone"), "8");
    type(field(window, "ztxtFindWhat"), q("gone"));
    enter(field(window, "ztxtReplaceWith"), QString());
    click(window, "btnRename");
    EXPECT_TRUE(window->log().contains(q("Cannot rename file ") + f + q("gone - "))) << window->log().toStdString();
    EXPECT_EQ(read(q("gone")), QByteArray("8"));
}

TEST_P(ToolWindows, TheRunChecksThePermissionThenTheFieldsInOrder)
{
    write(q("a.txt"), "abc");
    const struct {
        const char* window;
        std::vector<std::pair<const char*, const char*>> typed;
        const char* message;
    } cases[] = {
        { "frmReplaceText", { { "ztxtFolder", "/no/such/folder" } }, "Folder doesn't exist." },
        { "frmReplaceText", { { "ztxtExtensions", "" }, { "ztxtFindWhat", "abc" } },
            "File Extensions is a required field." },
        { "frmReplaceText", { { "ztxtExtensions", "txt" } }, "Find What is a required field." },
        { "frmReplaceText", { { "ztxtExtensions", "txt" }, { "ztxtFindWhat", "abc" }, { "ztxtReplaceWith", "ABC" } },
            "Replace With should be different from Find What." },
        { "frmRenameFiles", { { "ztxtFindWhat", "a" }, { "ztxtReplaceWith", "A" } },
            "Replace With should be different from Find What." },
        { "frmRenameFiles", { { "ztxtFindWhat", "a" }, { "ztxtReplaceWith", "../b" } },
            "Replace With cannot contain a path separator." },
        { "frmRenameFiles", { { "ztxtFindWhat", "a" }, { "ztxtReplaceWith", "b\\c" } },
            "Replace With cannot contain a path separator." },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        auto* window = open<FileToolWindow>(c.window);
        ASSERT_NE(window, nullptr);
        type(field(window, "ztxtFolder"), m_dir.path());
        for (const auto& [name, text] : c.typed)
            enter(field(window, name), q(text));
        Prompts().clear();
        click(window, "btnRename");
        ASSERT_FALSE(Prompts().boxes.empty());
        EXPECT_EQ(Prompts().boxes.front().text, q(c.message));
        EXPECT_TRUE(window->log().isEmpty());
        UnloadWindow(window);
        QApplication::processEvents();
    }

    // A user whose right was taken away while the window was open is refused at the run.
    owner().executeStatement(q("UPDATE DB_Users SET DB_Sys_Admin = 0"));
    owner().executeStatement(q("DELETE FROM DB_Action_Permissions"));
    for (const char* name : { "frmReplaceText", "frmRenameFiles" }) {
        SCOPED_TRACE(name);
        auto* window = open<FileToolWindow>(name);
        ASSERT_NE(window, nullptr);
        type(field(window, "ztxtFolder"), m_dir.path());
        type(field(window, "ztxtFindWhat"), q("a"));
        type(field(window, "ztxtReplaceWith"), q("b"));
        if (zFieldBase* extensions = field(window, "ztxtExtensions"))
            type(extensions, q("txt"));
        Prompts().clear();
        click(window, "btnRename");
        ASSERT_EQ(Prompts().boxes.size(), 1u);
        EXPECT_TRUE(Prompts().boxes[0].text.startsWith(q("You are not permitted to execute action <")))
            << Prompts().boxes[0].text.toStdString();
        EXPECT_TRUE(window->log().isEmpty());
        UnloadWindow(window);
        QApplication::processEvents();
    }
    EXPECT_EQ(files(), QStringList { q("a.txt") });
    EXPECT_EQ(read(q("a.txt")), QByteArray("abc"));
    EXPECT_TRUE(viewers->texts.isEmpty());
}

// The renaming tool lets the export commands pass in silence; everything else, and every command
// to the replacing tool, beeps.
TEST_P(ToolWindows, MainWindowCommandsBeepWhereTheToolHasNothingToDo)
{
    const struct {
        const char* window;
        std::vector<int> silent;
    } cases[] = { { "frmReplaceText", {} }, { "frmRenameFiles", { 1, 2, 3, 4 } } };
    for (const auto& c : cases) {
        auto* window = open<FileToolWindow>(c.window);
        ASSERT_NE(window, nullptr);
        for (int command = 1; command <= 10; ++command) {
            Prompts().clear();
            window->ProcessCommand(static_cast<MainCommand>(command));
            const bool silent = std::find(c.silent.begin(), c.silent.end(), command) != c.silent.end();
            EXPECT_EQ(Prompts().beeps, silent ? 0 : 1) << c.window << " command " << command;
        }
        UnloadWindow(window);
        QApplication::processEvents();
    }
}

// --- The report viewer ---------------------------------------------------------------------------

class ReportViewer : public ToolWindows {
protected:
    void SetUp() override
    {
        ToolWindows::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        QDir().mkpath(GetMainPath() + q("Reports"));
        writeReport(q("Shelves.rpt"),
            R"(<Report title="Items on Shelves"><Column field="Item" caption="Item"/>)"
            R"(<Column field="Shelf" caption="Shelf"/></Report>)");
        writeReport(
            q("Cases.rpt"), R"(<Report title="Open Cases"><Column field="Case_Name" caption="Case"/></Report>)");
        writeReport(q("Broken.rpt"), "<Report title=\"Broken\"");
    }
    void writeReport(const QString& name, const QByteArray& xml)
    {
        QFile file(GetMainPath() + q("Reports/") + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(xml);
    }
    static QList<frmCrystal*> viewersOpen()
    {
        QList<frmCrystal*> found;
        for (QWidget* window : LoadedWindows()) {
            if (auto* viewer = qobject_cast<frmCrystal*>(window))
                found << viewer;
        }
        return found;
    }
};

TEST_P(ReportViewer, TwoViewersShowTheirOwnReportAndPrintIt)
{
    ASSERT_TRUE(ShowCrystalReport(
        q("Shelves.rpt"), q("SELECT 'Knife' AS \"Item\", 'A1' AS \"Shelf\" UNION ALL SELECT 'Phone', 'B2'")));
    ASSERT_TRUE(ShowCrystalReport(q("Cases.rpt"), q("SELECT 'Burglary at the mill' AS \"Case_Name\"")));
    QApplication::processEvents();
    EXPECT_TRUE(Prompts().boxes.empty());
    EXPECT_FALSE(FormParams::contains(q("frmCrystal"))) << "the viewer takes its parameters away";
    const QList<frmCrystal*> open = viewersOpen();
    ASSERT_EQ(open.size(), 2);

    QTemporaryDir output;
    QString pdf;
    ReportPreview::setPrinterChooser([&](QPrinter& printer, QWidget*) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    });
    const struct {
        const char* caption;
        std::vector<const char*> shown;
        const char* absent;
    } expected[] = {
        { "View Report - Items on Shelves", { "Items on Shelves", "Knife", "A1", "Phone", "B2" }, "Burglary" },
        { "View Report - Open Cases", { "Open Cases", "Burglary at the mill" }, "Knife" },
    };
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(expected[i].caption);
        frmCrystal* viewer = open.at(i);
        EXPECT_EQ(viewer->windowTitle(), q(expected[i].caption));
        EXPECT_GE(viewer->viewer()->pageCount(), 1);
        pdf = output.filePath(QStringLiteral("viewer%1.pdf").arg(i));
        Prompts().clear();
        viewer->ProcessCommand(MainCommand::Print);
        EXPECT_EQ(Prompts().beeps, 0);
        const QString text = RunTool(q("pdftotext"), { q("-layout"), pdf, q("-") });
        for (const char* shown : expected[i].shown)
            EXPECT_TRUE(text.contains(q(shown))) << shown << "\n" << text.toStdString();
        EXPECT_FALSE(text.contains(q(expected[i].absent))) << text.toStdString();
        viewer->ProcessCommand(MainCommand::Excel);
        EXPECT_EQ(Prompts().beeps, 1) << "every other command beeps";
    }

    // The toolbar's Close closes that viewer only.
    QAction* close = nullptr;
    for (QAction* action : open.at(0)->findChild<QToolBar*>()->actions()) {
        if (action->text() == q("Close"))
            close = action;
    }
    ASSERT_NE(close, nullptr);
    close->trigger();
    QApplication::processEvents();
    EXPECT_EQ(viewersOpen(), QList<frmCrystal*> { open.at(1) });
}

TEST_P(ReportViewer, AFailureIsReportedAndTheViewerStaysOpen)
{
    const struct {
        const char* file;
        const char* statement;
    } cases[] = {
        { "Broken.rpt", "SELECT 'Knife' AS \"Item\"" }, { "Cases.rpt", "SELECT Case_Name FROM No_Such_Table" },
        { "Cases.rpt", "SELECT 'Knife' AS \"Item\"" }, // the report names a field the data lacks
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.statement);
        UnloadAllForms();
        Prompts().clear();
        Prompts().answer(MsgBox::Yes); // go on after the error
        ShowCrystalReport(q(c.file), q(c.statement));
        QApplication::processEvents();
        ASSERT_EQ(Prompts().boxes.size(), 1u);
        EXPECT_TRUE(Prompts().boxes[0].text.contains(q("Error printing Crystal Report")))
            << Prompts().boxes[0].text.toStdString();
        const QList<frmCrystal*> open = viewersOpen();
        ASSERT_EQ(open.size(), 1);
        EXPECT_EQ(open.at(0)->windowTitle(), q("View Report"));
        EXPECT_EQ(Terminations().calls, 0);
        // Nothing was shown, so there is nothing to print.
        EXPECT_FALSE(open.at(0)->viewer()->printReport());
    }
}

// --- The report windows --------------------------------------------------------------------------

TEST_P(ToolWindows, AllTablesRunsTheChosenReportFromTheButtonsAndTheCommands)
{
    auto* window = open<DataWindow>("frmRepAllTables");
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(button(window, "btnCrystal")->isEnabled());

    window->ProcessCommand(MainCommand::TabDelimited);
    ASSERT_EQ(viewers->texts.size(), 1);
    const QString tables = viewers->texts.at(0);
    EXPECT_TRUE(tables.startsWith(q("All Tables and Columns"))) << tables.left(200).toStdString();
    EXPECT_TRUE(tables.contains(q("Table_Name\tColumn_Order\tColumn_Name")));
    EXPECT_TRUE(tables.contains(
        QRegularExpression(q("\\bdb_users\\t2\\tdb_user_name\\t"), QRegularExpression::CaseInsensitiveOption)))
        << tables.toStdString();

    window->findChild<QRadioButton*>(q("optReport_1"))->setChecked(true);
    click(window, "btnTab");
    ASSERT_EQ(viewers->texts.size(), 2);
    const QString integrity = viewers->texts.at(1);
    EXPECT_TRUE(integrity.startsWith(q("Check Tables Integrity")));
    EXPECT_TRUE(integrity.contains(q("Integrity_Check\r\nok\r\n"))) << integrity.toStdString();

    Prompts().clear();
    window->ProcessCommand(MainCommand::Excel);
    EXPECT_TRUE(Prompts().boxes.empty()) << Prompts().boxes.front().text.toStdString();
    EXPECT_EQ(RecordingOpener::opened, QStringList { ExportWorkbookPath(q("Check Tables Integrity")) });
    window->ProcessCommand(MainCommand::Print);
    EXPECT_EQ(Prompts().beeps, 1);
}

TEST_P(ToolWindows, DatabaseChangesCarryExactlyTheCriteriaSet)
{
    // An administrator's changes, which the report then lists.
    const int dora = owner()
                         .executeStatement(q("INSERT INTO DB_Users (DB_User_Name, DB_Last_Name, DB_First_Name, "
                                             "DB_Sys_Admin) VALUES ('dora', 'Last', 'First', 0) RETURNING DB_User_ID"))
                         .valueAt(0, 0)
                         .toInt();
    owner().executeStatement(QStringLiteral("UPDATE DB_Users SET DB_Last_Name = 'Changed' WHERE DB_User_ID = %1").arg(dora));
    const QString program = GetSQLValue(q("SELECT APP_NAME()")).value_or(QVariant()).toString();
    owner().executeStatement(q("INSERT INTO DB_Applications (DB_Application_Name) SELECT '") + program
        + q("' WHERE NOT EXISTS (SELECT 1 FROM DB_Applications WHERE DB_Application_Name = '") + program + q("')"));
    // The log-in that made the changes above (the program's own, unless it is a clerk's).
    const QString changer = owner().loginName();
    const int me = count(QStringLiteral("SELECT DB_User_ID FROM DB_Users WHERE DB_User_Name = %1").arg(SQLString(changer)));
    const int users = count(q("SELECT DB_Table_ID FROM DB_Tables WHERE DB_Table_Name = 'DB_Users'"));
    const int application
        = count(q("SELECT DB_Application_ID FROM DB_Applications WHERE DB_Application_Name = '") + program + q("'"));
    const QString today = QDate::currentDate().toString(q("MM/dd/yyyy"));

    auto* window = open<frmRepDBChanges>("frmRepDBChanges");
    ASSERT_NE(window, nullptr);
    const struct {
        const char* name;
        std::vector<std::pair<const char*, QString>> typed;
        QStringList parameters;
    } cases[] = {
        { "none", {}, {} },
        { "one", { { "zcbtTableAction", q("Update") } }, { q("@DB_Operation_ID = 2") } },
        { "all",
            { { "zcbtUser", changer }, { "zcbtTable", q("DB_Users") }, { "zcbtTableAction", q("Insert") },
                { "zcbtProgram", program }, { "zdatDate_0", today }, { "zdatDate_1", today } },
            { QStringLiteral("@DB_User_ID = %1").arg(me), QStringLiteral("@DB_Table_ID = %1").arg(users),
                q("@DB_Operation_ID = 1"), QStringLiteral("@DB_Application_ID = %1").arg(application),
                q("@Change_Date_From = "), q("@Change_Date_To = ") } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const char* name :
            { "zcbtUser", "zcbtTable", "zcbtTableAction", "zcbtProgram", "zdatDate_0", "zdatDate_1" })
            field(window, name)->setValue(QVariant());
        for (const auto& [name, text] : c.typed)
            type(field(window, name), text);
        Prompts().clear();
        const QString sql = window->GetReportSQL();
        ASSERT_TRUE(Prompts().boxes.empty()) << Prompts().boxes.front().text.toStdString();
        ASSERT_TRUE(sql.startsWith(q("EXEC usp_DB_Rep_DB_Changes"))) << sql.toStdString();
        const QStringList sent = sql.mid(26).trimmed().split(q(","), Qt::SkipEmptyParts);
        ASSERT_EQ(sent.size(), c.parameters.size()) << sql.toStdString();
        for (int i = 0; i < sent.size(); ++i)
            EXPECT_TRUE(sent.at(i).trimmed().startsWith(c.parameters.at(i))) << sql.toStdString();

        std::unique_ptr<Recordset> rows = OpenRecordset(sql);
        ASSERT_TRUE(rows);
        // Both engines name the tables as the schema declares them.
        QStringList changes;
        for (int r = 0; r < rows->recordCount(); ++r)
            changes << rows->valueAt(r, 1).toString() + q(" ") + rows->valueAt(r, 3).toString();
        if (c.parameters.isEmpty()) {
            EXPECT_TRUE(changes.contains(q("DB_Users Insert")) && changes.contains(q("DB_Users Update")))
                << changes.join(q(", ")).toStdString();
        } else if (c.parameters.size() == 1) {
            EXPECT_FALSE(changes.isEmpty());
            EXPECT_EQ(changes.filter(q(" Update")), changes) << changes.join(q(", ")).toStdString();
        } else {
            // Today as the "To" date takes in the changes made a moment ago.
            EXPECT_FALSE(changes.isEmpty());
            EXPECT_EQ(changes.filter(q("DB_Users Insert")), changes) << changes.join(q(", ")).toStdString();
        }
    }

    // The report goes out under its title through the tab-delimited button.
    click(window, "btnTab");
    ASSERT_EQ(viewers->texts.size(), 1);
    EXPECT_TRUE(viewers->texts.at(0).startsWith(q("Database Changes"))) << viewers->texts.at(0).left(200).toStdString();
    EXPECT_TRUE(viewers->texts.at(0).contains(q("\tDB_Users\t")));

    // A date outside the field's limits stops the report with the field's message.
    type(field(window, "zdatDate_0"), q("01/01/1900"));
    Prompts().clear();
    EXPECT_EQ(window->GetReportSQL(), QString());
    EXPECT_EQ(Prompts().boxes.size(), 1u);
}

TEST_P(ToolWindows, SqlToExcelRefusesWritesAndExportsASelect)
{
    const int before = count(q("SELECT COUNT(*) FROM DB_Users"));
    const int clerks = count(q("SELECT COUNT(*) FROM DB_Users WHERE DB_Sys_Admin = 0"));
    auto* window = open<frmSQL2Excel>("frmSQL2Excel");
    ASSERT_NE(window, nullptr);
    type(field(window, "ztxtRepName"), q("Purge"));
    for (const char* write : { "DELETE FROM DB_Users", "SELECT 1 AS \"One\"; DELETE FROM DB_Users",
             "UPDATE DB_Users SET DB_Sys_Admin = 1" }) {
        SCOPED_TRACE(write);
        field(window, "zmemSQL")->setValue(q(write));
        Prompts().clear();
        EXPECT_FALSE(window->btnOK_Click());
        EXPECT_EQ(Prompts().boxes.size(), 1u);
        EXPECT_EQ(count(q("SELECT COUNT(*) FROM DB_Users")), before);
        EXPECT_EQ(count(q("SELECT COUNT(*) FROM DB_Users WHERE DB_Sys_Admin = 0")), clerks);
    }
    EXPECT_FALSE(QFileInfo::exists(ExportWorkbookPath(q("Purge"))));
    EXPECT_TRUE(RecordingOpener::opened.isEmpty());

    // After a refusal the connection writes again: the read-only scope ended with the export.
    ASSERT_TRUE(
        Act_ExecuteSQL(q("UPDATE DB_Users SET DB_Last_Name = 'Still writable' WHERE DB_User_Name = SUSER_NAME()")));

    type(field(window, "ztxtRepName"), q("Users list"));
    type(field(window, "ztxtAddlInfo"), q("For the audit"));
    field(window, "zmemSQL")->setValue(q("SELECT DB_User_Name AS \"Login\", DB_Last_Name AS \"Last\" FROM DB_Users"));
    Prompts().clear();
    click(window, "btnOK");
    EXPECT_TRUE(Prompts().boxes.empty()) << Prompts().boxes.front().text.toStdString();
    const QString workbook = ExportWorkbookPath(q("Users list"));
    ASSERT_EQ(RecordingOpener::opened, QStringList { workbook });
    const QString description = RunTool(q("unzip"), { q("-p"), workbook, q("xl/worksheets/sheet1.xml") });
    EXPECT_TRUE(description.contains(q("Users list")) && description.contains(q("For the audit")));
    const QString data = RunTool(q("unzip"), { q("-p"), workbook, q("xl/worksheets/sheet2.xml") });
    EXPECT_TRUE(data.contains(q(">Login<")) && data.contains(q("Still writable"))) << data.toStdString();
    EXPECT_TRUE(LoadedWindows().contains(window)) << "the window stays open for the next statement";

    // Empty SQL is the one required field.
    field(window, "zmemSQL")->setValue(QVariant());
    Prompts().clear();
    click(window, "btnOK");
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_EQ(Prompts().boxes[0].text, q("SQL is a required field."));
    window->ProcessCommand(MainCommand::Excel);
    EXPECT_EQ(Prompts().beeps, 1);
}

INSTANTIATE_TEST_SUITE_P(Engines, ToolWindows, ::testing::ValuesIn(TestEngines()), EngineTestName);
INSTANTIATE_CLERK_SUITE(ToolWindows);
INSTANTIATE_TEST_SUITE_P(Engines, ReportViewer, ::testing::ValuesIn(TestEngines()), EngineTestName);
INSTANTIATE_CLERK_SUITE(ReportViewer);

} // namespace
