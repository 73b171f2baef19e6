#include "reference_tables/LookupRecordWindow.h"

#include "core/Actions.h"
#include "core/AppError.h"
#include "core/Database.h"
#include "core/Recordset.h"
#include "core/SqlText.h"
#include "form_framework/WindowOpening.h"
#include "form_framework/zButtonsAddEdit.h"
#include "form_framework/zCheckBox.h"
#include "form_framework/zFieldBase.h"
#include "form_framework/zIdentity.h"
#include "form_framework/zInfo.h"
#include "form_framework/zLabel.h"

#include <QGridLayout>
#include <QVBoxLayout>

LookupRecordWindow::LookupRecordWindow(const LookupTable& table)
    : DataWindow(table.recordWindow)
    , m_table(table)
{
    setWindowTitle(table.caption);
    auto* layout = new QVBoxLayout(this);
    m_grid = new QGridLayout;
    layout->addLayout(m_grid);
    layout->addStretch(1);

    int labelIndex = 0;
    auto addLabel = [&](const QString& text, const QString& objectName, bool required, QWidget* buddy, int row) {
        auto* label = new zLabel(this);
        label->setObjectName(objectName.isEmpty() ? QStringLiteral("zlabel1(%1)").arg(labelIndex) : objectName);
        ++labelIndex;
        label->setValue(text);
        label->setRequired(required);
        if (buddy)
            label->setBuddy(buddy);
        m_grid->addWidget(label, row, 0);
    };

    m_identity = new zIdentity(this);
    m_identity->setObjectName(QStringLiteral("zID"));
    m_identity->setDBFieldName(table.identityField);
    m_identity->setGoodName(table.identityGoodName());
    addLabel(table.identityGoodName() + QStringLiteral(":"), QString(), false, nullptr, 0);
    m_grid->addWidget(m_identity, 0, 1);

    int row = 1;
    for (const LookupField& declared : table.fields) {
        zFieldBase* editor = CreateFieldEditor(declared, this);
        m_fields << editor;
        if (!declared.label.isEmpty())
            addLabel(declared.label, declared.labelName, declared.isRequired, editor, row);
        m_grid->addWidget(editor, row, 1);
        ++row;
    }
    m_grid->setColumnStretch(1, 1);

    m_buttons = new zButtonsAddEdit(this);
    m_buttons->setObjectName(QStringLiteral("zbtnButtons"));
    m_buttons->setMinimumHeight(m_buttons->sizeHint().height());
    layout->addWidget(m_buttons);
    // The identity comes last in the tab order, after the fields and the bar.
    setTabOrder(m_buttons, m_identity);

    zInfo* z = info();
    z->setFormType(FormType::Record);
    z->setFormCaption(table.caption);
    z->setMainTableName(table.table);
    z->setIdentityField(table.identityField);
    z->setSearchSQL(QStringLiteral("SELECT * FROM ") + table.table + QStringLiteral(" WHERE "));
    connect(m_buttons, &zButtonsAddEdit::ActionClick, this, [this](QString& name) { runAction(name); });

    if (table.extendRecordWindow)
        table.extendRecordWindow(*this);
    resize(520, sizeHint().height());
}

zFieldBase* LookupRecordWindow::field(const QString& control) const
{
    for (zFieldBase* editor : m_fields) {
        if (editor->objectName().compare(control, Qt::CaseInsensitive) == 0)
            return editor;
    }
    return nullptr;
}

int LookupRecordWindow::rowOf(const QString& control) const
{
    zFieldBase* editor = field(control);
    const int index = editor ? m_grid->indexOf(editor) : -1;
    if (index < 0)
        return -1;
    int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
    m_grid->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
    return row;
}

bool LookupRecordWindow::Act_LoadForm()
{
    ActionScope action(objectName(), QStringLiteral("Act_LoadForm"), QStringLiteral("Load Form"));
    return action.run([this] {
        if (!Act_StandardProcessOnLoadMessage(this))
            RaiseSilent();
        // Filling the fields is no change of the user's.
        info()->setDataChanged(false);
    });
}

void LookupRecordWindow::ProcessDefaultValue(const QString& defaultValue)
{
    if (zFieldBase* name = field(QStringLiteral("ztxtName")))
        name->setValue(defaultValue);
}

void LookupRecordWindow::PopulateShortcuts()
{
    for (const QString& caption : m_actions.captions())
        m_buttons->AddAction(caption);
}

void LookupRecordWindow::runAction(const QString& actionName) const { m_actions.run(actionName, m_identity->Value()); }
