#include "core/AppError.h"
#include "core/AppInfo.h"
#include "core/DesktopOpener.h"
#include "core/FileDialogs.h"
#include "support/PromptRecorder.h"
#include "core/Settings.h"
#include "support/TestDatabase.h"
#include "main_window/ViewerWindows.h"
#include "main_window/WebViewerLoader.h"
#include "core/Viewers.h"
#include "form_framework/WindowList.h"
#include "form_framework/WindowOpening.h"
#include "main_window/frmFolder.h"
#include "main_window/frmImage.h"
#include "main_window/frmText.h"
#include "main_window/frmWebBrowser.h"
#include "form_framework/zInfo.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// The web browser needs these before the application object exists.
const bool s_prepared = [] {
    PrepareWebEngine();
    return true;
}();

class AnsweringDialogs final : public FileDialogs {
public:
    explicit AnsweringDialogs(QStringList& asked)
        : m_asked(asked)
    {
    }
    QString saveFileName(QWidget*, const QString&, const QString& folder, const QString&, const QString&) override
    {
        m_asked << folder;
        return answer;
    }
    QString openFileName(QWidget*, const QString&, const QString&, const QString&) override { return answer; }
    QString answer;

private:
    QStringList& m_asked;
};

class RecordingOpener final : public DesktopOpener {
public:
    explicit RecordingOpener(QList<QUrl>& opened)
        : m_opened(opened)
    {
    }
    bool open(const QUrl& address) override
    {
        m_opened << address;
        return true;
    }

private:
    QList<QUrl>& m_opened;
};

template <class Window> QList<Window*> openWindows()
{
    QList<Window*> found;
    for (QWidget* w : LoadedWindows()) {
        if (auto* window = qobject_cast<Window*>(w))
            found << window;
    }
    return found;
}

void closeEverything()
{
    for (QWidget* window : LoadedWindows()) {
        Prompts().answer(MsgBox::No);
        UnloadWindow(window);
    }
    QApplication::processEvents();
}

class Viewers : public ::testing::Test {
protected:
    void SetUp() override
    {
        InstallViewerWindows();
        Prompts().clear();
        auto dialogs = std::make_unique<AnsweringDialogs>(m_asked);
        m_dialogs = dialogs.get();
        Dialogs::setFiles(std::move(dialogs));
    }
    void TearDown() override
    {
        closeEverything();
        Dialogs::setFiles(nullptr);
        Prompts().clear();
    }

    frmText* lastText() { return openWindows<frmText>().value(openWindows<frmText>().size() - 1); }

    QTemporaryDir m_folder;
    QStringList m_asked;
    AnsweringDialogs* m_dialogs = nullptr;
};

TEST_F(Viewers, TheTextViewerKeepsAndSavesALongTextWhole)
{
    QString text;
    for (int line = 0; text.size() < 100 * 1024; ++line)
        text += QStringLiteral("%1\tItem number %1\r\n").arg(line, 6, 10, QLatin1Char('0'));
    ShowText(text);
    frmText* viewer = lastText();
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(Prompts().boxes.empty()) << "no length limit to complain about";
    EXPECT_EQ(viewer->windowTitle(), QStringLiteral("View Text"));
    EXPECT_EQ(viewer->findChild<QLineEdit*>(QStringLiteral("txtPath"))->text(), QStringLiteral("<Not Saved>"));
    EXPECT_EQ(viewer->text(), text);

    const QString file = m_folder.filePath(QStringLiteral("export.tsv"));
    m_dialogs->answer = file;
    ASSERT_TRUE(viewer->Save()) << "an unsaved viewer saves through Save As";
    QFile saved(file);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), text.toUtf8());
    EXPECT_EQ(viewer->windowTitle(), QStringLiteral("View Text - ") + file);
    EXPECT_FALSE(viewer->unsavedChanges());
}

