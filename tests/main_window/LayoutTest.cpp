// What the main window and its small windows show on screen: nothing cut, nothing shown that the
// user's options hide.

#include "core/AppInfo.h"
#include "core/Database.h"
#include "core/DatabaseList.h"
#include "support/PromptRecorder.h"
#include "core/Settings.h"
#include "core/Startup.h"
#include "support/TestDatabase.h"
#include "main_window/frmChangePassword.h"
#include "main_window/frmMain.h"
#include "form_framework/zText.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>

#include <gtest/gtest.h>

namespace {

class Layout : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        if (!m_database)
            return;
        Prompts().clear();
        QFile menu(GetMainPath() + QStringLiteral("menu.txt"));
        ASSERT_TRUE(menu.open(QIODevice::WriteOnly));
        menu.write("Cases, _Cases\n");
        frmMain::setInputBox({});
    }
    void TearDown() override
    {
        if (m_main) {
            m_main->close();
            delete m_main.data();
        }
        DatabaseTest::TearDown();
    }
    frmMain* load()
    {
        m_main = new frmMain;
        m_main->Load();
        m_main->show();
        QApplication::processEvents();
        return m_main;
    }
    QPointer<frmMain> m_main;
};

// The box's text fits inside its frame.
void expectWhole(QLineEdit* box)
{
    const int frame = box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, box);
    EXPECT_GE(box->width(), box->fontMetrics().horizontalAdvance(box->text()) + 2 * frame + 4)
        << box->text().toStdString() << " in " << box->width() << " pixels";
}

TEST_P(Layout, ThePasswordChangeShowsTheDatabaseAndUserWhole)
{
    frmChangePassword window;
    window.show();
    QApplication::processEvents();
    ASSERT_FALSE(window.ztxtDatabase->box()->text().isEmpty());
    EXPECT_EQ(window.ztxtDatabase->box()->text(), DatabaseAt(CurrentDB())->DisplayName);
    expectWhole(window.ztxtDatabase->box());
    expectWhole(window.ztxtName->box());
}

TEST_P(Layout, TheToolbarAndStatusBarShowExactlyWhenTheirOptionsAreOn)
{
    {
        // Before any setting is read (or when reading fails) the bars and their items agree.
        frmMain fresh;
        fresh.setAttribute(Qt::WA_DeleteOnClose, false);
        for (const char* item : { "mnuShowToolbar", "mnuShowStatusbar" }) {
            SCOPED_TRACE(item);
            QWidget* bar
                = QByteArray(item) == "mnuShowToolbar" ? static_cast<QWidget*>(fresh.toolbar()) : fresh.statusBar();
            EXPECT_EQ(bar->isVisibleTo(&fresh), fresh.menuItem(QString::fromLatin1(item))->isChecked());
        }
    }

    ASSERT_TRUE(Act_SaveSettingDB(QStringLiteral("DB_Show_Toolbar"), false));
    frmMain* main = load();
    QAction* item = main->menuItem(QStringLiteral("mnuShowToolbar"));
    EXPECT_FALSE(item->isChecked());
    EXPECT_FALSE(main->toolbar()->isVisible());
    EXPECT_FALSE(main->toolbar()->toggleViewAction()->isVisible()) << "no second switch in a context menu";
    item->setChecked(true);
    EXPECT_TRUE(main->toolbar()->isVisible()) << "the toolbar follows its item however it is checked";
    item->trigger();
    EXPECT_FALSE(main->toolbar()->isVisible());
    QVariant saved;
    ASSERT_TRUE(Act_GetSettingDB(QStringLiteral("DB_Show_Toolbar"), saved));
    EXPECT_EQ(saved.toString(), QStringLiteral("0"));
}

// The Database menu's time-out prompt, as the desktop shows it: every part of it inside the window.
TEST_P(Layout, TheTimeoutInputBoxShowsWhole)
{
    frmMain* main = load();
    QRect window;
    QList<QRect> parts;
    QTimer::singleShot(0, main, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        window = modal->rect();
        for (QWidget* child : modal->findChildren<QWidget*>()) {
            if (child->isVisible() && child->parentWidget() == modal)
                parts << child->geometry();
        }
        static_cast<QDialog*>(modal)->reject();
    });
    main->SetQueryTimeout();
    ASSERT_FALSE(window.isEmpty()) << "the input box was not shown";
    ASSERT_FALSE(parts.isEmpty());
    for (const QRect& part : parts)
        EXPECT_TRUE(window.contains(part))
            << part.x() << "," << part.y() << " " << part.width() << "x" << part.height();
}

INSTANTIATE_TEST_SUITE_P(Engines, Layout, ::testing::ValuesIn(TestEngines()), EngineTestName);

} // namespace
