// The item file windows over a fresh database on both engines, on real files in a temporary
// folder: the path as the file register's identity, the preview setting, the browse dialog, the
// programs that open the picture and the search window.

#include "../reference_tables/ReferenceFixture.h"

#include "custody/CustodyWindows.h"
#include "custody/ItemFileWindows.h"

#include "core/AppInfo.h"
#include "core/Database.h"
#include "core/FileDialogs.h"
#include "core/Platform.h"
#include "core/SqlText.h"
#include "form_framework/FormRegistry.h"
#include "form_framework/WindowList.h"
#include "form_framework/WindowOpening.h"
#include "form_framework/zCheckBox.h"
#include "form_framework/zIdentity.h"
#include "form_framework/zImage.h"
#include "form_framework/zInfo.h"
#include "list_controls/zListView.h"
#include "declared_windows/DeclaredRecordWindow.h"
#include "declared_windows/DeclaredSearchWindow.h"
#include "support/CaseRows.h"
#include "support/PromptRecorder.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Answers the open-file dialog with a prepared name and keeps what each call asked for.
class AnsweringDialogs final : public FileDialogs {
public:
    struct Call {
        QString title;
        QString folder;
        QString filter;
    };
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&, const QString&) override
    {
        return {};
    }
    QString openFileName(QWidget*, const QString& title, const QString& folder, const QString& filter) override
    {
        calls.push_back({ title, folder, filter });
        return answer;
    }
    static inline std::vector<Call> calls;
    static inline QString answer;
};

class RecordingStarts final : public ProcessStarter {
public:
    bool startDetached(const QString& program, const QStringList& arguments, const QString&) override
    {
        starts << (QStringList { QFileInfo(program).fileName() } + arguments);
        return true;
    }
    static inline QList<QStringList> starts;
};

class ItemFileWindows : public ReferenceTest {
protected:
    void SetUp() override
    {
        ReferenceTest::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        RegisterItemFileWindows();
        // The item windows come with their own work; a plain record window over Items stands in,
        // so "View Item" can be seen opening the item.
        DeclaredTable items;
        items.table = QStringLiteral("Items");
        items.identityField = QStringLiteral("Item_ID");
        items.recordWindow = QStringLiteral("frmItem");
        items.searchWindow = QStringLiteral("frmItems");
        items.caption = QStringLiteral("Item");
        items.pluralCaption = QStringLiteral("Items");
        FormRegistry::registerForm(items.recordWindow, [items] { return new DeclaredRecordWindow(items); });
        ASSERT_TRUE(m_folder.isValid());
        item = addItem(QStringLiteral("2024-1"));
        AnsweringDialogs::calls.clear();
        AnsweringDialogs::answer.clear();
        Dialogs::setFiles(std::make_unique<AnsweringDialogs>());
    }
    void TearDown() override
    {
        Dialogs::setFiles(nullptr);
        ReferenceTest::TearDown();
    }

