// Access keys as a keyboard user meets them: within every menu of every window the program
// registers (the Actions menu and any other, with their submenus) and of the main window, no two
// entries share a key, so Alt and a letter always reaches the entry it shows.

#include "administration/Administration.h"
#include "cases/CaseProcedures.h"
#include "cases/CaseWindows.h"
#include "cases/NotificationWindows.h"
#include "cases/PeopleWindows.h"
#include "core/AppInfo.h"
#include "custody/CustodyWindows.h"
#include "form_framework/ActionsMenu.h"
#include "form_framework/DataWindow.h"
#include "form_framework/FormFieldsToText.h"
#include "form_framework/FormRegistry.h"
#include "form_framework/WindowList.h"
#include "form_framework/WindowOpening.h"
#include "form_framework/zInfo.h"
#include "list_controls/ListProcedures.h"
#include "main_window/ViewerWindows.h"
#include "main_window/frmMain.h"
#include "reference_tables/ReferenceTables.h"
#include "support/PromptRecorder.h"
#include "support/TestDatabase.h"
#include "apps/ProgramWindows.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QSet>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Every entry of the menu and of its submenus sharing its key with another entry of the same
// menu, as "<where> > <menu>: key x on "A&x", "&X"".
QStringList sharedKeys(const QString& where, const QList<QAction*>& entries, const QString& menuName)
{
    QStringList found;
    QMap<QChar, QStringList> byKey;
    for (QAction* entry : entries) {
        if (entry->isSeparator())
            continue;
        if (const QChar key = ActionsMenu::AccessKey(entry->text()); !key.isNull())
            byKey[key] << QLatin1Char('"') + entry->text() + QLatin1Char('"');
        if (QMenu* sub = entry->menu())
            found << sharedKeys(where, sub->actions(), menuName + QStringLiteral(" > ") + sub->title());
    }
    for (auto it = byKey.cbegin(); it != byKey.cend(); ++it) {
        if (it.value().size() > 1)
            found << QStringLiteral("%1 %2: key %3 on %4")
                         .arg(where, menuName, it.key(), it.value().join(QStringLiteral(", ")));
    }
    return found;
}

// The menus a window holds (its Actions menu, a grid's menu, any other), each with its submenus.
QStringList sharedKeysOf(const QString& where, const QWidget* window)
{
    QStringList found;
    for (const QMenu* menu : window->findChildren<QMenu*>()) {
        // A submenu is walked with the menu it belongs to.
        if (menu->menuAction() && !menu->menuAction()->associatedObjects().isEmpty()) {
            bool inMenu = false;
            for (QObject* holder : menu->menuAction()->associatedObjects())
                inMenu = inMenu || qobject_cast<QMenu*>(holder);
            if (inMenu)
                continue;
        }
        found << sharedKeys(where, menu->actions(), menu->objectName().isEmpty() ? menu->title() : menu->objectName());
    }
    return found;
}

class AccessKeys : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        Prompts().clear();
        const QString menu = GetMainPath() + QStringLiteral("menu.txt");
        QFile::remove(menu);
        ASSERT_TRUE(QFile::copy(QStringLiteral(BRAMBLECOT_SOURCE_DIR "/program_files/menu.txt"), menu));
        RegisterProgramWindows();
        frmMain::setInputBox({});
        m_main = new frmMain;
        m_main->Load();
        m_main->resize(1280, 1024);
        m_main->show();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        closeAll();
        if (m_main) {
            m_main->close();
            delete m_main.data();
        }
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        DatabaseTest::TearDown();
    }
    static void closeAll()
    {
        for (QWidget* window : LoadedWindows()) {
            if (DataWindow* data = AsDataWindow(window)) {
                data->info()->setRefreshScreen(false);
                data->info()->setDataChanged(false);
                UnloadWindow(window);
            }
        }
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QPointer<frmMain> m_main;
};

TEST_P(AccessKeys, NoTwoEntriesOfAMenuShareAKeyInAnyWindow)
{
    QStringList shared;
    QList<QAction*> bar = m_main->menuBar()->actions();
    shared << sharedKeys(QStringLiteral("main window"), bar, QStringLiteral("menu bar"));
    // The web page viewer is a program of its own (the plugin) and needs a page to show.
    const QStringList skipped { QStringLiteral("frmwebbrowser") };
    int walked = 0;
    for (const QString& name : FormRegistry::names()) {
        if (skipped.contains(name))
            continue;
        SCOPED_TRACE(name.toStdString());
        FormType type = FormType::Other;
        {
            DataWindow* probe = FormRegistry::create(name);
            type = probe->info()->FormType();
            delete probe;
        }
        DataWindow* window = type == FormType::Record ? OpenFormWithParams(name, 0, { QStringLiteral("Mode"), 1 })
                                                      : ShowFormByName(name);
        ASSERT_NE(window, nullptr);
        shared << sharedKeysOf(name, window);
        ++walked;
        closeAll();
    }
    EXPECT_GT(walked, 50);
    EXPECT_TRUE(shared.isEmpty()) << shared.join(QLatin1Char('\n')).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Engines, AccessKeys, ::testing::ValuesIn(TestEngines()), EngineTestName);

} // namespace
