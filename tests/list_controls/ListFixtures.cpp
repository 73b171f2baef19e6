#include "ListFixtures.h"

#include "core/Actions.h"
#include "core/Database.h"
#include "form_framework/FormRegistry.h"
#include "list_controls/ListProcedures.h"
#include "core/ProcedureCatalogue.h"
#include "core/SqlText.h"
#include "support/PromptRecorder.h"
#include "form_framework/WindowList.h"
#include "form_framework/WindowOpening.h"
#include "form_framework/zButtonsSearch.h"
#include "list_controls/zComboBoxText.h"
#include "form_framework/zIdentity.h"
#include "form_framework/zInfo.h"
#include "list_controls/zListView.h"
#include "list_controls/zOpenWindows.h"
#include "form_framework/zText.h"

#include <QApplication>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <QHBoxLayout>
#include <QVBoxLayout>

ListMainWindow::ListMainWindow()
    : area(new QMdiArea(&frame))
    , list(new zOpenWindows(&frame))
{
    frame.setObjectName(QStringLiteral("frmMain"));
    auto* layout = new QHBoxLayout(&frame);
    layout->addWidget(list);
    layout->addWidget(area, 1);
    frame.resize(1100, 700);
    frame.show();
    SetMainWindow(this);
}

ListMainWindow::~ListMainWindow()
{
    SetMainWindow(nullptr);
}

OpenWindowsList* ListMainWindow::openWindows() { return list; }

void ListMainWindow::addChildWindow(QWidget* window)
{
    QMdiSubWindow* sub = area->addSubWindow(window);
    sub->setAttribute(Qt::WA_DeleteOnClose);
}

QWidget* ListMainWindow::activeChildWindow()
{
    QMdiSubWindow* sub = area->activeSubWindow();
    return sub ? sub->widget() : nullptr;
}

frmThing::frmThing()
    : DataWindow(QStringLiteral("frmThing"))
{
    auto* layout = new QVBoxLayout(this);
    id = new zIdentity(this);
    id->setObjectName(QStringLiteral("zID"));
    name = new zText(this);
    name->setObjectName(QStringLiteral("ztxtName"));
    name->setDBFieldName(QStringLiteral("Thing_Name"));
    name->setGoodName(QStringLiteral("Name"));
    layout->addWidget(id);
    layout->addWidget(name);
    zInfo* z = info();
    z->setFormType(FormType::Record);
    z->setFormCaption(QStringLiteral("Thing"));
    z->setMainTableName(QStringLiteral("Things"));
    z->setIdentityField(QStringLiteral("Thing_ID"));
}

void frmThing::ProcessDefaultValue(const QString& defaultValue) { name->setValue(defaultValue); }

bool frmThing::Act_LoadForm()
{
    if (FormParams::contains(objectName()))
        return Act_StandardProcessOnLoadMessage(this);
    return true;
}

frmThings::frmThings()
    : DataWindow(QStringLiteral("frmThings"))
{
    auto* layout = new QVBoxLayout(this);
    populate = new QPushButton(QStringLiteral("&Find"), this);
    populate->setObjectName(QStringLiteral("btnPopulate"));
    grid = new zListView(this);
    bar = new zButtonsSearch(this);
    layout->addWidget(populate);
    layout->addWidget(grid);
    layout->addWidget(bar);
    zInfo* z = info();
    z->setFormType(FormType::Search);
    z->setMode(FormMode::SearchList);
    z->setFormCaption(QStringLiteral("Thing"));
    z->setMainTableName(QStringLiteral("Things"));
    z->setIdentityField(QStringLiteral("Thing_ID"));
    z->setSearchSQL(QStringLiteral("EXEC usp_Test_Search_Things"));
    z->setSearchSQLOne(QStringLiteral("EXEC usp_Test_Search_Things_One"));
    z->setDaughterFormName(QStringLiteral("frmThing"));
    connect(populate, &QPushButton::clicked, this, &frmThings::PopulateData);
    resize(700, 400);
}

void frmThings::PopulateData()
{
    ++searches;
    grid->setPopulateSQL(info()->SearchSQL());
    grid->Populate();
}

frmPickerHost::frmPickerHost(bool search)
    : DataWindow(search ? QStringLiteral("frmPickerSearch") : QStringLiteral("frmPickerHost"))
{
    auto* layout = new QVBoxLayout(this);
    picker = new zComboBoxText(this);
    picker->setObjectName(QStringLiteral("zcbtThing"));
    picker->setDBFieldName(QStringLiteral("Thing_ID"));
    picker->setGoodName(QStringLiteral("Thing"));
    picker->setPopulateSQL(QStringLiteral("EXEC usp_Test_DropDown_Things\r\n"));
    picker->setDataChangedTableName(QStringLiteral("Things"));
    picker->setPopulateOnStart(true);
    picker->setGeneralItem(true);
    kindPicker = new zComboBoxText(this);
    kindPicker->setObjectName(QStringLiteral("zcbtKindThing"));
    kindPicker->setDBFieldName(QStringLiteral("Kind_Thing_ID"));
    kindPicker->setGoodName(QStringLiteral("Kind Thing"));
    kindPicker->setPopulateSQL(QStringLiteral("EXEC usp_Test_DropDown_Things_Of_Kind @Kind = 'W'"));
    kindPicker->setDataChangedTableName(QStringLiteral("THINGS"));
    kindPicker->setPopulateOnStart(true);
    auto* elsewhere = new zText(this);
    elsewhere->setObjectName(QStringLiteral("ztxtElsewhere"));
    elsewhere->setDBFieldName(QStringLiteral("Note"));
    layout->addWidget(picker);
    layout->addWidget(kindPicker);
    layout->addWidget(elsewhere);
    zInfo* z = info();
    z->setFormType(search ? FormType::Search : FormType::Record);
    z->setMode(search ? FormMode::SearchList : FormMode::Add);
    z->setFormCaption(QStringLiteral("Picker Host"));
    z->setMainTableName(QStringLiteral("Hosts"));
    z->setIdentityField(QStringLiteral("Host_ID"));
}

