#include "FakeControls.h"

#include "core/Database.h"
#include "support/TestDatabase.h"
#include "form_framework/FormRegistry.h"
#include "core/SqlText.h"
#include "form_framework/WindowOpening.h"
#include "form_framework/zIdentity.h"
#include "form_framework/zInfo.h"

#include <QVBoxLayout>

FakeText::FakeText(QWidget* parent, const QString& objectName, const QString& dbFieldName, const QString& goodName)
    : QLineEdit(parent)
    , m_dbFieldName(dbFieldName)
    , m_goodName(goodName)
{
    setObjectName(objectName);
}

QVariant FakeText::Value() const
{
    return applicable && !text().trimmed().isEmpty() ? QVariant(text()) : QVariant();
}

void FakeText::setValue(const QVariant& value)
{
    setText(value.isNull() ? QString() : value.toString());
}

QString FakeText::DBValue() const
{
    return Value().isNull() ? QStringLiteral("NULL") : SQLString(text());
}

QString FakeText::ResultDBValue() const
{
    if (foreignKey)
        return m_fk == 0 ? QStringLiteral("NULL") : QString::number(m_fk);
    return DBValue();
}

FakeCheck::FakeCheck(QWidget* parent, const QString& objectName, const QString& dbFieldName)
    : QCheckBox(parent)
    , m_dbFieldName(dbFieldName)
{
    setObjectName(objectName);
}

FakePicker::FakePicker(QWidget* parent, const QString& objectName, const QString& dbFieldName, const QString& table)
    : QComboBox(parent)
    , m_dbFieldName(dbFieldName)
    , m_table(table)
{
    setObjectName(objectName);
}

FakeRecordBar::FakeRecordBar(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("zbtnButtons"));
    setFixedHeight(30);
}

FakeSearchBar::FakeSearchBar(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("zbtnButtons"));
    setFixedHeight(30);
}

FakeResultList::FakeResultList(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("zlvwData"));
}

bool FakeResultList::MoveNext()
{
    if (current < 0 || current + 1 >= rows.size())
        return false;
    ++current;
    return true;
}

bool FakeResultList::MovePrevious()
{
    if (current <= 0)
        return false;
    --current;
    return true;
}

void FakeResultList::Edit(int left, int top)
{
    OpenFormWithParams(QStringLiteral("frmGadget"), rows.at(current),
                       { QStringLiteral("Mode"), 2, QStringLiteral("IdentityValue"), rows.at(current), QStringLiteral("PositionX"), left,
                         QStringLiteral("PositionY"), top });
}

frmGadget::frmGadget()
    : DataWindow(QStringLiteral("frmGadget"))
{
    auto* layout = new QVBoxLayout(this);
    auto* id = new zIdentity(this);
    id->setDBFieldName(QStringLiteral("Gadget_ID"));
    name = new FakeText(this, QStringLiteral("ztxtName"), QStringLiteral("Gadget_Name"), QStringLiteral("Gadget Name"));
    serial = new FakeText(this, QStringLiteral("ztxtSerial"), QStringLiteral("Serial"), QStringLiteral("Serial"));
    working = new FakeCheck(this, QStringLiteral("zchkWorking"), QStringLiteral("Working"));
    kind = new FakePicker(this, QStringLiteral("zcbtKind"), QStringLiteral("Kind_ID"), QStringLiteral("Kinds"));
    bar = new FakeRecordBar(this);
    for (QWidget* w : std::initializer_list<QWidget*> { id, name, serial, working, kind, bar })
        layout->addWidget(w);
    zInfo* z = info();
    z->setFormType(FormType::Record);
    z->setFormCaption(QStringLiteral("Gadget"));
    z->setMainTableName(QStringLiteral("Gadgets"));
    z->setIdentityField(QStringLiteral("Gadget_ID"));
    connect(z, &zInfo::ModeChanged, this,
        [this] { events << QStringLiteral("mode %1").arg(static_cast<int>(info()->Mode())); });
}

