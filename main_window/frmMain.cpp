#include "main_window/frmMain.h"

#include "core/Actions.h"
#include "core/AppError.h"
#include "core/AppInfo.h"
#include "form_framework/ChildWindows.h"
#include "form_framework/DataWindow.h"
#include "core/Database.h"
#include "core/DatabaseList.h"
#include "core/InputRoutines.h"
#include "main_window/MainImages.h"
#include "main_window/MainMenuFile.h"
#include "main_window/NavigatorPane.h"
#include "core/Settings.h"
#include "core/Twips.h"
#include "form_framework/WindowList.h"
#include "form_framework/WindowOpening.h"
#include "list_controls/zOpenWindows.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>

namespace {
// The layout settings read in this order; the first one guards the rest.
const QString kShowToolbar = QStringLiteral("DB_Show_Toolbar");
const QString kShowStatusBar = QStringLiteral("DB_Show_Status_Bar");
const QString kNavigatorsOnLeft = QStringLiteral("DB_Navigators_On_Left");
const QString kHorizDivY = QStringLiteral("DB_Horiz_Div_Y");
const QString kNavigatorsWidth = QStringLiteral("DB_Navigators_Width");
const QString kShowGoTo = QStringLiteral("DB_Show_GoTo_Navigator");
const QString kShowOpenWindows = QStringLiteral("DB_Show_Open_Windows_Navigator");
const QString kBackgroundColor = QStringLiteral("DB_Background_Color");

bool readBool(const QString& name, bool& value)
{
    QVariant held;
    if (!Act_GetSettingDB(name, held))
        return false;
    value = held.toString().trimmed().toInt() != 0 || held.toString().trimmed().compare(QLatin1String("True"), Qt::CaseInsensitive) == 0;
    return true;
}

bool readNumber(const QString& name, double& value)
{
    QVariant held;
    if (!Act_GetSettingDB(name, held))
        return false;
    bool ok = false;
    const double number = held.toString().trimmed().toDouble(&ok);
    if (!ok)
        return false;
    value = number;
    return true;
}

// The Go To tree's Enter key runs the selected node.
class TreeKeys final : public QObject {
public:
    TreeKeys(QTreeWidget* tree, std::function<void(QTreeWidgetItem*)> run)
        : QObject(tree)
        , m_tree(tree)
        , m_run(std::move(run))
    {
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            return false;
        m_run(m_tree->currentItem());
        return true;
    }

private:
    QTreeWidget* m_tree;
    std::function<void(QTreeWidgetItem*)> m_run;
};
} // namespace

frmMain::frmMain(QWidget* parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(MainImage(QStringLiteral("Server")));
    AddLoadedWindow(this);

    auto* central = new QWidget(this);
    auto* row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    auto* list = new zOpenWindows;
    list->setObjectName(QStringLiteral("zowOpenWindows"));
    m_openWindows = list;
    m_navigators = new NavigatorPane(list, central);
    m_area = new QMdiArea(central);
    m_area->setObjectName(QStringLiteral("mdiArea"));
    // A window taller or wider than the area (a record of many fields on a small screen) stays
    // reachable: the area scrolls to its bar.
    m_area->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_area->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    row->addWidget(m_navigators);
    row->addWidget(m_area, 1);
    setCentralWidget(central);
    connect(m_area, &QMdiArea::subWindowActivated, this, &frmMain::subWindowActivated);

    m_navigators->clientHeightTwips = [this] { return PixelsToTwips(m_area->height()); };
    m_navigators->mainWidthTwips = [this] { return PixelsToTwips(width()); };
    m_navigators->saveHorizontalDivider = [this](int top) { saveSetting(kHorizDivY, top); };
    m_navigators->saveWidth = [this](int width) {
        saveSetting(kNavigatorsWidth, width);
        NavigatorVisibleChange();
    };
    QTreeWidget* tree = m_navigators->tree();
    connect(tree, &QTreeWidget::itemPressed, this, [this](QTreeWidgetItem* node) { m_pressedNode = node; });
    connect(tree, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* node) { runTreeNode(node); });
    tree->installEventFilter(new TreeKeys(tree, [this](QTreeWidgetItem* node) { runTreeNode(node); }));

    m_statusLeft = new QLabel(this);
    m_statusLeft->setObjectName(QStringLiteral("Left"));
    // Status texts quote record names and typed values: never markup.
    m_statusLeft->setTextFormat(Qt::PlainText);
    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    statusBar()->addWidget(m_statusLeft, 1);

    buildMenus();
    buildToolbar();
    // The toolbar and the status bar show exactly when their Options items are checked, whoever
    // sets the check (the user, the settings, a failed read that leaves the start state). They
    // start shown, as the settings' defaults have them; the main window offers no second switch
    // for them in a context menu of its own.
    for (const auto& [name, bar] : std::initializer_list<std::pair<QString, QWidget*>> {
             { QStringLiteral("mnuShowToolbar"), m_toolbar }, { QStringLiteral("mnuShowStatusbar"), statusBar() } }) {
        QAction* item = menuItem(name);
        item->setChecked(true);
        bar->setVisible(true);
        connect(item, &QAction::toggled, bar, &QWidget::setVisible);
    }
    m_toolbar->toggleViewAction()->setVisible(false);
    setContextMenuPolicy(Qt::PreventContextMenu);
}