namespace {

void registerProcedure(const QString& name, const QString& text)
{
    ProcedureCatalogue::instance().registerProcedure(ProcedureCatalogue::parse(name, text, QString(), QString()));
}

void registerTestProcedures()
{
    registerProcedure(QStringLiteral("usp_Test_DropDown_Things"),
                      QStringLiteral("SELECT Thing_ID, Thing_Name FROM Things ORDER BY Thing_Name"));
    registerProcedure(QStringLiteral("usp_Test_DropDown_Things_Of_Kind"),
                      QStringLiteral("-- @param Kind text\nSELECT Thing_ID, Thing_Name FROM Things WHERE Kind = :Kind ORDER BY Thing_Name"));
    const QString columns = QStringLiteral(
        "-- @columns Amount Currency, Born Date, Seen DateTime, Counted Integer, Active Boolean, Ratio Double\n"
        "SELECT Thing_ID, Thing_Name AS \"Name\", Amount AS \"Amount\", Born AS \"Born\", Seen AS \"Seen\",\n"
        "       Counted AS \"Counted\", Active AS \"Active\", Ratio AS \"Ratio\", Label AS \"Label\", Label_Key AS \"_Label\"\n"
        "FROM Things\n");
    registerProcedure(QStringLiteral("usp_Test_Search_Things"), columns + QStringLiteral("ORDER BY Thing_ID"));
    registerProcedure(QStringLiteral("usp_Test_Search_Things_One"),
                      QStringLiteral("-- @param Thing_ID integer\n") + columns + QStringLiteral("WHERE Thing_ID = :Thing_ID"));
}

void registerTestForms()
{
    FormRegistry::registerForm(QStringLiteral("frmThing"), [] { return new frmThing; });
    FormRegistry::registerForm(QStringLiteral("frmThings"), [] { return new frmThings; });
    FormRegistry::registerForm(QStringLiteral("frmPickerHost"), [] { return new frmPickerHost(false); });
    FormRegistry::registerForm(QStringLiteral("frmPickerSearch"), [] { return new frmPickerHost(true); });
}

} // namespace

void ListTest::SetUp()
{
    DatabaseTest::SetUp();
    if (IsSkipped() || HasFailure())
        return;
    Prompts().clear();
    RegisterListControlProcedures();
    registerTestProcedures();
    registerTestForms();
    const Engine engine = GetParam();
    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("CREATE TABLE Things (Thing_ID %1, Thing_Name %2, Amount %3, Born %4, Seen %5, "
                                              "Counted INTEGER, Active %6, Ratio REAL, Label %7, Label_Key %7, Kind %7)")
                                   .arg(SchemaToken(engine, QStringLiteral("{ID}")), SchemaToken(engine, QStringLiteral("{NAME}")),
                                        SchemaToken(engine, QStringLiteral("{MONEY}")), SchemaToken(engine, QStringLiteral("{DATE}")),
                                        SchemaToken(engine, QStringLiteral("{DATETIME}")), SchemaToken(engine, QStringLiteral("{BIT}")),
                                        SchemaToken(engine, QStringLiteral("{TEXT}")))));
    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("INSERT INTO DB_App_Forms (DB_App_Form_Name) VALUES ('frmThing'), ('frmThings')")));
    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral(
        "INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, "
        "Single_Record_DB_App_Form_ID, Multiple_Records_DB_App_Form_ID) "
        "SELECT 'Things', 'Things', 'Thing', 'Thing_ID', s.DB_App_Form_ID, m.DB_App_Form_ID "
        "FROM DB_App_Forms s, DB_App_Forms m WHERE s.DB_App_Form_Name = 'frmThing' AND m.DB_App_Form_Name = 'frmThings'")));
    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name) "
                                              "VALUES ('Orphans', 'Orphans', 'Orphan')")));
    host = std::make_unique<ListMainWindow>();
}

void ListTest::TearDown()
{
    // Close every window while the database is there: grids keep their widths on the way out.
    const QList<QWidget*> windows = LoadedWindows();
    for (QWidget* window : windows) {
        if (DataWindow* data = AsDataWindow(window)) {
            data->info()->setRefreshScreen(false);
            data->info()->setDataChanged(false);
            UnloadWindow(data);
        }
    }
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    host.reset();
    DatabaseTest::TearDown();
}

int ListTest::addThing(const QString& name, const QString& rest)
{
    const auto identity = GetSQLValue(QStringLiteral("INSERT INTO Things (Thing_Name") + (rest.isEmpty() ? QString() : QStringLiteral(", ") + rest.section(QLatin1Char('|'), 0, 0))
                                      + QStringLiteral(") VALUES (") + SQLString(name)
                                      + (rest.isEmpty() ? QString() : QStringLiteral(", ") + rest.section(QLatin1Char('|'), 1))
                                      + QStringLiteral(") RETURNING Thing_ID"));
    return identity ? identity->toInt() : 0;
}

DataWindow* ListTest::openWindow(const QString& name)
{
    DataWindow* window = LoadFormByName(name);
    QApplication::processEvents();
    // Focus events reach a field only in the active window, as they do for the user.
    if (window) {
        QApplication::setActiveWindow(window->window());
        [[maybe_unused]] const bool active = QTest::qWaitForWindowActive(window->window());
    }
    return window;
}

int ListTest::count(const QString& sql)
{
    const auto value = GetSQLValue(sql);
    return value ? value->toInt() : -1;
}
