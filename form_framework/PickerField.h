#pragma once

#include "form_framework/BoundField.h"
#include "form_framework/PopulatedList.h"

// The foreign-key picker as the framework uses it: a bound field whose Value is the identity of
// the chosen entry (below 1 when nothing is chosen), and which follows the data-changed messages
// of one table.
// BoundField is a virtual base: a picker built on the shared field base is still one bound field.
class PickerField : public virtual BoundField, public PopulatedList {
public:
    FieldKind fieldKind() const override { return FieldKind::ComboBoxText; }
    virtual QString DataChangedTableName() const = 0;
    // Shows the text as typed, no entry chosen ("" empties the field).
    virtual void setText(const QString& text) = 0;
    virtual void AddItemsByID(const QString& idList) = 0;
    virtual void UpdateItemsByID(const QString& idList) = 0;
    virtual void RemoveItemsByID(const QString& idList) = 0;
};