TEST_F(Viewers, ClosingAsksToSaveOnlyWhileTheTextHasUnsavedChanges)
{
    ShowText(QStringLiteral("untouched"));
    QPointer<frmText> untouched(lastText());
    ASSERT_FALSE(untouched.isNull());
    EXPECT_FALSE(untouched->unsavedChanges());
    UnloadWindow(untouched);
    QApplication::processEvents();
    EXPECT_TRUE(untouched.isNull());
    EXPECT_TRUE(Prompts().boxes.empty()) << "nobody edited the text: nothing to ask";

    ShowText(QStringLiteral("one"));
    frmText* viewer = lastText();
    ASSERT_NE(viewer, nullptr);
    QPointer<frmText> watch(viewer);
    auto* box = viewer->findChild<QPlainTextEdit*>(QStringLiteral("txtText"));
    box->moveCursor(QTextCursor::End);
    QTest::keyClicks(box, QStringLiteral(" more"));
    EXPECT_TRUE(viewer->unsavedChanges());

    Prompts().answer(MsgBox::Cancel);
    viewer->findChild<QPushButton*>(QStringLiteral("btnClose"))->click();
    QApplication::processEvents();
    ASSERT_FALSE(watch.isNull()) << "Cancel keeps the viewer";
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_EQ(Prompts().boxes.at(0).text, QStringLiteral("Do you to want save the changes you made to the Text?"));
    EXPECT_TRUE(LoadedWindows().contains(viewer)) << "the controller's bookkeeping is untouched";

    // Yes with a cancelled file dialog: still unsaved, still open.
    Prompts().answer(MsgBox::Yes);
    m_dialogs->answer.clear();
    UnloadWindow(viewer);
    QApplication::processEvents();
    ASSERT_FALSE(watch.isNull());

    m_dialogs->answer = m_folder.filePath(QStringLiteral("one.txt"));
    ASSERT_TRUE(viewer->SaveAs());
    Prompts().clear();
    UnloadWindow(viewer);
    QApplication::processEvents();
    EXPECT_TRUE(watch.isNull());
    EXPECT_TRUE(Prompts().boxes.empty()) << "saved: nothing to ask";
}

// What the program shows in the viewer (a field listing, a record history, a tab export) is CR LF
// text; Save, Save As and Copy All hand it on exactly as it was given.
TEST_F(Viewers, TheViewerWritesTheGivenTextByteForByte)
{
    const QString given = QStringLiteral("Field\tValue\r\nOwner\tO'Neil") + QChar(0x00A0) + QStringLiteral("Jr.\r\n")
        + QStringLiteral("Note\tline") + QChar(0x2028) + QStringLiteral("break\r\n\r\n");
    ShowText(given);
    frmText* viewer = lastText();
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->text(), given);

    const QString file = m_folder.filePath(QStringLiteral("listing.txt"));
    m_dialogs->answer = file;
    ASSERT_TRUE(viewer->SaveAs());
    QFile saved(file);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), given.toUtf8());

    viewer->findChild<QPushButton*>(QStringLiteral("btnCopyAll"))->click();
    EXPECT_EQ(QApplication::clipboard()->text(), given);
    EXPECT_TRUE(Prompts().boxes.empty());
}

TEST_F(Viewers, AnEditedTextKeepsTheLineEndsOfTheGivenText)
{
    const struct Case {
        const char* name;
        QString given;
        QString edited; // after typing "!", Enter and "x" at the end
    } cases[] = {
        { "CR LF", QStringLiteral("one\r\ntwo"), QStringLiteral("one\r\ntwo!\r\nx") },
        { "CR LF at the end", QStringLiteral("one\r\n"), QStringLiteral("one\r\n!\r\nx") },
        { "LF", QStringLiteral("one\ntwo"), QStringLiteral("one\ntwo!\nx") },
        { "CR", QStringLiteral("one\rtwo"), QStringLiteral("one\rtwo!\rx") },
        { "no-break space", QStringLiteral("a") + QChar(0x00A0) + QStringLiteral("b\r\nc"),
            QStringLiteral("a") + QChar(0x00A0) + QStringLiteral("b\r\nc!\r\nx") },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ShowText(c.given);
        frmText* viewer = lastText();
        ASSERT_NE(viewer, nullptr);
        auto* box = viewer->findChild<QPlainTextEdit*>(QStringLiteral("txtText"));
        box->setFocus();
        box->moveCursor(QTextCursor::End);
        QTest::keyClicks(box, QStringLiteral("!"));
        QTest::keyClick(box, Qt::Key_Return);
        QTest::keyClicks(box, QStringLiteral("x"));
        EXPECT_EQ(viewer->text(), c.edited);
        EXPECT_TRUE(viewer->unsavedChanges());

        m_dialogs->answer = m_folder.filePath(QString::fromLatin1(c.name) + QStringLiteral(".txt"));
        ASSERT_TRUE(viewer->SaveAs());
        QFile saved(m_dialogs->answer);
        ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
        EXPECT_EQ(saved.readAll(), c.edited.toUtf8());
        viewer->CopyAll();
        EXPECT_EQ(QApplication::clipboard()->text(), c.edited);
    }
    EXPECT_TRUE(Prompts().boxes.empty());
}