frmMain::~frmMain()
{
    if (MainWindow() == this)
        SetMainWindow(nullptr);
    SetSearchCommand({});
    RemoveLoadedWindow(this);
}

QAction* frmMain::addItem(QMenu* menu, const QString& name, const QString& caption)
{
    QAction* item = menu->addAction(caption);
    item->setObjectName(name);
    return item;
}

QAction* frmMain::menuItem(const QString& name) const
{
    const QList<QAction*> actions = findChildren<QAction*>();
    for (QAction* action : actions) {
        if (action->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return action;
    }
    return nullptr;
}

QMenu* frmMain::menu(const QString& name) const
{
    const QList<QMenu*> menus = findChildren<QMenu*>();
    for (QMenu* m : menus) {
        if (m->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return m;
    }
    return nullptr;
}

void frmMain::buildMenus()
{
    QMenuBar* bar = menuBar();
    auto topMenu = [&](const QString& name, const QString& caption) {
        QMenu* m = bar->addMenu(caption);
        m->setObjectName(name);
        m->menuAction()->setObjectName(name + QStringLiteral("Item"));
        return m;
    };
    auto command = [this](QAction* item, void (frmMain::*handler)()) { connect(item, &QAction::triggered, this, handler); };
    auto send = [this](QAction* item, int number) {
        connect(item, &QAction::triggered, this, [number] { SendCommandToActiveForm(number); });
    };

    QMenu* file = topMenu(QStringLiteral("mnuFile"), QStringLiteral("&File"));
    command(addItem(file, QStringLiteral("mnuLogoff"), QStringLiteral("Logoff...")), &frmMain::Logoff);
    command(addItem(file, QStringLiteral("mnuChangePassword"), QStringLiteral("Change Password...")), &frmMain::ChangePassword);
    file->addSeparator();
    command(addItem(file, QStringLiteral("mnuRestart"), QStringLiteral("&Restart Bramblecot")), &frmMain::Restart);
    file->addSeparator();
    QMenu* exportMenu = file->addMenu(QStringLiteral("&Export"));
    exportMenu->setObjectName(QStringLiteral("mnuExport"));
    send(addItem(exportMenu, QStringLiteral("mnuTab"), QStringLiteral("&Tab Delimited")), 1);
    send(addItem(exportMenu, QStringLiteral("mnuExcel"), QStringLiteral("MS &Excel")), 2);
    send(addItem(exportMenu, QStringLiteral("mnuXML"), QStringLiteral("Extensible Markup Language (&XML)")), 3);
    send(addItem(exportMenu, QStringLiteral("mnuADTG"), QStringLiteral("Advanced Data TableGram (&ADTG)")), 4);
    file->addSeparator();
    send(addItem(file, QStringLiteral("mnuPreview"), QStringLiteral("Print Preview")), 10);
    send(addItem(file, QStringLiteral("mnuPrint"), QStringLiteral("&Print")), 9);
    command(addItem(file, QStringLiteral("mnuPrintSetup"), QStringLiteral("Print &Setup...")), &frmMain::PrintSetup);
    file->addSeparator();
    connect(addItem(file, QStringLiteral("mnuExit"), QStringLiteral("E&xit")), &QAction::triggered, this, &QWidget::close);
    connect(addItem(file, QStringLiteral("mnuTest"), QStringLiteral("Test")), &QAction::triggered, this, [] {
        ActionScope action(QStringLiteral("frmMain"), QStringLiteral("mnuTest_Click"), QStringLiteral("Open frmTest"));
        action.run([] { ShowFormByName(QStringLiteral("frmTest")); });
    });

    QMenu* record = topMenu(QStringLiteral("mnuRecordTop"), QStringLiteral("&Record"));
    const QStringList recordCaptions { QStringLiteral("&New"), QStringLiteral("&Edit"), QStringLiteral("&Save") };
    for (int i = 0; i < recordCaptions.size(); ++i) {
        QAction* item = addItem(record, QStringLiteral("mnuRecord%1").arg(i), recordCaptions.at(i));
        connect(item, &QAction::triggered, this, [this, item] { SendRecordCommand(item); });
    }
    record->addSeparator();
    connect(addItem(record, QStringLiteral("mnuPopulate"), QStringLiteral("&Populate")), &QAction::triggered, this,
            [this] { PressChildButton(QStringLiteral("btnPopulate"), true); });
    record->addSeparator();
    connect(addItem(record, QStringLiteral("mnuFind"), QStringLiteral("&Find")), &QAction::triggered, this,
            [this] { PressChildButton(QStringLiteral("btnFind"), true); });
    record->addSeparator();
    send(addItem(record, QStringLiteral("mnuDelete"), QStringLiteral("&Delete")), 8);

    QMenu* edit = topMenu(QStringLiteral("mnuEditTop"), QStringLiteral("&Edit"));
    const QStringList editCaptions { QStringLiteral("Cu&t"), QStringLiteral("&Copy"), QStringLiteral("&Paste") };
    for (int i = 1; i <= 3; ++i)
        connect(addItem(edit, QStringLiteral("mnuEdit%1").arg(i), editCaptions.at(i - 1)), &QAction::triggered, this,
                [this, i] { EditCommand(i); });

    m_goTo = topMenu(QStringLiteral("mnuGoTo"), QStringLiteral("&Go To"));
    connect(m_goTo, &QMenu::triggered, this, &frmMain::MenuItemClick);

    m_database = topMenu(QStringLiteral("mnuDatabase"), QStringLiteral("&Database (None)"));
    connect(m_database, &QMenu::aboutToShow, this, &frmMain::showCommandTimeout);
    connect(m_database, &QMenu::triggered, this, &frmMain::MenuItemClick);

    QMenu* options = topMenu(QStringLiteral("mnuOptions"), QStringLiteral("&Options"));
    for (const auto& [name, caption] : std::initializer_list<std::pair<QString, QString>> {
             { QStringLiteral("mnuShowToolbar"), QStringLiteral("Show &Toolbar") },
             { QStringLiteral("mnuShowStatusbar"), QStringLiteral("Show &Statusbar") } }) {
        QAction* item = addItem(options, name, caption);
        item->setCheckable(true);
        connect(item, &QAction::triggered, this, [this, item] { toggleOption(item); });
    }
    options->addSeparator();
    for (const auto& [name, caption] : std::initializer_list<std::pair<QString, QString>> {
             { QStringLiteral("mnuShowGoTo"), QStringLiteral("Show &Go To Navigator") },
             { QStringLiteral("mnuShowOpenWindows"), QStringLiteral("Show Open &Windows Navigator") } }) {
        QAction* item = addItem(options, name, caption);
        item->setCheckable(true);
        connect(item, &QAction::triggered, this, [this, item] { toggleOption(item); });
    }
    QMenu* side = options->addMenu(QStringLiteral("Navigators on the..."));
    side->setObjectName(QStringLiteral("mnuNavigatorsOnThe"));
    for (const auto& [name, caption] : std::initializer_list<std::pair<QString, QString>> {
             { QStringLiteral("mnuNavigatorLeft"), QStringLiteral("Left Side") },
             { QStringLiteral("mnuNavigatorRight"), QStringLiteral("Right Side") } }) {
        QAction* item = addItem(side, name, caption);
        item->setCheckable(true);
        connect(item, &QAction::triggered, this, [this, item] { toggleOption(item); });
    }
    options->addSeparator();
    command(addItem(options, QStringLiteral("mnuUserInfo"), QStringLiteral("&User Options...")), &frmMain::mnuUserInfo_Click);
    command(addItem(options, QStringLiteral("mnuDBOptions"), QStringLiteral("&Database Options...")), &frmMain::DBOptions);

    m_window = topMenu(QStringLiteral("mnuWindowTop"), QStringLiteral("&Window"));
    connect(m_window, &QMenu::aboutToShow, this, &frmMain::BuildWindowMenu);
    connect(m_window, &QMenu::triggered, this, &frmMain::MenuItemClick);

    QMenu* help = topMenu(QStringLiteral("mnuHelpTop"), QStringLiteral("&Help"));
    command(addItem(help, QStringLiteral("mnuAbout"), QStringLiteral("&About")), &frmMain::About);
}

void frmMain::buildToolbar()
{
    m_toolbar = addToolBar(QStringLiteral("Toolbar"));
    m_toolbar->setObjectName(QStringLiteral("Toolbar"));
    m_toolbar->setMovable(false);
    const QList<QPair<QString, QString>> buttons {
        { QStringLiteral("New"), QStringLiteral("New") },       { QStringLiteral("Edit"), QStringLiteral("Edit") },
        { QStringLiteral("Save"), QStringLiteral("Save") },     { QString(), QString() },
        { QStringLiteral("Populate"), QStringLiteral("Populate") }, { QStringLiteral("Find"), QStringLiteral("Find") },
        { QString(), QString() },                               { QStringLiteral("Delete"), QStringLiteral("Delete") },
        { QString(), QString() },                               { QStringLiteral("Cut"), QStringLiteral("Cut") },
        { QStringLiteral("Copy"), QStringLiteral("Copy") },     { QStringLiteral("Paste"), QStringLiteral("Paste") },
        { QString(), QString() },                               { QStringLiteral("Print"), QStringLiteral("Print") },
        { QStringLiteral("Preview"), QStringLiteral("Print Preview") }, { QString(), QString() },
        { QStringLiteral("Excel"), QStringLiteral("Export to MS Excel") }, { QStringLiteral("Tab"), QStringLiteral("Export Tab Delimited") },
        { QString(), QString() },                               { QStringLiteral("Barcode"), QStringLiteral("Barcodes") },
        { QStringLiteral("Logoff"), QStringLiteral("Logoff") }, { QStringLiteral("Exit"), QStringLiteral("Exit") },
    };
    for (const auto& [key, tip] : buttons) {
        if (key.isEmpty()) {
            m_toolbar->addSeparator();
            continue;
        }
        // Each button carries the image whose key equals its own.
        QAction* button = m_toolbar->addAction(MainImage(key), tip);
        button->setObjectName(key);
        connect(button, &QAction::triggered, this, [this, key] { ToolbarButtonClick(key); });
    }
}

void frmMain::BuildDatabaseMenu()
{
    m_database->clear();
    for (int i = 1; i <= DBCount(); ++i) {
        QAction* item = addItem(m_database, QStringLiteral("mnuDBName%1").arg(i), DatabaseAt(i)->DisplayName);
        item->setIcon(MainImage(QStringLiteral("Server")));
    }
    m_database->addSeparator();
    QAction* timeout = addItem(m_database, QStringLiteral("mnuTimeout"), QStringLiteral("Timeout"));
    timeout->setIcon(MainImage(QStringLiteral("Timeout")));
}

void frmMain::SetMenuIcons()
{
    const QList<QPair<QString, QString>> icons {
        { QStringLiteral("mnuRecord0"), QStringLiteral("New") },      { QStringLiteral("mnuRecord1"), QStringLiteral("Edit") },
        { QStringLiteral("mnuRecord2"), QStringLiteral("Save") },     { QStringLiteral("mnuTab"), QStringLiteral("Tab") },
        { QStringLiteral("mnuExcel"), QStringLiteral("Excel") },      { QStringLiteral("mnuEdit1"), QStringLiteral("Cut") },
        { QStringLiteral("mnuEdit2"), QStringLiteral("Copy") },       { QStringLiteral("mnuEdit3"), QStringLiteral("Paste") },
        { QStringLiteral("mnuDelete"), QStringLiteral("Delete") },    { QStringLiteral("mnuFind"), QStringLiteral("Find") },
        { QStringLiteral("mnuPopulate"), QStringLiteral("Populate") }, { QStringLiteral("mnuPrint"), QStringLiteral("Print") },
        { QStringLiteral("mnuPreview"), QStringLiteral("Preview") },  { QStringLiteral("mnuLogoff"), QStringLiteral("Logoff") },
        { QStringLiteral("mnuChangePassword"), QStringLiteral("Password") }, { QStringLiteral("mnuExit"), QStringLiteral("Exit") },
    };
    for (const auto& [name, key] : icons) {
        if (QAction* item = menuItem(name))
            item->setIcon(MainImage(key));
    }
}

void frmMain::Load()
{
    if (QAction* about = menuItem(QStringLiteral("mnuAbout")))
        about->setText(QStringLiteral("&About ") + ApplicationTitle() + QStringLiteral("..."));
    LoadMainMenu(m_goTo, m_navigators->tree());
    BuildDatabaseMenu();
    SetMenuIcons();
    menuItem(QStringLiteral("mnuTest"))->setVisible(DevelopmentRun());
    SetSearchCommand([this] { mnuPopulate_Click(); });
    SetMainFormOnLine();
    showCommandTimeout();
    // Loaded: from now on the window routines report to this window.
    SetMainWindow(this);
}

bool frmMain::SetMainFormOnLine()
{
    // During the load the window is not installed yet; the caption and Database menu routines
    // reach it through the installed main window, so it stands in for that moment.
    MainWindowServices* installed = MainWindow();
    SetMainWindow(this);
    SetMainCaption();
    SetDatabaseMenus();
    SetMainWindow(installed);

    bool value = false;
    if (!readBool(kShowToolbar, value))
        return false; // already reported; the layout stays as it was
    menuItem(QStringLiteral("mnuShowToolbar"))->setChecked(value);
    m_toolbar->setVisible(value);
    if (readBool(kShowStatusBar, value)) {
        menuItem(QStringLiteral("mnuShowStatusbar"))->setChecked(value);
        statusBar()->setVisible(value);
    }
    if (readBool(kNavigatorsOnLeft, value)) {
        menuItem(QStringLiteral("mnuNavigatorLeft"))->setChecked(value);
        menuItem(QStringLiteral("mnuNavigatorRight"))->setChecked(!value);
    }
    placeNavigators(menuItem(QStringLiteral("mnuNavigatorRight"))->isChecked());
    double number = 0;
    if (readNumber(kHorizDivY, number))
        m_navigators->setHorizontalDividerTop(qRound(number));
    if (readNumber(kNavigatorsWidth, number))
        m_navigators->setWidthTwips(qRound(number));
    if (readBool(kShowGoTo, value))
        menuItem(QStringLiteral("mnuShowGoTo"))->setChecked(value);
    if (readBool(kShowOpenWindows, value))
        menuItem(QStringLiteral("mnuShowOpenWindows"))->setChecked(value);
    NavigatorVisibleChange();
    if (readNumber(kBackgroundColor, number))
        setBackgroundColor(static_cast<long>(number));
    return true;
}

void frmMain::dataChanged(DataChangedAction action, const QString& tableName, const QString& /*idList*/)
{
    // The options row of the database holds the background colour: a saved colour shows at once,
    // read back through the setting as the log-on reads it.
    if (action == DataChangedAction::Deleted
        || tableName.compare(QLatin1String("DB_App_Options"), Qt::CaseInsensitive) != 0)
        return;
    double number = 0;
    if (readNumber(kBackgroundColor, number))
        setBackgroundColor(static_cast<long>(number));
}

void frmMain::setBackgroundColor(long color)
{
    // A Long colour holds red in its lowest byte, then green and blue.
    const QColor qcolor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF), static_cast<int>((color >> 16) & 0xFF));
    m_area->setBackground(QBrush(qcolor));
}

