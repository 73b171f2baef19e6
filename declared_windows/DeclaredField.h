#pragma once

#include "form_framework/zNumeric.h"

#include <QChar>
#include <QDateTime>
#include <QString>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

// One field of a lookup window as the window declares it: the editor, the bound column and the
// design properties the editor takes. Written as a chain of setters so a window's field table
// reads like the design sheet it came from:
//
//     DeclaredField::text("ztxtName", "Color_Name", "Color Name").length(30).required().unique()
class zComboBoxText;

struct DeclaredField {
    // Options is a row of option buttons (no bound column: the window reads which one is chosen).
    enum class Editor { Text, Numeric, Memo, CheckBox, Picker, Date, Money, Options };

    // A button beside a field ("<= Now"), or one option button: its object name and caption.
    struct Button {
        QString name;
        QString caption;
    };

    Editor editor = Editor::Text;
    QString control; // the object name ("ztxtName", "zchkApplies(0)")
    QString column; // DBFieldName (or the search parameter on a search window)
    QString goodName; // the field's name in messages
    QString label; // the caption beside it; "" puts no caption of its own beside the field
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
    // Both bounds of numbers and dates are allowed values unless excluded.
    bool minIncluded = true;
    bool maxIncluded = true;
    // Dates: the display pattern ("mm/dd/yyyy h:mm AMPM"), the typed characters allowed (none
    // given: the editor's own), the bounds (invalid: the editor's own floor and ceiling).
    QString dataFormat;
    std::optional<QString> keyFilter;
    QDateTime dateMin;
    QDateTime dateMax;
    // Pickers.
    QString populateSQL;
    QString dataChangedTable;
    bool showButton = true;
    bool hasGeneralItem = false; // the list's "all" entry, where the window reads its fields as criteria
    QChar codePrefix; // typed or scanned record codes ("C-0000000042") choose the record
    std::function<void(zComboBoxText*)> pickerSetUp;
    bool acceptBareIdentity = false;
    // Text: 1 plain, 2 folder path, 3 file path; a per-user setting; a foreign key shown as a text
    // (the two queries end in the identity or the quoted text the window appends).
    int textType = 1;
    QString settingName;
    bool isForeignKey = false;
    QString valueFromFKSQL;
    QString fkFromValueSQL;
    // Money: the two direction captions (empty: the editor's own) and the sign of a "Spend".
    QString spendWord;
    QString receiveWord;
    int multiplier = -1;
    // Every editor: locked, not applicable until the window says so, not part of the record.
    bool isLocked = false;
    bool applicableAtStart = true;
    bool stored = true;
    // Layout: the group box the field sits in (the caption is kept exactly as given, trailing
    // blanks included; consecutive fields of one caption share the box), the same row as the field
    // declared before it, the start of the second column, and buttons after the field.
    QString groupCaption;
    QString groupName;
    bool besidePrevious = false;
    bool startsSecondColumn = false;
    std::vector<Button> sideButtons;
    // Options: the buttons in their order; the first starts chosen.
    std::vector<Button> optionButtons;

    static DeclaredField text(const QString& control, const QString& column, const QString& goodName)
    {
        return make(Editor::Text, control, column, goodName);
    }
    static DeclaredField number(const QString& control, const QString& column, const QString& goodName)
    {
        return make(Editor::Numeric, control, column, goodName);
    }
    static DeclaredField memo(const QString& control, const QString& column, const QString& goodName)
    {
        return make(Editor::Memo, control, column, goodName);
    }
    // A check box that starts ticked or not; check boxes carry no caption label of their own.
    static DeclaredField checkBox(const QString& control, const QString& column, const QString& goodName,
        const QString& caption, bool startsTicked)
    {
        DeclaredField field = make(Editor::CheckBox, control, column, goodName);
        field.caption = caption;
        field.checked = startsTicked;
        field.label.clear();
        return field;
    }
    static DeclaredField picker(const QString& control, const QString& column, const QString& goodName,
        const QString& populateSQL, const QString& dataChangedTable)
    {
        DeclaredField field = make(Editor::Picker, control, column, goodName);
        field.populateSQL = populateSQL;
        field.dataChangedTable = dataChangedTable;
        return field;
    }
    // A picker filled by its list procedure, named with any parameters it takes
    // ("usp_Evd_DropDown_Units @Unit_Type_Code = 'W'"); the way windows declare their pickers.
    static DeclaredField pickerOf(const QString& control, const QString& column, const QString& goodName,
        const QString& procedure, const QString& dataChangedTable)
    {
        return picker(control, column, goodName, QStringLiteral("EXEC ") + procedure, dataChangedTable);
    }

