#include "declared_windows/DeclaredRecordWindow.h"

#include "declared_windows/DeclaredControl.h"
#include "form_framework/RecordChecks.h"

#include "core/Actions.h"
#include "core/AppError.h"
#include "core/Database.h"
#include "core/RecordCodes.h"
#include "core/Recordset.h"
#include "core/SqlText.h"
#include "form_framework/WindowOpening.h"
#include "form_framework/zButtonsAddEdit.h"
#include "form_framework/zCheckBox.h"
#include "form_framework/zExtendedLabel.h"
#include "form_framework/zFieldBase.h"
#include "form_framework/zIdentity.h"
#include "form_framework/zInfo.h"
#include "form_framework/zLabel.h"
#include "form_framework/zMoney.h"
#include "form_framework/zNumeric.h"

#include <QAbstractButton>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>

namespace {

bool sameName(const QObject* object, const QString& name)
{
    return object->objectName().compare(name, Qt::CaseInsensitive) == 0;
}

// A field's value from its column: foreign-key texts take the identity, check boxes a flag.
void fillField(BoundField* field, const QVariant& value)
{
    if (field->IsForeignKey())
        field->setFKValue(value.isNull() ? 0 : value.toInt());
    else if (field->fieldKind() == FieldKind::CheckBox)
        field->setValue(!value.isNull() && value.toBool());
    else
        field->setValue(value);
}

// The window's answers for a foreign-key text declared with its two look-ups.
void answerForeignKey(zFieldBase* editor, const DeclaredField& declared)
{
    if (!declared.valueFromFKSQL.isEmpty()) {
        const QString sql = declared.valueFromFKSQL;
        editor->setGetValueFromFK([editor, sql]() -> QVariant {
            const int identity = editor->FKValue();
            if (identity <= 0)
                return {};
            return GetSQLValue(sql + QString::number(identity)).value_or(QVariant());
        });
    }
    if (!declared.fkFromValueSQL.isEmpty()) {
        const QString sql = declared.fkFromValueSQL;
        editor->setGetFKFromValue([editor, sql]() -> int {
            const QVariant shown = editor->Value();
            if (shown.isNull())
                return 0;
            const std::optional<QVariant> identity = GetSQLValue(sql + SQLString(shown.toString()));
            return identity && !identity->isNull() ? identity->toInt() : 0;
        });
    }
}

} // namespace

DeclaredRecordWindow::DeclaredRecordWindow(const DeclaredTable& table)
    : DataWindow(table.recordWindow)
    , m_table(table)
{
    setWindowTitle(table.caption);
    auto* layout = new QVBoxLayout(this);
    QVBoxLayout* fieldsLayout = layout;
    if (table.scrollFields) {
        auto* scroll = new QScrollArea(this);
        scroll->setObjectName(QStringLiteral("scrFields"));
        scroll->setWidgetResizable(true);
        scroll->setFrameShape(QFrame::NoFrame);
        auto* area = new QWidget;
        area->setObjectName(QStringLiteral("picFields"));
        fieldsLayout = new QVBoxLayout(area);
        scroll->setWidget(area);
        layout->addWidget(scroll, 1);
    }
    layOutFields(fieldsLayout);
    if (!table.scrollFields)
        layout->addStretch(1);

    m_buttons = new zButtonsAddEdit(this);
    m_buttons->setObjectName(QStringLiteral("zbtnButtons"));
    m_buttons->setMinimumHeight(m_buttons->sizeHint().height());
    m_buttons->setAllowNew(table.allowNew);
    m_buttons->setAllowMove(table.allowMove);
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
    if (m_code[0]) {
        connect(m_identity, &zIdentity::ValueChanged, this, &DeclaredRecordWindow::showRecordCode);
        showRecordCode();
    }

    if (table.extendRecordWindow)
        table.extendRecordWindow(*this);
    // Every control the hooks name through a handle is here and of its type, or the window is not
    // built at all (a handle the extension itself uses has already refused the same way). After the
    // extension, whose own controls (a preview, its buttons) later hooks may name too.
    CheckDeclaredControls(*this);
    // After the window's own additions beside its fields.
    spanLoneFields();
    // Wide enough for what a row of the layout needs (option buttons side by side), never narrower
    // than the usual record window.
    const QSize wanted = sizeHint();
    resize(table.scrollFields ? 640 : qBound(520, wanted.width(), 900), table.scrollFields ? 560 : wanted.height());
}