    int addItem(const QString& number)
    {
        // The class codes are unique, so each added item gets classes of its own.
        CaseClassNames names;
        names.crime = QStringLiteral("Theft ") + number;
        names.crimeCode = QStringLiteral("T") + number;
        names.felony = QStringLiteral("Class ") + number;
        names.felonyCode = QStringLiteral("F") + number;
        names.category = QStringLiteral("Found ") + number;
        names.categoryCode = QStringLiteral("P") + number;
        names.payroll = QStringLiteral("E") + number;
        return InsertItem(InsertCase(InsertCaseClasses(names), number), number);
    }
    // A small picture file at that path (folders made as needed).
    static QString picture(const QString& path)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QImage image(8, 6, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        EXPECT_TRUE(image.save(path, "JPG")) << path.toStdString();
        return path;
    }
    QString file(const QString& name) const { return m_folder.filePath(name); }
    // The path stored for an item file: its register identity read back through the register.
    QString storedPath(int itemFile)
    {
        const auto path = GetSQLValue(QStringLiteral("SELECT f.DB_Folder_Name || '/' || n.DB_File_Name FROM Item_Files "
                                                     "x JOIN DB_Files n ON n.DB_File_ID = x.DB_File_ID JOIN DB_Folders "
                                                     "f ON f.DB_Folder_ID = n.DB_Folder_ID WHERE x.Item_File_ID = %1")
                                          .arg(itemFile));
        return path && !path->isNull() ? path->toString() : QString();
    }
    DeclaredRecordWindow* openNewFor(int itemId)
    {
        auto* window = qobject_cast<DeclaredRecordWindow*>(OpenFormWithParams(
            QStringLiteral("frmItemFile"), 0, { QStringLiteral("Mode"), 1, QStringLiteral("Item_ID"), itemId }));
        if (window) {
            window->show();
            QApplication::processEvents();
        }
        return window;
    }
    static zImage* image(DeclaredRecordWindow* window) { return window->findChild<zImage*>(QStringLiteral("zimgImage")); }
    static QPushButton* button(DeclaredRecordWindow* window, const char* name)
    {
        return window->findChild<QPushButton*>(QString::fromLatin1(name));
    }
    // The newest loaded record window of that name, or null.
    static DeclaredRecordWindow* loaded(const QString& name)
    {
        DeclaredRecordWindow* found = nullptr;
        for (QWidget* window : LoadedWindows())
            if (window->objectName() == name)
                found = qobject_cast<DeclaredRecordWindow*>(window);
        return found;
    }
    static void discard(DeclaredRecordWindow* window)
    {
        window->info()->setDataChanged(false);
        UnloadWindow(window);
    }

    int item = 0;
    QTemporaryDir m_folder;
};

TEST_P(ItemFileWindows, PathsAreStoredAbsoluteAndCleanAndMustNameAFile)
{
    // Relative paths are taken from the program folder.
    const QString inProgram = picture(GetMainPath() + QStringLiteral("item-file-a.jpg"));
    const QString real = picture(file(QStringLiteral("photos/b.jpg")));
    const QString quoted = picture(file(QStringLiteral("it's a photo/c d.JPG")));
    ASSERT_TRUE(QFile::link(real, file(QStringLiteral("link.jpg"))));
    ASSERT_TRUE(QFile::link(file(QStringLiteral("gone.jpg")), file(QStringLiteral("dangling.jpg"))));
    const struct {
        QString typed;
        QString stored; // "" when refused
        QString message; // part of the message when refused
    } cases[] = {
        { QStringLiteral("item-file-a.jpg"), inProgram, {} },
        { file(QStringLiteral("photos/../photos/./b.jpg")), real, {} },
        // The forward slash is the separator here and is never refused.
        { real, real, {} },
        { quoted, quoted, {} },
        // A link is kept as the path the clerk chose, not where it points.
        { file(QStringLiteral("link.jpg")), file(QStringLiteral("link.jpg")), {} },
        { file(QStringLiteral("missing.jpg")), {}, QStringLiteral("File doesn't exist") },
        { file(QStringLiteral("dangling.jpg")), {}, QStringLiteral("File doesn't exist") },
        { file(QStringLiteral("photos")), {}, QStringLiteral("File doesn't exist") },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        const int before = count(QStringLiteral("SELECT COUNT(*) FROM DB_Files"));
        DeclaredRecordWindow* window = openNewFor(item);
        ASSERT_NE(window, nullptr);
        type(window->field(QStringLiteral("ztxtPath")), c.typed);
        const QString message = save(window);
        if (c.stored.isEmpty()) {
            EXPECT_TRUE(message.contains(c.message)) << message.toStdString();
            EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM DB_Files")), before) << "nothing registered";
            discard(window);
            continue;
        }
        ASSERT_EQ(message, QString());
        EXPECT_EQ(storedPath(window->identity()->Value()), c.stored);
        EXPECT_EQ(window->field(QStringLiteral("ztxtPath"))->Text(), c.stored);
        discard(window);
    }
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Item_Files")), 5);
    QFile::remove(inProgram);
}

