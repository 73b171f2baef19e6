#include "DesktopOpener.h"
#include "FileDialogs.h"
#include "PromptRecorder.h"
#include "Settings.h"
#include "TestDatabase.h"
#include "ViewerWindows.h"
#include "Viewers.h"
#include "WindowList.h"
#include "frmFolder.h"
#include "frmImage.h"
#include "frmText.h"
#include "frmWebBrowser.h"
#include "zInfo.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
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
    QString shown = viewer->text();
    shown.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    EXPECT_EQ(shown.size(), text.size());

    const QString file = m_folder.filePath(QStringLiteral("export.tsv"));
    m_dialogs->answer = file;
    ASSERT_TRUE(viewer->Save()) << "an unsaved viewer saves through Save As";
    QFile saved(file);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QString written = QString::fromUtf8(saved.readAll());
    EXPECT_EQ(written, viewer->text());
    EXPECT_GE(written.size(), 100 * 1024 - 10000);
    EXPECT_EQ(viewer->windowTitle(), QStringLiteral("View Text - ") + file);
    EXPECT_FALSE(viewer->unsavedChanges());
}

TEST_F(Viewers, ClosingAsksToSaveOnlyWhileTheTextHasUnsavedChanges)
{
    ShowText(QStringLiteral("one"));
    frmText* viewer = lastText();
    ASSERT_NE(viewer, nullptr);
    QPointer<frmText> watch(viewer);

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
    int command = 3;
    viewer->info()->DoCommand(command);
    EXPECT_EQ(Prompts().beeps, 1);
    m_dialogs->answer = m_folder.filePath(QStringLiteral("b.txt"));
    command = 7;
    viewer->info()->DoCommand(command);
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

TEST_F(Viewers, OneWebBrowserWindowIsReusedAndRestored)
{
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