void frmMain::paintDisconnected()
{
    m_area->setBackground(QBrush(QApplication::palette().color(QPalette::Button)));
}

void frmMain::NavigatorVisibleChange()
{
    m_navigators->layOut(menuItem(QStringLiteral("mnuShowGoTo"))->isChecked(), menuItem(QStringLiteral("mnuShowOpenWindows"))->isChecked(),
                         menuItem(QStringLiteral("mnuNavigatorRight"))->isChecked());
}

void frmMain::placeNavigators(bool onRight)
{
    auto* row = static_cast<QHBoxLayout*>(centralWidget()->layout());
    row->removeWidget(m_navigators);
    row->insertWidget(onRight ? 1 : 0, m_navigators);
    m_navigators->placeVerticalDivider(onRight);
}

void frmMain::saveSetting(const QString& name, const QVariant& value)
{
    // A failed save is reported by the core; what is on screen stays.
    Act_SaveSettingDB(name, value);
}

void frmMain::toggleOption(QAction* item)
{
    // The item's check has already been toggled by the click.
    const QString name = item->objectName();
    const bool checked = item->isChecked();
    if (name == QLatin1String("mnuShowToolbar")) {
        m_toolbar->setVisible(checked);
        saveSetting(kShowToolbar, checked);
    } else if (name == QLatin1String("mnuShowStatusbar")) {
        statusBar()->setVisible(checked);
        saveSetting(kShowStatusBar, checked);
    } else if (name == QLatin1String("mnuShowGoTo")) {
        saveSetting(kShowGoTo, checked);
        NavigatorVisibleChange();
    } else if (name == QLatin1String("mnuShowOpenWindows")) {
        saveSetting(kShowOpenWindows, checked);
        NavigatorVisibleChange();
    } else if (name == QLatin1String("mnuNavigatorLeft") || name == QLatin1String("mnuNavigatorRight")) {
        QAction* left = menuItem(QStringLiteral("mnuNavigatorLeft"));
        QAction* right = menuItem(QStringLiteral("mnuNavigatorRight"));
        if (item == left)
            right->setChecked(!left->isChecked());
        else
            left->setChecked(!right->isChecked());
        placeNavigators(!left->isChecked());
        NavigatorVisibleChange();
        saveSetting(kNavigatorsOnLeft, left->isChecked());
    }
}

