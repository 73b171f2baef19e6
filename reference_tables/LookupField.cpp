#include "reference_tables/LookupField.h"

#include "form_framework/zCheckBox.h"
#include "list_controls/zComboBoxText.h"
#include "form_framework/zMemo.h"
#include "form_framework/zNumeric.h"
#include "form_framework/zText.h"

zFieldBase* CreateFieldEditor(const LookupField& field, QWidget* parent)
{
    zFieldBase* editor = nullptr;
    switch (field.editor) {
    case LookupField::Editor::Text: {
        auto* text = new zText(parent);
        text->setMaxLength(field.maxLength);
        editor = text;
        break;
    }
    case LookupField::Editor::Numeric: {
        auto* number = new zNumeric(parent);
        number->setDecimalScale(field.decimalScale);
        number->setMin(field.min);
        number->setMax(field.max);
        editor = number;
        break;
    }
    case LookupField::Editor::Memo: {
        auto* memo = new zMemo(parent);
        memo->setMaxLength(field.maxLength);
        editor = memo;
        break;
    }
    case LookupField::Editor::CheckBox: {
        auto* check = new zCheckBox(parent);
        check->setCaption(field.caption);
        check->setValue(field.checked);
        editor = check;
        break;
    }
    case LookupField::Editor::Picker: {
        auto* picker = new zComboBoxText(parent);
        picker->setPopulateSQL(field.populateSQL);
        picker->setDataChangedTableName(field.dataChangedTable);
        picker->setPopulateOnStart(true);
        editor = picker;
        break;
    }
    }
    editor->setObjectName(field.control);
    editor->setDBFieldName(field.column);
    editor->setGoodName(field.goodName);
    editor->setRequired(field.isRequired);
    editor->setUnique(field.isUnique);
    return editor;
}