// The columns of a tab export line up: a fixed-width font, and tab stops past the widest cell of
// each column (also a cell longer than 8 characters).
TEST_F(Viewers, TheColumnsOfATabExportLineUp)
{
    ShowText(QStringLiteral("Item_ID\tDescription\tLocation\tValue\r\n"
                            "1\tRevolver, black\tShelf A-12\t150.00\r\n"
                            "22\tBicycle\tYard\t80.5\r\n"
                            "333\tMobile phone with charger and case\tLocker 17, top drawer\t0\r\n"));
    frmText* viewer = lastText();
    ASSERT_NE(viewer, nullptr);
    auto* box = viewer->findChild<QPlainTextEdit*>(QStringLiteral("txtText"));
    EXPECT_TRUE(QFontInfo(box->font()).fixedPitch());
    QApplication::processEvents();

    // Where each column starts, line by line.
    QList<QList<int>> starts;
    for (QTextBlock block = box->document()->begin(); block.isValid() && !block.text().isEmpty();
         block = block.next()) {
        QList<int> line;
        const QString text = block.text();
        for (qsizetype at = text.indexOf(QLatin1Char('\t')); at >= 0; at = text.indexOf(QLatin1Char('\t'), at + 1)) {
            QTextCursor cursor(block);
            cursor.setPosition(block.position() + static_cast<int>(at) + 1);
            line << box->cursorRect(cursor).x();
        }
        starts << line;
    }
    ASSERT_EQ(starts.size(), 4);
    ASSERT_EQ(starts.at(0).size(), 3);
    EXPECT_TRUE(
        starts.at(0).at(0) > 0 && starts.at(0).at(0) < starts.at(0).at(1) && starts.at(0).at(1) < starts.at(0).at(2));
    for (const QList<int>& line : starts) {
        EXPECT_EQ(line, starts.at(0));
    }
}

TEST_F(Viewers, SavingAgainAsksBeforeOverwritingTheSameFile)
{
    ShowText(QStringLiteral("first"));
    frmText* viewer = lastText();
    ASSERT_NE(viewer, nullptr);
    m_dialogs->answer = m_folder.filePath(QStringLiteral("again.txt"));
    ASSERT_TRUE(viewer->Save());
    viewer->findChild<QPlainTextEdit*>(QStringLiteral("txtText"))->setPlainText(QStringLiteral("second"));
    EXPECT_TRUE(viewer->unsavedChanges());
    Prompts().answer(MsgBox::No);
    EXPECT_FALSE(viewer->Save());
    EXPECT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_TRUE(viewer->unsavedChanges());
    EXPECT_EQ(m_asked.size(), 1) << "Save goes to the known file without a dialog";
}