bool frmGadget::CheckFieldsProcedure() { return name->IsValid() && serial->IsValid(); }

bool frmGadget::ActPopulateFormEditProcedure()
{
    std::unique_ptr<Recordset> rs;
    if (!Act_OpenRecordset(rs, info()->SearchSQL() + info()->Identity()) || rs->eof())
        return false;
    name->setValue(rs->value(QStringLiteral("Gadget_Name")));
    serial->setValue(rs->value(QStringLiteral("Serial")));
    working->setValue(rs->value(QStringLiteral("Working")));
    kind->setValue(rs->value(QStringLiteral("Kind_ID")));
    return true;
}

void frmGadget::SetDefaultsProcedure()
{
    working->setChecked(true);
    events << QStringLiteral("defaults");
}

void frmGadget::ProcessCommand(MainCommand command)
{
    events << QStringLiteral("command %1").arg(static_cast<int>(command));
}

void frmGadget::ProcessDefaultValue(const QString& defaultValue)
{
    events << QStringLiteral("default value ") + defaultValue;
}

bool frmGadget::Act_LoadForm()
{
    const bool result = Act_StandardProcessOnLoadMessage(this);
    info()->setDataChanged(false);
    return result;
}

frmGadgets::frmGadgets()
    : DataWindow(QStringLiteral("frmGadgets"))
{
    auto* layout = new QVBoxLayout(this);
    name = new FakeText(this, QStringLiteral("ztxtName"), QStringLiteral("Gadget_Name"), QStringLiteral("Gadget Name"));
    working = new FakeCheck(this, QStringLiteral("zchkWorking"), QStringLiteral("Working"));
    kind = new FakePicker(this, QStringLiteral("zcbtKind"), QStringLiteral("Kind_ID"), QStringLiteral("Kinds"));
    list = new FakeResultList(this);
    bar = new FakeSearchBar(this);
    for (QWidget* w : std::initializer_list<QWidget*> { name, working, kind, list, bar })
        layout->addWidget(w);
    zInfo* z = info();
    z->setFormType(FormType::Search);
    z->setMode(FormMode::SearchList);
    z->setFormCaption(QStringLiteral("Gadget"));
    z->setMainTableName(QStringLiteral("Gadgets"));
    z->setIdentityField(QStringLiteral("Gadget_ID"));
    z->setSearchSQL(QStringLiteral("EXEC usp_Search_Gadgets_All"));
    z->setSearchSQLOne(QStringLiteral("EXEC usp_Search_Gadgets_One"));
    z->setDaughterFormName(QStringLiteral("frmGadget"));
    z->setPopulateOnStart(true);
}

void frmGadgets::PopulateData() { events << QStringLiteral("PopulateData"); }

void frmGadgets::ProcessCommand(MainCommand command)
{
    events << QStringLiteral("command %1").arg(static_cast<int>(command));
}

void RegisterTestForms()
{
    FormRegistry::registerForm(QStringLiteral("frmGadget"), [] { return new frmGadget; });
    FormRegistry::registerForm(QStringLiteral("frmGadgets"), [] { return new frmGadgets; });
}

bool CreateGadgetsTable(Engine engine)
{
    return Act_ExecuteSQL(QStringLiteral("CREATE TABLE Gadgets (Gadget_ID %1, Gadget_Name %2, Serial %3, Working %4, Kind_ID INTEGER)")
                              .arg(SchemaToken(engine, QStringLiteral("{ID}")), SchemaToken(engine, QStringLiteral("{NAME}")),
                                   SchemaToken(engine, QStringLiteral("{TEXT}")), SchemaToken(engine, QStringLiteral("{BIT}"))))
        && Act_ExecuteSQL(QStringLiteral("INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, "
                                         "DB_ID_Field, DB_Default_Permission) VALUES ('Gadgets', 'Gadgets', 'Gadget', 'Gadget_ID', 1)"));
}