TEST_P(ItemFileWindows, LoadChangeSaveReloadThroughTheRegister)
{
    const QString first = picture(file(QStringLiteral("shots/one.jpg")));
    const QString second = picture(file(QStringLiteral("shots/two.jpg")));
    DeclaredRecordWindow* window = openNewFor(item);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->field(QStringLiteral("zcbtItem"))->Value().toInt(), item);
    EXPECT_FALSE(button(window, "btnView")->isEnabled());
    EXPECT_FALSE(button(window, "btnPaint")->isEnabled());
    type(window->field(QStringLiteral("ztxtPath")), first);
    EXPECT_TRUE(button(window, "btnView")->isEnabled());
    EXPECT_EQ(image(window)->ImagePath(), first);
    ASSERT_EQ(save(window), QString());
    const int id = window->identity()->Value();
    UnloadWindow(window);

    window = openEdit(QStringLiteral("frmItemFile"), id);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->field(QStringLiteral("ztxtPath"))->Text(), first);
    EXPECT_EQ(image(window)->ImagePath(), first);
    EXPECT_TRUE(image(window)->PictureShown());
    EXPECT_FALSE(window->info()->DataChanged());
    type(window->field(QStringLiteral("ztxtPath")), second);
    ASSERT_EQ(save(window), QString());
    UnloadWindow(window);

    window = openEdit(QStringLiteral("frmItemFile"), id);
    EXPECT_EQ(window->field(QStringLiteral("ztxtPath"))->Text(), second);
    // Two files of one folder: the folder is registered once.
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM DB_Folders WHERE DB_Folder_Name = %1")
                        .arg(SQLString(file(QStringLiteral("shots"))))),
        1);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(DISTINCT DB_Folder_ID) FROM DB_Files WHERE DB_File_Name IN "
                                   "('one.jpg', 'two.jpg')")),
        1);

    // Clearing the path empties the display and disables what acts on the file at once.
    window->field(QStringLiteral("ztxtPath"))->setValue(QString());
    EXPECT_FALSE(button(window, "btnView")->isEnabled());
    EXPECT_FALSE(button(window, "btnPaint")->isEnabled());
    EXPECT_EQ(image(window)->ImagePath(), QString());
    EXPECT_TRUE(save(window).contains(QStringLiteral("File")));
    discard(window);

    // The folder removed from disk after its files were registered: the path still shows, and
    // saving it again is refused.
    ASSERT_TRUE(QDir(file(QStringLiteral("shots"))).removeRecursively());
    window = openEdit(QStringLiteral("frmItemFile"), id);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->field(QStringLiteral("ztxtPath"))->Text(), second);
    EXPECT_EQ(image(window)->StatusText(), QStringLiteral("Cannot Find Specified File"));
    window->info()->setDataChanged(true);
    EXPECT_TRUE(save(window).contains(QStringLiteral("File doesn't exist")));
    discard(window);
}

TEST_P(ItemFileWindows, PreviewChoiceIsKeptBetweenOpenings)
{
    const QString path = picture(file(QStringLiteral("p.jpg")));
    DeclaredRecordWindow* window = openNewFor(item);
    ASSERT_NE(window, nullptr);
    auto* preview = qobject_cast<zCheckBox*>(window->field(QStringLiteral("zchkPreview")));
    // The stored choice is on: Refresh is enabled from the start.
    EXPECT_TRUE(preview->Value().toBool());
    EXPECT_TRUE(button(window, "btnRefresh")->isEnabled());
    type(window->field(QStringLiteral("ztxtPath")), path);
    EXPECT_TRUE(image(window)->PictureShown());
    QTest::mouseClick(preview->box(), Qt::LeftButton, {}, QPoint(4, preview->box()->height() / 2));
    QApplication::processEvents();
    EXPECT_FALSE(preview->Value().toBool());
    EXPECT_FALSE(button(window, "btnRefresh")->isEnabled());
    EXPECT_EQ(image(window)->StatusText(), QStringLiteral("Preview Off"));
    discard(window);

    window = openNewFor(item);
    EXPECT_FALSE(window->field(QStringLiteral("zchkPreview"))->Value().toBool());
    EXPECT_FALSE(button(window, "btnRefresh")->isEnabled());
    type(window->field(QStringLiteral("ztxtPath")), path);
    EXPECT_FALSE(image(window)->PictureShown());
    discard(window);
}

