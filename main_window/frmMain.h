#pragma once

#include "form_framework/MainWindowServices.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <optional>

class NavigatorPane;
class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;
class QTreeWidgetItem;

// The query time-out typed into the Timeout box: its numeric value rounded to the nearest whole
// number (halves to the even one) and made positive. 0 for an empty entry, a text that is not a
// number, or zero (nothing changes); -1 above the 32767 seconds a time-out may hold.
int ParseTimeoutEntry(const QString& text);
constexpr int kMaxQueryTimeout = 32767;

// The program's one multiple-document main window: menus (the Go To menu from menu.txt, the
// Database and Window menus built at run time), toolbar, status bar, the navigator pane with the
// Go To tree and the open-windows list, and the area the data windows open in. Its layout is
// the user's per-user settings. Menu and toolbar commands go to the active child window by
// command number; connection commands (log-off, database switch, time-out, restart, exit) are
// carried out here.
//
// The class is split by concern: frmMain.cpp (building, settings, layout, closing),
// frmMainCommands.cpp (command routing, menu keys, Window menu) and frmMainDatabase.cpp
// (log-off, database switch, time-out, restart, password and option windows).
class frmMain final : public QMainWindow, public MainWindowServices {
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // The window's load: menus, menu file, Database menu, icons, then on line; installs itself as
    // the main window last.
    void Load();
    // Shows the window maximised over the screen it is on. Its normal size is most of that
    // screen's available area too, so a desktop that does not maximise windows (no window
    // manager) and a later restore still give the data windows room.
    void showOnScreen();
    // Applies the current log-on: caption, Database menu, layout settings, background colour.
    // False when the first setting could not be read (already reported); nothing more applied.
    bool SetMainFormOnLine();
    // Lays out the navigator pane from the menu checks.
    void NavigatorVisibleChange();

    // --- Commands ------------------------------------------------------------------------------
    // Presses btnPopulate of the active child window; silent when there is none (Enter in search
    // fields). The menu command beeps in that case.
    void mnuPopulate_Click();
    // The current user's own record (frmUserInfo) in edit mode.
    void mnuUserInfo_Click();
    void RunMenuKey(const QString& key);
    void MenuItemClick(QAction* item);
    void BuildWindowMenu();
    void WindowCommand(int number);
    void ToolbarButtonClick(const QString& key);
    void SendRecordCommand(QAction* item);
    void PressChildButton(const QString& buttonName, bool beepWhenMissing);
    void EditCommand(int number);

    void Logoff();
    void SwitchDatabase(int number);
    void SetQueryTimeout();
    void Restart();
    void ChangePassword();
    void DBOptions();
    void About();
    void PrintSetup();

    // True when no window but this one is loaded.
    bool OnlyMainWindowLeft() const;

    // What asks for the time-out (prompt, title, default): the entered text, or nothing when
    // cancelled. An input box unless replaced (tests).
    using InputBox = std::function<std::optional<QString>(const QString&, const QString&, const QString&)>;
    static void setInputBox(InputBox box);

    // --- Parts the program and tests reach -----------------------------------------------------
    QMdiArea* mdiArea() const { return m_area; }
    NavigatorPane* navigators() const { return m_navigators; }
    QToolBar* toolbar() const { return m_toolbar; }
    QAction* menuItem(const QString& name) const;
    QMenu* menu(const QString& name) const;

    // --- MainWindowServices -------------------------------------------------------------------
    QWidget* mainWindow() override { return this; }
    void setStatusText(const QString& text) override;
    OpenWindowsList* openWindows() override { return m_openWindows; }
    void addChildWindow(QWidget* window) override;
    QWidget* activeChildWindow() override;
    QSize clientAreaSize() override;
    QIcon icon() override;
    void setCaption(const QString& caption) override;
    void setMenuCaption(const QString& key, const QString& caption) override;
    void setDatabaseMenuItem(int index, bool current) override;
    void dataChanged(DataChangedAction action, const QString& tableName, const QString& idList) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void buildToolbar();
    void BuildDatabaseMenu();
    void SetMenuIcons();
    void placeNavigators(bool onRight);
    void toggleOption(QAction* item);
    void saveSetting(const QString& name, const QVariant& value);
    void runTreeNode(QTreeWidgetItem* node);
    void subWindowActivated(QMdiSubWindow* window);
    void paintDisconnected();
    void showCommandTimeout();
    void setBackgroundColor(long color);
    QAction* addItem(QMenu* menu, const QString& name, const QString& caption);

    QMdiArea* m_area = nullptr;
    NavigatorPane* m_navigators = nullptr;
    OpenWindowsList* m_openWindows = nullptr;
    QToolBar* m_toolbar = nullptr;
    QLabel* m_statusLeft = nullptr;
    QMenu* m_goTo = nullptr;
    QMenu* m_database = nullptr;
    QMenu* m_window = nullptr;
    QTreeWidgetItem* m_pressedNode = nullptr;
    bool m_unloaded = false;
};