void frmMain::showOnScreen()
{
    if (const QScreen* screen = this->screen()) {
        const QRect available = screen->availableGeometry();
        setGeometry(available);
    }
    showMaximized();
}

void frmMain::setStatusText(const QString& text)
{
    m_statusLeft->setText(text);
}

void frmMain::addChildWindow(QWidget* window)
{
    QMdiSubWindow* sub = m_area->addSubWindow(window);
    sub->setAttribute(Qt::WA_DeleteOnClose);
}

QWidget* frmMain::activeChildWindow()
{
    QMdiSubWindow* sub = m_area->activeSubWindow();
    if (!sub)
        sub = m_area->currentSubWindow();
    return sub ? sub->widget() : nullptr;
}

QSize frmMain::clientAreaSize()
{
    return m_area->viewport()->size();
}

QIcon frmMain::icon()
{
    return windowIcon();
}

void frmMain::setCaption(const QString& caption)
{
    setWindowTitle(caption);
}

void frmMain::setMenuCaption(const QString& key, const QString& caption)
{
    if (key.compare(QLatin1String("mnuDatabase"), Qt::CaseInsensitive) == 0) {
        m_database->setTitle(caption);
        return;
    }
    if (QAction* item = menuItem(key))
        item->setText(caption);
}

void frmMain::setDatabaseMenuItem(int index, bool current)
{
    QAction* item = menuItem(QStringLiteral("mnuDBName%1").arg(index));
    if (!item)
        return;
    item->setIcon(MainImage(current ? QStringLiteral("ServerCheck") : QStringLiteral("Server")));
    item->setCheckable(true);
    item->setChecked(current);
}

void frmMain::subWindowActivated(QMdiSubWindow* window)
{
    if (window)
        ActivateChildForm(AsDataWindow(window->widget()));
}

bool frmMain::OnlyMainWindowLeft() const
{
    const QList<QWidget*> windows = LoadedWindows();
    for (QWidget* window : windows) {
        if (window != this)
            return false;
    }
    return true;
}

void frmMain::closeEvent(QCloseEvent* event)
{
    if (m_unloaded) {
        event->accept();
        return;
    }
    UnloadAllForms();
    if (!OnlyMainWindowLeft()) {
        event->ignore(); // a child window kept its unsaved changes
        return;
    }
    m_unloaded = true;
    CloseConnection();
    if (MainWindow() == this)
        SetMainWindow(nullptr);
    event->accept();
}