TEST_P(ItemFileWindows, BrowseStartsInTheLastChosenFolder)
{
    const QString chosen = picture(file(QStringLiteral("scans/x.Jpg")));
    DeclaredRecordWindow* window = openNewFor(item);
    ASSERT_NE(window, nullptr);
    AnsweringDialogs::answer = chosen;
    QTest::mouseClick(window->button(QStringLiteral("btnBrowse")), Qt::LeftButton);
    ASSERT_EQ(AnsweringDialogs::calls.size(), 1u);
    EXPECT_EQ(AnsweringDialogs::calls[0].title, QStringLiteral("Open File"));
    EXPECT_EQ(AnsweringDialogs::calls[0].folder, QString());
    // Pictures in any letter case, then every file.
    EXPECT_TRUE(
        QDir::match(AnsweringDialogs::calls[0].filter.section(QLatin1Char('('), 1).section(QLatin1Char(')'), 0, 0),
            QStringLiteral("x.Jpg")));
    EXPECT_TRUE(AnsweringDialogs::calls[0].filter.endsWith(QStringLiteral("All Files (*)")));
    EXPECT_EQ(window->field(QStringLiteral("ztxtPath"))->Text(), chosen);

    // Cancelling changes neither the path nor the stored folder.
    AnsweringDialogs::answer.clear();
    QTest::mouseClick(window->button(QStringLiteral("btnBrowse")), Qt::LeftButton);
    ASSERT_EQ(AnsweringDialogs::calls.size(), 2u);
    EXPECT_EQ(AnsweringDialogs::calls[1].folder, file(QStringLiteral("scans")));
    EXPECT_EQ(window->field(QStringLiteral("ztxtPath"))->Text(), chosen);
    ASSERT_EQ(save(window), QString());
    UnloadWindow(window);

    window = openNewFor(item);
    QTest::mouseClick(window->button(QStringLiteral("btnBrowse")), Qt::LeftButton);
    EXPECT_EQ(AnsweringDialogs::calls.back().folder, file(QStringLiteral("scans")));
    discard(window);
}

TEST_P(ItemFileWindows, ViewerPaintAndEditorFollowThePath)
{
    QTemporaryDir bin;
    for (const char* name : { "kolourpaint", "gimp" }) {
        QFile program(bin.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(program.open(QIODevice::WriteOnly));
        program.write("#!/bin/sh\n");
        program.close();
        program.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    }
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin.path()));
    RecordingStarts::starts.clear();
    Platform::setProcesses(std::make_unique<RecordingStarts>());

    const QString photo = picture(file(QStringLiteral("with blank/p q.jpg")));
    DeclaredRecordWindow* window = openNewFor(item);
    ASSERT_NE(window, nullptr);
    type(window->field(QStringLiteral("ztxtPath")), photo);
    QTest::mouseClick(button(window, "btnView"), Qt::LeftButton);
    QTest::mouseClick(button(window, "btnPaint"), Qt::LeftButton);
    QTest::mouseClick(button(window, "btnPhotoshop"), Qt::LeftButton);
    qputenv("PATH", path);
    Platform::setProcesses(nullptr);

    EXPECT_EQ(viewers->images, QStringList { photo });
    ASSERT_EQ(RecordingStarts::starts.size(), 2);
    EXPECT_EQ(RecordingStarts::starts[0], (QStringList { QStringLiteral("kolourpaint"), photo }));
    EXPECT_EQ(RecordingStarts::starts[1].first(), QStringLiteral("gimp"));
    EXPECT_TRUE(RecordingStarts::starts[1].contains(photo));
    for (const char* name : { "btnView", "btnRefresh", "btnPaint", "btnPhotoshop" })
        EXPECT_FALSE(button(window, name)->accessibleName().isEmpty()) << name;
    EXPECT_FALSE(image(window)->accessibleName().isEmpty());
    discard(window);
}