    static DeclaredField date(const QString& control, const QString& column, const QString& goodName)
    {
        return make(Editor::Date, control, column, goodName);
    }
    // The date of a record as every window takes it: shown "mm/dd/yyyy", from 12/31/1950 to
    // 1/1/2050. withTime() shows and takes the time of day too. The one place these are written;
    // the fields-only windows take it through AddDeclaredFields like the declared ones.
    static DeclaredField recordDate(const QString& control, const QString& column, const QString& goodName)
    {
        return make(Editor::Date, control, column, goodName)
            .format(QStringLiteral("mm/dd/yyyy"))
            .dates(QDateTime(QDate(1950, 12, 31), QTime(0, 0)), QDateTime(QDate(2050, 1, 1), QTime(0, 0)));
    }
    DeclaredField& withTime()
    {
        dataFormat = QStringLiteral("mm/dd/yyyy h:mm AMPM");
        keyFilter = QStringLiteral("/0123456789: AMPM");
        return *this;
    }
    // A signed amount: a number and a direction, one column.
    static DeclaredField money(const QString& control, const QString& column, const QString& goodName)
    {
        return make(Editor::Money, control, column, goodName);
    }
    // Option buttons named as declared, in a row; `control` names the row. Not stored.
    static DeclaredField options(const QString& control, const QString& label, std::vector<Button> buttons)
    {
        DeclaredField field = make(Editor::Options, control, QString(), QString());
        field.label = label;
        field.optionButtons = std::move(buttons);
        field.stored = false;
        return field;
    }

    DeclaredField& required()
    {
        isRequired = true;
        return *this;
    }
    DeclaredField& unique()
    {
        isUnique = true;
        return *this;
    }
    DeclaredField& length(int characters)
    {
        maxLength = characters;
        return *this;
    }
    DeclaredField& range(double lowest, double highest)
    {
        min = lowest;
        max = highest;
        return *this;
    }
    DeclaredField& minExcluded()
    {
        minIncluded = false;
        return *this;
    }
    DeclaredField& maxExcluded()
    {
        maxIncluded = false;
        return *this;
    }
    DeclaredField& dates(const QDateTime& lowest, const QDateTime& highest)
    {
        dateMin = lowest;
        dateMax = highest;
        return *this;
    }
    DeclaredField& format(const QString& pattern)
    {
        dataFormat = pattern;
        return *this;
    }
    DeclaredField& keys(const QString& allowed)
    {
        keyFilter = allowed;
        return *this;
    }
    DeclaredField& decimals(int scale)
    {
        decimalScale = scale;
        return *this;
    }
    DeclaredField& locked()
    {
        isLocked = true;
        return *this;
    }
    DeclaredField& notApplicableAtStart()
    {
        applicableAtStart = false;
        return *this;
    }
    DeclaredField& notStored()
    {
        stored = false;
        return *this;
    }
    DeclaredField& withoutButton()
    {
        showButton = false;
        return *this;
    }
    // Set-up of the picker's own, run on it wherever a window makes it (record, search or fields
    // window), such as a look-up of other names typed in it.
    DeclaredField& withPickerSetUp(std::function<void(zComboBoxText*)> setUp)
    {
        pickerSetUp = std::move(setUp);
        return *this;
    }
    DeclaredField& generalItem()
    {
        hasGeneralItem = true;
        return *this;
    }
    DeclaredField& recordCodes(QChar prefix, bool bareIdentityToo)
    {
        codePrefix = prefix;
        acceptBareIdentity = bareIdentityToo;
        return *this;
    }
    DeclaredField& setting(const QString& name)
    {
        settingName = name;
        return *this;
    }
    DeclaredField& folder()
    {
        textType = 2;
        return *this;
    }
    DeclaredField& file()
    {
        textType = 3;
        return *this;
    }
    // "SELECT Employee_Name FROM Employees WHERE Employee_ID = " and
    // "SELECT Employee_ID FROM Employees WHERE Employee_Name = ".
    DeclaredField& foreignKey(const QString& valueForIdentity, const QString& identityForValue)
    {
        isForeignKey = true;
        valueFromFKSQL = valueForIdentity;
        fkFromValueSQL = identityForValue;
        return *this;
    }
    DeclaredField& directions(const QString& spend, const QString& receive, int spendSign = -1)
    {
        spendWord = spend;
        receiveWord = receive;
        multiplier = spendSign;
        return *this;
    }
    DeclaredField& inGroup(const QString& boxCaption, const QString& objectName = QString())
    {
        groupCaption = boxCaption;
        groupName = objectName;
        return *this;
    }
    DeclaredField& besideThePrevious()
    {
        besidePrevious = true;
        return *this;
    }
    DeclaredField& inSecondColumn()
    {
        startsSecondColumn = true;
        return *this;
    }
    DeclaredField& withButton(const QString& name, const QString& buttonCaption)
    {
        sideButtons.push_back({ name, buttonCaption });
        return *this;
    }
    DeclaredField& labelled(const QString& text, const QString& objectName = QString())
    {
        label = text;
        labelName = objectName;
        return *this;
    }

private:
    static DeclaredField make(Editor editor, const QString& control, const QString& column, const QString& goodName)
    {
        DeclaredField field;
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

// The editor a declared field describes, with its design properties set; null for the kinds that
// are no zFieldBase (money, options), which CreateFieldWidget makes.
zFieldBase* CreateFieldEditor(const DeclaredField& field, QWidget* parent);
// The widget of any declared field: the editor, the money field (a BoundField too) or the row of
// option buttons.
QWidget* CreateFieldWidget(const DeclaredField& field, QWidget* parent);
class zDate;
// A date editor takes a declared date's format, typed characters and bounds (a hand-built window's
// date editors take the record date preset through this).
void ApplyDateDesign(zDate* editor, const DeclaredField& field);
