#pragma once

#include <QString>
#include <QVariant>

// The kinds of field control; the snapshot takes each kind by its own rule.
enum class FieldKind : int {
    Text = 1,
    Numeric = 2,
    Date = 3,
    Memo = 4,
    Money = 5,
    CheckBox = 6,
    ComboBoxText = 7,
    CheckBoxList = 8,
};

// The members every field editor and list control offers to the window's controller, the
// snapshot and the save: one column of the window's main table. A field widget implements this
// interface beside QWidget; the framework finds the fields of a window among its children.
class BoundField {
public:
    virtual ~BoundField() = default;

    virtual FieldKind fieldKind() const = 0;
    virtual QString DBFieldName() const = 0;
    virtual QString GoodName() const = 0;
    virtual bool PartOfTheQuery() const = 0;
    virtual bool Applicable() const = 0;
    virtual bool Required() const { return false; }
    virtual bool Locked() const { return false; }

    // The value: a null QVariant when the field has no value (or does not apply).
    virtual QVariant Value() const = 0;
    virtual void setValue(const QVariant& value) = 0;
    virtual QString Text() const = 0;
    virtual bool IsMissing() const { return Value().isNull(); }
    // The value as an SQL literal ("NULL", a number, 0/1, or a quoted string).
    virtual QString DBValue() const = 0;
    // What the record stores: the foreign-key literal for a field that shows a foreign key.
    virtual QString ResultDBValue() const { return DBValue(); }
    // Runs the final validation; on failure shows the field's message and returns false.
    virtual bool IsValid() = 0;

    // Foreign-key fields (text and number fields in foreign-key mode).
    virtual bool IsForeignKey() const { return false; }
    virtual int FKValue() const { return 0; }
    virtual void setFKValue(int) { }
};
