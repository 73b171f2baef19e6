#pragma once

#include "form_framework/zNumeric.h"

#include <QString>

// One field of a lookup window as the window declares it: the editor, the bound column and the
// design properties the editor takes. Written as a chain of setters so a window's field table
// reads like the design sheet it came from:
//
//     LookupField::text("ztxtName", "Color_Name", "Color Name").length(30).required().unique()
struct LookupField {
    enum class Editor { Text, Numeric, Memo, CheckBox, Picker };

    Editor editor = Editor::Text;
    QString control;   // the object name ("ztxtName", "zchkApplies(0)")
    QString column;    // DBFieldName (or the search parameter on a search window)
    QString goodName;  // the field's name in messages
    QString label;     // the caption beside it; "" puts no caption of its own beside the field
    QString labelName; // the caption's object name when it is not the next of zlabel1
    bool isRequired = false;
    bool isUnique = false;
    int maxLength = 0;
    // Numbers: whole numbers unless a scale is given.
    int decimalScale = 0;
    double min = zNumeric::Floor;
    double max = zNumeric::Ceiling;
    // Check boxes: the caption beside the box and the state a new record starts in.
    QString caption;
    bool checked = false;
    // Pickers.
    QString populateSQL;
    QString dataChangedTable;

    static LookupField text(const QString& control, const QString& column, const QString& goodName)
    {
        return make(Editor::Text, control, column, goodName);
    }
    static LookupField number(const QString& control, const QString& column, const QString& goodName)
    {
        return make(Editor::Numeric, control, column, goodName);
    }
    static LookupField memo(const QString& control, const QString& column, const QString& goodName)
    {
        return make(Editor::Memo, control, column, goodName);
    }
    // A check box that starts ticked or not; check boxes carry no caption label of their own.
    static LookupField checkBox(const QString& control, const QString& column, const QString& goodName,
                                const QString& caption, bool startsTicked)
    {
        LookupField field = make(Editor::CheckBox, control, column, goodName);
        field.caption = caption;
        field.checked = startsTicked;
        field.label.clear();
        return field;
    }
    static LookupField picker(const QString& control, const QString& column, const QString& goodName,
                              const QString& populateSQL, const QString& dataChangedTable)
    {
        LookupField field = make(Editor::Picker, control, column, goodName);
        field.populateSQL = populateSQL;
        field.dataChangedTable = dataChangedTable;
        return field;
    }

    LookupField& required()
    {
        isRequired = true;
        return *this;
    }
    LookupField& unique()
    {
        isUnique = true;
        return *this;
    }
    LookupField& length(int characters)
    {
        maxLength = characters;
        return *this;
    }
    LookupField& range(double lowest, double highest)
    {
        min = lowest;
        max = highest;
        return *this;
    }
    LookupField& labelled(const QString& text, const QString& objectName = QString())
    {
        label = text;
        labelName = objectName;
        return *this;
    }

private:
    static LookupField make(Editor editor, const QString& control, const QString& column, const QString& goodName)
    {
        LookupField field;
        field.editor = editor;
        field.control = control;
        field.column = column;
        field.goodName = goodName;
        field.label = goodName + QStringLiteral(":");
        return field;
    }
};

class QWidget;
class zFieldBase;

// The editor a declared field describes, with its design properties set.
zFieldBase* CreateFieldEditor(const LookupField& field, QWidget* parent);