void DeclaredRecordWindow::layOutFields(QVBoxLayout* outer)
{
    // Columns of sections: each section a grid of caption (column 0) and field (column 1), with
    // what stands beside the field in the further columns; a group box holds a section of its own.
    auto* columns = new QHBoxLayout;
    outer->addLayout(columns);
    auto* column = new QVBoxLayout;
    columns->addLayout(column, 1);
    m_grid = new QGridLayout;
    column->addLayout(m_grid);

    auto addLabel = [&](const QString& text, const QString& objectName, bool required, QWidget* buddy,
                        QGridLayout* grid, int row, int at) {
        auto* label = new zLabel(this);
        label->setObjectName(objectName.isEmpty() ? QStringLiteral("zlabel1(%1)").arg(m_labelIndex) : objectName);
        ++m_labelIndex;
        label->setValue(text);
        label->setRequired(required);
        if (buddy)
            label->setBuddy(buddy);
        grid->addWidget(label, row, at);
    };

    m_identity = new zIdentity(this);
    m_identity->setObjectName(QStringLiteral("zID"));
    m_identity->setDBFieldName(m_table.identityField);
    m_identity->setGoodName(m_table.identityGoodName());
    addLabel(m_table.identityGoodName() + QStringLiteral(":"), QString(), false, nullptr, m_grid, 0, 0);
    m_grid->addWidget(m_identity, 0, 1);
    int row = 1;
    if (!m_table.codePrefix.isNull()) {
        addCodePair(row);
        row += 2;
    }

    QGridLayout* grid = m_grid;
    QString currentGroup;
    QGridLayout* previousGrid = nullptr;
    int previousRow = 0;
    int nextColumn = 0;
    bool secondColumn = false;
    auto newGrid = [&](QGridLayout* fresh) {
        grid = fresh;
        grid->setColumnStretch(1, 1);
        row = 0;
    };
    for (const DeclaredField& declared : m_table.fields) {
        if (declared.startsSecondColumn && !secondColumn) {
            secondColumn = true;
            column->addStretch(1);
            column = new QVBoxLayout;
            columns->addLayout(column, 1);
            auto* fresh = new QGridLayout;
            column->addLayout(fresh);
            newGrid(fresh);
            currentGroup.clear();
        }
        if (!declared.besidePrevious && declared.groupCaption != currentGroup) {
            currentGroup = declared.groupCaption;
            auto* fresh = new QGridLayout;
            if (currentGroup.isEmpty()) {
                column->addLayout(fresh);
            } else {
                auto* box = new QGroupBox(currentGroup, this);
                box->setObjectName(declared.groupName.isEmpty() ? QStringLiteral("fraGroup(%1)").arg(m_groups.size())
                                                                : declared.groupName);
                box->setAccessibleName(currentGroup);
                box->setLayout(fresh);
                column->addWidget(box);
                m_groups << box;
            }
            newGrid(fresh);
        }

        QWidget* widget = CreateFieldWidget(declared, this);
        m_controls << widget;
        if (auto* editor = qobject_cast<zFieldBase*>(widget)) {
            m_fields << editor;
            if (declared.isForeignKey)
                answerForeignKey(editor, declared);
        }
        if (auto* bound = dynamic_cast<BoundField*>(widget))
            m_bound << bound;
        // The money field's caption names the amount box, which is what takes the focus.
        QWidget* buddy = widget;
        if (auto* money = qobject_cast<zMoney*>(widget))
            buddy = money->amount();

        QGridLayout* target = grid;
        int at = 0;
        int fieldRow = row;
        if (declared.besidePrevious && previousGrid) {
            target = previousGrid;
            fieldRow = previousRow;
            at = nextColumn;
            if (!declared.label.isEmpty())
                addLabel(declared.label, declared.labelName, declared.isRequired, buddy, target, fieldRow, at++);
            target->addWidget(widget, fieldRow, at++);
        } else {
            if (!declared.label.isEmpty())
                addLabel(declared.label, declared.labelName, declared.isRequired, buddy, target, fieldRow, 0);
            target->addWidget(widget, fieldRow, 1);
            at = 2;
            ++row;
        }
        for (const DeclaredField::Button& side : declared.sideButtons) {
            auto* button = new QPushButton(side.caption, this);
            button->setObjectName(side.name);
            button->setAccessibleName(QString(side.caption).remove(QLatin1Char('&')));
            button->setAutoDefault(false);
            target->addWidget(button, fieldRow, at++);
            m_sideButtons << button;
        }
        previousGrid = target;
        previousRow = fieldRow;
        nextColumn = at;
    }
    m_grid->setColumnStretch(1, 1);
    if (secondColumn)
        column->addStretch(1);
}

