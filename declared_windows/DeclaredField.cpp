#include "declared_windows/DeclaredField.h"

#include "form_framework/zCheckBox.h"
#include "form_framework/zDate.h"
#include "form_framework/zMemo.h"
#include "form_framework/zMoney.h"
#include "form_framework/zNumeric.h"
#include "form_framework/zText.h"
#include "list_controls/zComboBoxText.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QRadioButton>

namespace {

// The row of option buttons: one exclusive group, the first chosen, each named and captioned as
// declared (windows and the opener find them by name).
QWidget* createOptions(const DeclaredField& field, QWidget* parent)
{
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* group = new QButtonGroup(row);
    for (const DeclaredField::Button& declared : field.optionButtons) {
        auto* option = new QRadioButton(declared.caption, row);
        option->setObjectName(declared.name);
        option->setAccessibleName(QString(declared.caption).remove(QLatin1Char('&')));
        group->addButton(option);
        layout->addWidget(option);
    }
    layout->addStretch(1);
    if (!group->buttons().isEmpty())
        group->buttons().constFirst()->setChecked(true);
    return row;
}

zMoney* createMoney(const DeclaredField& field, QWidget* parent)
{
    auto* money = new zMoney(parent);
    if (!field.spendWord.isEmpty())
        money->setSpendWord(field.spendWord);
    if (!field.receiveWord.isEmpty())
        money->setReceiveWord(field.receiveWord);
    money->setMultiplier(field.multiplier);
    money->amount()->setMin(field.min);
    money->amount()->setMax(field.max);
    money->amount()->setMinIncluded(field.minIncluded);
    money->amount()->setMaxIncluded(field.maxIncluded);
    money->setDBFieldName(field.column);
    money->setGoodName(field.goodName);
    money->setPartOfTheQuery(field.stored);
    if (field.isLocked) {
        money->amount()->setLocked(true);
        for (QRadioButton* direction : money->findChildren<QRadioButton*>())
            direction->setEnabled(false);
    }
    if (!field.applicableAtStart)
        money->setApplicable(false);
    return money;
}

} // namespace

void ApplyDateDesign(zDate* date, const DeclaredField& field)
{
    date->setDataFormat(field.dataFormat);
    if (field.keyFilter)
        date->setKeyFilter(*field.keyFilter);
    // The ceiling first when it is lowered, so the floor is never refused as above it.
    if (field.dateMax.isValid())
        date->setMax(field.dateMax);
    if (field.dateMin.isValid())
        date->setMin(field.dateMin);
    date->setMinIncluded(field.minIncluded);
    date->setMaxIncluded(field.maxIncluded);
}

zFieldBase* CreateFieldEditor(const DeclaredField& field, QWidget* parent)
{
    zFieldBase* editor = nullptr;
    switch (field.editor) {
    case DeclaredField::Editor::Text: {
        auto* text = new zText(parent);
        text->setMaxLength(field.maxLength);
        text->setTextType(field.textType);
        if (field.keyFilter)
            text->setKeyFilter(*field.keyFilter);
        editor = text;
        break;
    }
    case DeclaredField::Editor::Numeric: {
        auto* number = new zNumeric(parent);
        number->setDecimalScale(field.decimalScale);
        number->setMin(field.min);
        number->setMax(field.max);
        number->setMinIncluded(field.minIncluded);
        number->setMaxIncluded(field.maxIncluded);
        editor = number;
        break;
    }
    case DeclaredField::Editor::Date: {
        auto* date = new zDate(parent);
        ApplyDateDesign(date, field);
        editor = date;
        break;
    }
    case DeclaredField::Editor::Memo: {
        auto* memo = new zMemo(parent);
        memo->setMaxLength(field.maxLength);
        editor = memo;
        break;
    }
    case DeclaredField::Editor::CheckBox: {
        auto* check = new zCheckBox(parent);
        check->setCaption(field.caption);
        check->setValue(field.checked);
        editor = check;
        break;
    }
    case DeclaredField::Editor::Picker: {
        auto* picker = new zComboBoxText(parent);
        picker->setPopulateSQL(field.populateSQL);
        picker->setDataChangedTableName(field.dataChangedTable);
        picker->setPopulateOnStart(true);
        if (!field.showButton)
            picker->setShowButton(false);
        if (field.hasGeneralItem)
            picker->setGeneralItem(true);
        if (!field.codePrefix.isNull())
            picker->setRecordCodePrefix(field.codePrefix, field.acceptBareIdentity);
        if (field.pickerSetUp)
            field.pickerSetUp(picker);
        editor = picker;
        break;
    }
    case DeclaredField::Editor::Money:
    case DeclaredField::Editor::Options:
        return nullptr;
    }
    editor->setObjectName(field.control);
    editor->setDBFieldName(field.column);
    editor->setGoodName(field.goodName);
    editor->setRequired(field.isRequired);
    editor->setUnique(field.isUnique);
    editor->setPartOfTheQuery(field.stored);
    editor->setSettingName(field.settingName);
    editor->setIsForeignKey(field.isForeignKey);
    if (field.isLocked)
        editor->setLocked(true);
    if (!field.applicableAtStart)
        editor->setApplicable(false);
    return editor;
}

QWidget* CreateFieldWidget(const DeclaredField& field, QWidget* parent)
{
    QWidget* widget = nullptr;
    if (field.editor == DeclaredField::Editor::Money)
        widget = createMoney(field, parent);
    else if (field.editor == DeclaredField::Editor::Options)
        widget = createOptions(field, parent);
    else
        return CreateFieldEditor(field, parent);
    widget->setObjectName(field.control);
    return widget;
}