TEST_P(ItemFileWindows, OpenWithAndNoImageEditorShowsOneBox)
{
    QTemporaryDir bin; // a PATH with no image editor in it
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin.path()));
    RecordingStarts::starts.clear();
    Platform::setProcesses(std::make_unique<RecordingStarts>());

    DeclaredRecordWindow* window = openNewFor(item);
    ASSERT_NE(window, nullptr);
    type(window->field(QStringLiteral("ztxtPath")), picture(file(QStringLiteral("photo.jpg"))));
    Prompts().clear();
    QTest::mouseClick(button(window, "btnPhotoshop"), Qt::LeftButton);
    qputenv("PATH", path);
    Platform::setProcesses(nullptr);

    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_EQ(Prompts().boxes.at(0).text, QStringLiteral("No image editor is installed (looked for gimp, krita, pinta)."));
    EXPECT_TRUE(RecordingStarts::starts.isEmpty());
    discard(window);
}

TEST_P(ItemFileWindows, ViewItemAndTheSearchWindow)
{
    const int other = addItem(QStringLiteral("2024-2"));
    const QString photo = picture(file(QStringLiteral("v.jpg")));
    int ids[2] = {};
    int index = 0;
    for (int owner : { item, other }) {
        DeclaredRecordWindow* window = openNewFor(owner);
        ASSERT_NE(window, nullptr);
        type(window->field(QStringLiteral("ztxtPath")), photo);
        ASSERT_EQ(save(window), QString());
        ids[index++] = window->identity()->Value();
        UnloadWindow(window);
    }

    DeclaredRecordWindow* window = openEdit(QStringLiteral("frmItemFile"), ids[1]);
    ASSERT_NE(window, nullptr);
    window->runAction(QStringLiteral("view item"));
    auto* opened = loaded(QStringLiteral("frmItem"));
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->identity()->Value(), other);

    // The item file deleted meanwhile: nothing opens, the clerk is told.
    Act_ExecuteSQL(QStringLiteral("DELETE FROM Item_Files WHERE Item_File_ID = %1").arg(ids[1]));
    UnloadWindow(opened);
    Prompts().clear();
    window->runAction(QStringLiteral("View Item"));
    EXPECT_EQ(loaded(QStringLiteral("frmItem")), nullptr);
    ASSERT_FALSE(Prompts().boxes.empty());
    EXPECT_EQ(Prompts().boxes.back().text, QStringLiteral("The related record no longer exists."));

    // The search window opens empty; a typed item code selects the item's files.
    DeclaredSearchWindow* search = openSearch(QStringLiteral("frmItemFiles"));
    ASSERT_NE(search, nullptr);
    EXPECT_EQ(search->grid()->CountItems(), 0);
    type(search->criteria().front(), QStringLiteral("i-%1").arg(item, 10, 10, QLatin1Char('0')));
    QTest::mouseClick(search->populateButton(), Qt::LeftButton);
    QApplication::processEvents();
    ASSERT_EQ(search->grid()->CountItems(), 1);
    EXPECT_EQ(search->grid()->SelectedItemID(), ids[0]);
}

INSTANTIATE_TEST_SUITE_P(Engines, ItemFileWindows, ::testing::ValuesIn(TestEngines()), EngineTestName);
INSTANTIATE_CLERK_SUITE(ItemFileWindows);

} // namespace