void DeclaredRecordWindow::spanLoneFields()
{
    // A field with nothing beside it takes the columns of the buttons beside other fields, so a
    // "<= Now" button widens the date's row only, not every row of the section.
    for (QGridLayout* grid : findChildren<QGridLayout*>()) {
        const int columns = grid->columnCount();
        if (columns <= 2)
            continue;
        for (int row = 0; row < grid->rowCount(); ++row) {
            QLayoutItem* item = grid->itemAtPosition(row, 1);
            if (!item || !item->widget())
                continue;
            bool alone = true;
            for (int at = 2; at < columns && alone; ++at)
                alone = grid->itemAtPosition(row, at) == nullptr;
            if (!alone)
                continue;
            QWidget* widget = item->widget();
            grid->removeWidget(widget);
            grid->addWidget(widget, row, 1, 1, columns - 1);
        }
    }
}

void DeclaredRecordWindow::addCodePair(int row)
{
    auto* caption = new zLabel(this);
    caption->setObjectName(QStringLiteral("zlblBarCode"));
    caption->setValue(m_table.codeCaption);
    m_code[1] = new zExtendedLabel(this);
    m_code[1]->setObjectName(QStringLiteral("zxlBarCode(1)"));
    QFont font(m_table.codeFontFamily);
    font.setPointSizeF(m_table.codeFontPoints);
    m_code[1]->setFont(font);
    m_code[1]->setAlignment(0);
    m_code[0] = new zExtendedLabel(this);
    m_code[0]->setObjectName(QStringLiteral("zxlBarCode(0)"));
    m_code[0]->setAlignment(0);
    m_code[0]->setBarcode(true);
    // Every record code of the table has the same length.
    m_code[0]->reserveBarcodeRoom(RecordCodeText(m_table.codePrefix, 1));
    caption->setBuddy(m_code[1]);
    m_grid->addWidget(caption, row, 0);
    m_grid->addWidget(m_code[1], row, 1);
    m_grid->addWidget(m_code[0], row + 1, 1);
}

void DeclaredRecordWindow::showRecordCode()
{
    // A new record (0) and a window whose load failed (-1) have no code yet.
    const int id = m_identity->Value();
    const QString code = id > 0 ? RecordCodeText(m_table.codePrefix, id) : QString();
    const QString shown = code.isEmpty() ? QStringLiteral("No Bar Code Yet") : code;
    m_code[1]->setValue(shown);
    m_code[1]->setAccessibleName(shown);
    m_code[1]->label()->setAccessibleName(shown);
    m_code[0]->setValue(code.isEmpty() ? QString() : QStringLiteral("*") + code + QStringLiteral("*"));
    m_code[0]->setAccessibleName(code);
}

zFieldBase* DeclaredRecordWindow::field(const QString& control) const
{
    for (zFieldBase* editor : m_fields) {
        if (sameName(editor, control))
            return editor;
    }
    return nullptr;
}

BoundField* DeclaredRecordWindow::boundField(const QString& name) const
{
    if (auto* declared = dynamic_cast<BoundField*>(control(name)))
        return declared;
    for (QWidget* child : findChildren<QWidget*>()) {
        if (sameName(child, name))
            if (auto* bound = dynamic_cast<BoundField*>(child))
                return bound;
    }
    return nullptr;
}

QWidget* DeclaredRecordWindow::control(const QString& name) const
{
    for (QWidget* widget : m_controls) {
        if (sameName(widget, name))
            return widget;
    }
    return nullptr;
}

QPushButton* DeclaredRecordWindow::button(const QString& name) const
{
    for (QPushButton* side : m_sideButtons) {
        if (sameName(side, name))
            return side;
    }
    return nullptr;
}

QGroupBox* DeclaredRecordWindow::group(const QString& caption) const
{
    for (QGroupBox* box : m_groups) {
        if (box->title() == caption)
            return box;
    }
    return nullptr;
}

zExtendedLabel* DeclaredRecordWindow::codeLabel(int index) const
{
    return index == 0 || index == 1 ? m_code[index] : nullptr;
}

