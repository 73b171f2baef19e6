// frmMain: command routing to the active child window, the menu-key dispatcher, the Window menu
// and the toolbar.
#include "main_window/frmMain.h"

#include "core/Actions.h"
#include "core/AppError.h"
#include "core/AppInfo.h"
#include "form_framework/ChildWindows.h"
#include "form_framework/DataWindow.h"
#include "core/Database.h"
#include "main_window/MainImages.h"
#include "main_window/MainMenuFile.h"
#include "core/MessageBoxes.h"
#include "core/Permissions.h"
#include "core/Platform.h"
#include "core/Recordset.h"
#include "core/SqlText.h"
#include "form_framework/WindowList.h"
#include "form_framework/WindowOpening.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMetaObject>
#include <QRegularExpression>
#include <QTreeWidget>

namespace {
enum class Permission { None, Report, Action, TableView };
struct ToolKey {
    const char* key;
    Permission permission;
    const char* code;
    const char* window;
};
constexpr ToolKey kToolKeys[] = {
    { "Barcodes", Permission::None, "", "frmBarcodes" },
    { "RepAllTables", Permission::Report, "AllTables", "frmRepAllTables" },
    { "Rep_DB_Changes", Permission::Report, "DB_Changes", "frmRepDBChanges" },
    { "SQL2Excel", Permission::Report, "RunSQLtoExcelReport", "frmSQL2Excel" },
    { "RenameFiles", Permission::Action, "RenameFiles", "frmRenameFiles" },
    { "ReplaceText", Permission::Action, "ReplaceText", "frmReplaceText" },
    { "CurrentActivity", Permission::TableView, "master..sysprocesses", "frmCurrentActivity" },
};

// The number at the end of a run-time item's name ("mnuDBName3" gives 3).
int itemIndex(const QString& name)
{
    static const QRegularExpression trailing(QStringLiteral("(\\d+)$"));
    const QRegularExpressionMatch match = trailing.match(name);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

bool startsWith(const QString& name, const char* prefix)
{
    return name.startsWith(QLatin1String(prefix), Qt::CaseInsensitive);
}

// Opens a tool window (shown modeless and brought forward; an open one is reused).
void openToolWindow(const QString& windowName)
{
    ShowFormByName(windowName);
}
} // namespace

void frmMain::mnuPopulate_Click()
{
    PressChildButton(QStringLiteral("btnPopulate"), false);
}

void frmMain::PressChildButton(const QString& buttonName, bool beepWhenMissing)
{
    QWidget* child = activeChildWindow();
    auto* button = child ? child->findChild<QAbstractButton*>(buttonName) : nullptr;
    if (!button || !button->isVisible() || !button->isEnabled() || button->focusPolicy() == Qt::NoFocus) {
        if (beepWhenMissing)
            Platform::prompt().beep();
        return;
    }
    button->setFocus(Qt::OtherFocusReason);
    button->click();
}

void frmMain::EditCommand(int number)
{
    // Cut, copy and paste act on the control that has the focus, as the keystrokes would.
    static const char* const slots[] = { "", "cut", "copy", "paste" };
    QWidget* focus = QApplication::focusWidget();
    if (!focus || number < 1 || number > 3)
        return;
    QMetaObject::invokeMethod(focus, slots[number]);
}

void frmMain::SendRecordCommand(QAction* item)
{
    QString caption = item ? item->text() : QString();
    caption.remove(QLatin1Char('&'));
    int command = 0;
    if (caption.compare(QLatin1String("New"), Qt::CaseInsensitive) == 0)
        command = 5;
    else if (caption.compare(QLatin1String("Edit"), Qt::CaseInsensitive) == 0)
        command = 6;
    else if (caption.compare(QLatin1String("Save"), Qt::CaseInsensitive) == 0)
        command = 7;
    if (command == 0) {
        Platform::prompt().beep();
        return;
    }
    SendCommandToActiveForm(command);
}

void frmMain::ToolbarButtonClick(const QString& key)
{
    auto is = [&key](const char* name) { return key.compare(QLatin1String(name), Qt::CaseInsensitive) == 0; };
    if (is("New"))
        SendRecordCommand(menuItem(QStringLiteral("mnuRecord0")));
    else if (is("Edit"))
        SendRecordCommand(menuItem(QStringLiteral("mnuRecord1")));
    else if (is("Save"))
        SendRecordCommand(menuItem(QStringLiteral("mnuRecord2")));
    else if (is("Populate"))
        PressChildButton(QStringLiteral("btnPopulate"), true);
    else if (is("Find"))
        PressChildButton(QStringLiteral("btnFind"), true);
    else if (is("Delete"))
        SendCommandToActiveForm(8);
    else if (is("Cut"))
        EditCommand(1);
    else if (is("Copy"))
        EditCommand(2);
    else if (is("Paste"))
        EditCommand(3);
    else if (is("Print"))
        SendCommandToActiveForm(9);
    else if (is("Preview"))
        SendCommandToActiveForm(10);
    else if (is("Excel"))
        SendCommandToActiveForm(2);
    else if (is("Tab"))
        SendCommandToActiveForm(1);
    else if (is("Logoff"))
        Logoff();
    else if (is("Barcode"))
        RunMenuKey(QStringLiteral("Barcodes"));
    else if (is("Exit"))
        close();
}

void frmMain::RunMenuKey(const QString& key)
{
    BusyPointer busy;
    if (key.compare(QLatin1String("NotAvailable"), Qt::CaseInsensitive) == 0)
        return;
    for (const ToolKey& tool : kToolKeys) {
        if (key.compare(QLatin1String(tool.key), Qt::CaseInsensitive) != 0)
            continue;
        const QString code = QString::fromLatin1(tool.code);
        bool allowed = true;
        switch (tool.permission) {
        case Permission::None:
            break;
        case Permission::Report:
            allowed = CheckReportPermission(code, true);
            break;
        case Permission::Action:
            allowed = CheckActionPermission(code, true);
            break;
        case Permission::TableView:
            allowed = CheckTablePermission(QStringLiteral("View"), code, true);
            break;
        }
        if (!allowed)
            return;
        const QString window = QString::fromLatin1(tool.window);
        ActionScope action(QStringLiteral("frmMain"), QStringLiteral("RunMenuKey"), QStringLiteral("Open ") + window);
        action.run([&] { openToolWindow(window); });
        return;
    }
    // Every other key names a table: DB_Tables is the one list of them, so a table added there
    // (with its search window) is on the menu without a change here.
    const std::unique_ptr<Recordset> table = OpenRecordset(
        QStringLiteral("SELECT DB_Table_Name FROM DB_Tables WHERE DB_Table_Name = ") + SQLString(key.trimmed()));
    if (!table)
        return; // the failed look-up has been reported
    if (table->recordCount() > 0) {
        const QString name = table->valueAt(0, 0).toString();
        ActionScope action(QStringLiteral("frmMain"), QStringLiteral("RunMenuKey"), QStringLiteral("Open ") + name);
        action.run([&] { OpenTableForm(name); });
        return;
    }
    ShowInfoMessage(QStringLiteral("No associated logic for menu key ") + AngleQuote(key) + QStringLiteral(" was found."));
}

void frmMain::runTreeNode(QTreeWidgetItem* node)
{
    // Only leaves run; greyed entries never reach the tree, but a node is checked all the same.
    if (!node || node->childCount() > 0 || node->data(0, kMenuKeyRole + 1).toBool())
        return;
    RunMenuKey(node->data(0, kMenuKeyRole).toString());
}

void frmMain::MenuItemClick(QAction* item)
{
    if (!item || item->isSeparator())
        return;
    const QString name = item->objectName();
    // Every Go To entry runs its key, at any depth: its menu is the Go To menu or a submenu of it.
    for (QObject* holder = item->parent(); holder; holder = holder->parent()) {
        if (holder == m_goTo) {
            RunMenuKey(name);
            return;
        }
    }
    if (name.compare(QLatin1String("mnuTimeout"), Qt::CaseInsensitive) == 0)
        SetQueryTimeout();
    else if (startsWith(name, "mnuDBName"))
        SwitchDatabase(itemIndex(name));
    else if (startsWith(name, "mnuWindow"))
        WindowCommand(itemIndex(name));
    else if (startsWith(name, "mnuForm")) {
        const QList<QWidget*> windows = LoadedWindows();
        const int position = itemIndex(name);
        if (position >= 1 && position < windows.size()) {
            if (DataWindow* window = AsDataWindow(windows.at(position)))
                window->bringToFront(true);
        }
    }
}

void frmMain::BuildWindowMenu()
{
    m_window->clear();
    const QList<QPair<QString, QString>> commands {
        { QStringLiteral("&Cascade"), QStringLiteral("Cascade") },       { QStringLiteral("Tile &Horizontally"), QStringLiteral("TileHorz") },
        { QStringLiteral("Tile &Vertically"), QStringLiteral("TileVert") }, { QStringLiteral("&Arrange Icons"), QString() },
        { QString(), QString() },                                        { QStringLiteral("&Minimize All"), QStringLiteral("Minimize") },
        { QStringLiteral("&Restore All"), QStringLiteral("Restore") },   { QStringLiteral("C&lose All"), QString() },
    };
    for (int i = 0; i < commands.size(); ++i) {
        const auto& [caption, image] = commands.at(i);
        if (caption.isEmpty()) {
            m_window->addSeparator();
            continue;
        }
        QAction* item = addItem(m_window, QStringLiteral("mnuWindow%1").arg(i), caption);
        item->setIcon(MainImage(image));
    }
    const QList<QWidget*> windows = LoadedWindows();
    if (windows.size() > 1)
        m_window->addSeparator();
    QWidget* active = activeChildWindow();
    for (int i = 1; i < windows.size(); ++i) {
        if (i == 10) {
            m_window->addSeparator();
            addItem(m_window, QStringLiteral("mnuWindow8"), QStringLiteral("More than 9 windows are open"));
            break;
        }
        DataWindow* window = AsDataWindow(windows.at(i));
        if (!window || !window->isChildOfMainWindow() || !window->frame()->isVisible())
            continue;
        QAction* item = addItem(m_window, QStringLiteral("mnuForm%1").arg(i),
                                QStringLiteral("&%1 ").arg(i) + window->frame()->windowTitle());
        item->setCheckable(true);
        item->setChecked(window == active);
    }
}

void frmMain::WindowCommand(int number)
{
    switch (number) {
    case 0:
        m_area->cascadeSubWindows();
        break;
    case 1: {
        // Tiled one above the other, each the full width of the area.
        const QList<QMdiSubWindow*> subs = m_area->subWindowList();
        const QSize area = m_area->viewport()->size();
        int top = 0;
        const int height = subs.isEmpty() ? 0 : area.height() / static_cast<int>(subs.size());
        for (QMdiSubWindow* sub : subs) {
            if (sub->isMinimized())
                continue;
            sub->setGeometry(0, top, area.width(), height);
            top += height;
        }
        break;
    }
    case 2:
        m_area->tileSubWindows();
        break;
    case 3: {
        // The minimized windows in a row along the bottom.
        const QSize area = m_area->viewport()->size();
        int left = 0;
        for (QMdiSubWindow* sub : m_area->subWindowList()) {
            if (!sub->isMinimized())
                continue;
            sub->move(left, area.height() - sub->height());
            left += sub->width();
        }
        break;
    }
    case 7:
        UnloadAllForms();
        break;
    default:
        break; // Minimize All and Restore All carry no action; 8 is the "more than 9" notice
    }
}