TEST_F(Viewers, EveryTextGetsAViewerOfItsOwnAndSaveIsItsOnlyCommand)
{
    ShowText(QStringLiteral("a"));
    ShowText(QStringLiteral("b"));
    ASSERT_EQ(openWindows<frmText>().size(), 2);
    frmText* viewer = lastText();
    viewer->info()->DoCommand(MainCommand::XML);
    EXPECT_EQ(Prompts().beeps, 1);
    m_dialogs->answer = m_folder.filePath(QStringLiteral("b.txt"));
    viewer->info()->DoCommand(MainCommand::Save);
    EXPECT_FALSE(viewer->unsavedChanges());
    EXPECT_TRUE(QFile::exists(m_dialogs->answer));
}

TEST_F(Viewers, AnImagePathIsShownOnceAndAnotherLetterCaseIsAnotherFile)
{
    const QString path = m_folder.filePath(QStringLiteral("gun.png"));
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(path));

    ShowImage(path);
    ShowImage(path);
    ASSERT_EQ(openWindows<frmImage>().size(), 1);
    frmImage* viewer = openWindows<frmImage>().at(0);
    EXPECT_EQ(viewer->windowTitle(), QStringLiteral("View Image - ") + path);
    EXPECT_FALSE(viewer->findChild<QLabel*>(QStringLiteral("zimgImage"))->pixmap().isNull());

    const QString other = m_folder.filePath(QStringLiteral("GUN.png"));
    ShowImage(other);
    ASSERT_EQ(openWindows<frmImage>().size(), 2);
    EXPECT_EQ(openWindows<frmImage>().at(1)->findChild<QLabel*>(QStringLiteral("zimgImage"))->text(),
              QStringLiteral("Cannot Find Specified File"));
}

TEST_F(Viewers, TheFolderChooserHandsBackTheChosenFolderOrNothing)
{
    QDir(m_folder.path()).mkpath(QStringLiteral("cases/2024"));
    const QString folder = QDir(m_folder.path()).filePath(QStringLiteral("cases/2024"));
    {
        frmFolder chooser(folder);
        EXPECT_EQ(chooser.windowTitle(), QStringLiteral("Select Folder"));
        EXPECT_EQ(chooser.selectedFolder(), folder);
    }
    auto press = [](const char* name) {
        QTimer::singleShot(0, [name] {
            if (auto* chooser = qobject_cast<frmFolder*>(QApplication::activeModalWidget()))
                chooser->findChild<QPushButton*>(QString::fromLatin1(name))->click();
        });
    };
    press("btnOK");
    EXPECT_EQ(BrowseForFolder(folder), folder);
    press("btnCancel");
    EXPECT_EQ(BrowseForFolder(folder), QString()) << "Cancel hands back nothing, even with a folder selected";
}

// The program folder of the build, where the web page viewer plugin lies, for one test.
class InBuildProgramFolder {
public:
    InBuildProgramFolder() { SetMainPath(QStringLiteral(BRAMBLECOT_PROGRAM_DIR)); }
    ~InBuildProgramFolder() { SetMainPath(m_saved); }

private:
    QString m_saved = GetMainPath();
};

TEST_F(Viewers, OneWebBrowserWindowIsReusedAndRestored)
{
    InBuildProgramFolder programFolder;
    QList<QUrl> opened;
    Desktop::setOpener(std::make_unique<RecordingOpener>(opened));
    ShowWebPage(QStringLiteral("about:blank"), QString());
    ASSERT_EQ(openWindows<frmWebBrowser>().size(), 1);
    frmWebBrowser* browser = openWindows<frmWebBrowser>().at(0);
    EXPECT_EQ(browser->windowTitle(), QStringLiteral("Web Browser"));

    browser->frame()->showMinimized();
    ShowWebPage(QStringLiteral("mailto:property.room@example.org"), QStringLiteral("Map"));
    ASSERT_EQ(openWindows<frmWebBrowser>().size(), 1);
    EXPECT_EQ(browser->windowTitle(), QStringLiteral("Map"));
    EXPECT_FALSE(browser->frame()->isMinimized());
    EXPECT_EQ(opened, QList<QUrl> { QUrl(QStringLiteral("mailto:property.room@example.org")) })
        << "what the browser cannot show goes to the desktop";
    Desktop::setOpener(nullptr);
}