int DeclaredRecordWindow::rowOf(const QString& name) const
{
    QWidget* widget = control(name);
    if (!widget)
        return -1;
    for (auto* grid : findChildren<QGridLayout*>()) {
        const int index = grid->indexOf(widget);
        if (index < 0)
            continue;
        int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
        grid->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
        return row;
    }
    return -1;
}

bool DeclaredRecordWindow::Act_LoadForm()
{
    ActionScope action(objectName(), QStringLiteral("Act_LoadForm"), QStringLiteral("Load Form"));
    return action.run([this] {
        if (m_table.beforeStartParameters)
            m_table.beforeStartParameters(*this);
        if (!Act_StandardProcessOnLoadMessage(this))
            RaiseSilent();
        // Filling the fields is no change of the user's.
        info()->setDataChanged(false);
    });
}

QList<BoundField*> DeclaredRecordWindow::fieldsInOrder() const
{
    QList<BoundField*> ordered = m_bound;
    for (zFieldBase* added : findChildren<zFieldBase*>()) {
        if (m_bound.contains(static_cast<BoundField*>(added)))
            continue;
        bool insideMoney = false;
        for (QWidget* up = added->parentWidget(); up && up != this; up = up->parentWidget())
            insideMoney = insideMoney || qobject_cast<zMoney*>(up);
        if (!insideMoney)
            ordered << added;
    }
    return ordered;
}

bool DeclaredRecordWindow::CheckFieldsProcedure()
{
    for (BoundField* bound : fieldsInOrder()) {
        if (!bound->IsValid())
            return false;
    }
    if (m_table.uniqueCombination.empty())
        return true;
    QList<BoundField*> combination;
    for (const QString& name : m_table.uniqueCombination)
        combination << boundField(name);
    return CheckUniqueCombination(combination, this, control(m_table.uniqueCombination.front()));
}

bool DeclaredRecordWindow::ActPopulateFormEditProcedure()
{
    // An action of its own, so a failure reaches the load as a recorded error and never as an
    // exception through the controller.
    ActionScope action(objectName(), QStringLiteral("ActPopulateFormEditProcedure"), QStringLiteral("Populate Form"));
    return action.run([this] {
        zInfo* z = info();
        std::unique_ptr<Recordset> row;
        if (!Act_OpenRecordset(row, z->SearchSQL() + z->Identity()))
            RaiseSilent();
        if (row->eof()) {
            CloseRecordset(row);
            RaiseToReport(z->FormCaption() + QStringLiteral(" ") + AngleQuote(m_identity->Text())
                + QStringLiteral(" no longer exists in the database."));
        }
        if (m_table.rowLoaded)
            m_table.rowLoaded(*this, *row);
        for (BoundField* bound : fieldsInOrder()) {
            // A field that no column feeds (a computed or window-only field) keeps its value.
            const int column = bound->DBFieldName().isEmpty() ? -1 : row->fieldIndex(bound->DBFieldName());
            if (column >= 0)
                fillField(bound, row->value(column));
        }
        CloseRecordset(row);
    });
}

void DeclaredRecordWindow::ProcessDefaultValue(const QString& defaultValue)
{
    if (m_table.defaultValueHandler) {
        m_table.defaultValueHandler(*this, defaultValue);
        return;
    }
    if (m_table.defaultValueTarget.isEmpty())
        return;
    if (BoundField* target = boundField(m_table.defaultValueTarget))
        target->setValue(defaultValue);
}

void DeclaredRecordWindow::BeforeApplyPresets(const FormParamDict& presets)
{
    for (const DeclaredTable::PresetOption& preset : m_table.presetOptions) {
        const QStringList& given = presets.keys();
        if (std::any_of(given.begin(), given.end(),
                [&](const QString& key) { return key.compare(preset.column, Qt::CaseInsensitive) == 0; })) {
            preset.option->in(*this)->setChecked(true);
            return;
        }
    }
}

void DeclaredRecordWindow::SetDefaultsProcedure()
{
    if (m_table.setDefaults)
        m_table.setDefaults(*this);
}

void DeclaredRecordWindow::PopulateShortcuts()
{
    for (const QString& caption : m_actions.captions())
        m_buttons->AddAction(caption);
}

void DeclaredRecordWindow::runAction(const QString& actionName) const { m_actions.run(actionName, m_identity->Value()); }
