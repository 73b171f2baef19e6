#include "BarWindows.h"

#include "core/Database.h"
#include "form_framework/FormRegistry.h"
#include "form_framework/WindowOpening.h"
#include "form_framework/zIdentity.h"
#include "form_framework/zInfo.h"

#include <QVBoxLayout>

frmBarGadget::frmBarGadget()
    : DataWindow(QStringLiteral("frmBarGadget"))
{
    auto* layout = new QVBoxLayout(this);
    auto* id = new zIdentity(this);
    id->setDBFieldName(QStringLiteral("Gadget_ID"));
    name = new FakeText(this, QStringLiteral("ztxtName"), QStringLiteral("Gadget_Name"), QStringLiteral("Gadget Name"));
    serial = new FakeText(this, QStringLiteral("ztxtSerial"), QStringLiteral("Serial"), QStringLiteral("Serial"));
    bar = new zButtonsAddEdit(this);
    for (QWidget* w : std::initializer_list<QWidget*> { id, name, serial, bar })
        layout->addWidget(w);
    resize(600, 200);
    zInfo* z = info();
    z->setFormType(FormType::Record);
    z->setFormCaption(QStringLiteral("Gadget"));
    z->setMainTableName(QStringLiteral("Gadgets"));
    z->setIdentityField(QStringLiteral("Gadget_ID"));
    for (FakeText* field : { name, serial })
        connect(field, &QLineEdit::textEdited, z, [z] { z->setDataChanged(true); });
    connect(bar, &zButtonsAddEdit::ActionClick, this, [this](QString& action) { events << QStringLiteral("action ") + action; });
}

bool frmBarGadget::ActPopulateFormEditProcedure()
{
    std::unique_ptr<Recordset> rs;
    if (!Act_OpenRecordset(rs, info()->SearchSQL() + info()->Identity()) || rs->eof())
        return false;
    name->setValue(rs->value(QStringLiteral("Gadget_Name")));
    serial->setValue(rs->value(QStringLiteral("Serial")));
    return true;
}

void frmBarGadget::SetDefaultsProcedure()
{
    name->clear();
    serial->setText(QStringLiteral("S-?"));
    events << QStringLiteral("defaults");
}

void frmBarGadget::PopulateShortcuts() { bar->AddAction(QStringLiteral("Print &Case Barcode")); }

bool frmBarGadget::Act_LoadForm()
{
    const bool result = Act_StandardProcessOnLoadMessage(this);
    info()->setDataChanged(false);
    return result;
}

frmBarGadgets::frmBarGadgets()
    : DataWindow(QStringLiteral("frmBarGadgets"))
{
    auto* layout = new QVBoxLayout(this);
    name = new FakeText(this, QStringLiteral("ztxtName"), QStringLiteral("Gadget_Name"), QStringLiteral("Gadget Name"));
    list = new FakeResultList(this);
    bar = new zButtonsSearch(this);
    for (QWidget* w : std::initializer_list<QWidget*> { name, list, bar })
        layout->addWidget(w);
    resize(621, 300);
    zInfo* z = info();
    z->setFormType(FormType::Search);
    z->setMode(FormMode::SearchList);
    z->setFormCaption(QStringLiteral("Gadget"));
    z->setMainTableName(QStringLiteral("Gadgets"));
    z->setIdentityField(QStringLiteral("Gadget_ID"));
    z->setDaughterFormName(QStringLiteral("frmBarGadget"));
    connect(bar, &zButtonsSearch::ActionClick, this, [this](QString& action) { events << QStringLiteral("action ") + action; });
}

void RegisterBarForms()
{
    FormRegistry::registerForm(QStringLiteral("frmBarGadget"), [] { return new frmBarGadget; });
    FormRegistry::registerForm(QStringLiteral("frmBarGadgets"), [] { return new frmBarGadgets; });
    FormRegistry::registerForm(QStringLiteral("frmBarGadgetsNoRecord"), [] {
        auto* window = new frmBarGadgets;
        window->info()->setDaughterFormName(QString());
        return window;
    });
}