// Without a loadable viewer plugin in the program folder a web page gives the message and no
// window; the program goes on (the other viewers still open).
TEST_F(Viewers, AWebPageWithoutItsViewerPluginGivesTheMessageAndTheProgramGoesOn)
{
    struct Case {
        const char* name;
        QByteArray pluginFile; // written as the plugin's file; empty: no file at all
    };
    const Case cases[] = {
        { "no plugin file", QByteArray() },
        { "a file that is no plugin", QByteArrayLiteral("not a shared library") },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir folder;
        const QString saved = GetMainPath();
        SetMainPath(folder.path());
        if (!c.pluginFile.isEmpty()) {
            QFile file(WebViewerPluginFile());
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(c.pluginFile);
        }
        Prompts().clear();
        ShowWebPage(QStringLiteral("about:blank"), QStringLiteral("Map"));
        EXPECT_TRUE(openWindows<frmWebBrowser>().isEmpty());
        ASSERT_EQ(Prompts().boxes.size(), 1u);
        EXPECT_TRUE(Prompts().boxes[0].text.startsWith(QStringLiteral("The web page viewer could not be loaded: ")))
            << Prompts().boxes[0].text.toStdString();
        EXPECT_GT(Prompts().boxes[0].text.size(), QStringLiteral("The web page viewer could not be loaded: ").size())
            << "the reason follows";

        // Opened by its name (a menu entry), the window raises the same text for the action to report.
        try {
            LoadFormByName(QStringLiteral("frmWebBrowser"));
            ADD_FAILURE() << "the browser window opened without its viewer";
        } catch (const AppError& error) {
            EXPECT_TRUE(error.description().startsWith(QStringLiteral("The web page viewer could not be loaded: ")));
        }
        EXPECT_TRUE(openWindows<frmWebBrowser>().isEmpty());
        SetMainPath(saved);

        ShowText(QStringLiteral("still working"));
        ASSERT_NE(lastText(), nullptr);
        EXPECT_EQ(lastText()->text(), QStringLiteral("still working"));
        closeEverything();
    }
}

// --- The default folder setting of Save As, on both engines ---------------------------------

class TextViewerSettings : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        InstallViewerWindows();
        Prompts().clear();
        auto dialogs = std::make_unique<AnsweringDialogs>(m_asked);
        m_dialogs = dialogs.get();
        Dialogs::setFiles(std::move(dialogs));
    }
    void TearDown() override
    {
        closeEverything();
        Dialogs::setFiles(nullptr);
        DatabaseTest::TearDown();
    }
    QTemporaryDir m_folder;
    QStringList m_asked;
    AnsweringDialogs* m_dialogs = nullptr;
};

TEST_P(TextViewerSettings, SaveAsStartsInTheLastFolderSavedTo)
{
    ShowText(QStringLiteral("x"));
    frmText* viewer = openWindows<frmText>().at(0);
    QDir(m_folder.path()).mkpath(QStringLiteral("exports"));
    m_dialogs->answer = QDir(m_folder.path()).filePath(QStringLiteral("exports/x.txt"));
    ASSERT_TRUE(viewer->SaveAs());
    Prompts().answer(MsgBox::Yes);
    ASSERT_TRUE(viewer->SaveAs());
    ASSERT_EQ(m_asked.size(), 2);
    EXPECT_EQ(m_asked.at(0), QString()) << "the database's default: no folder yet";
    EXPECT_EQ(m_asked.at(1), QDir(m_folder.path()).filePath(QStringLiteral("exports")));
    QVariant stored;
    ASSERT_TRUE(Act_GetSettingDB(QStringLiteral("DefaultFolder"), stored));
    EXPECT_EQ(stored.toString(), m_asked.at(1));
    EXPECT_TRUE(Prompts().boxes.size() == 1 && Prompts().boxes.at(0).title == QStringLiteral("Overwrite?"))
        << "the second save asked before replacing the file";
}

INSTANTIATE_TEST_SUITE_P(Engines, TextViewerSettings, ::testing::ValuesIn(TestEngines()), EngineTestName);

} // namespace
