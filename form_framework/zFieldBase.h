#pragma once

#include "form_framework/BoundField.h"

#include <QFrame>
#include <QString>
#include <QVariant>

#include <functional>

class DataWindow;
class QKeyEvent;
class zInfo;

// What every data-bound field control shares: the protocol state a window declares on it
// (DBFieldName, GoodName, Required, Applicable, Locked, PartOfTheQuery, Unique, foreign-key mode,
// SettingName), the change marking of the window's controller, the focus colours, Enter as Tab,
// the field error (the inner box's tool tip, red text after the focus left) and the "Fields
// Validation" message of IsValid. An editor adds its inner box, its key filter, its value and its
// own checks; the picker and check-box list reuse the same base.
class zFieldBase : public QFrame, public virtual BoundField {
    Q_OBJECT
public:
    explicit zFieldBase(QWidget* parent = nullptr);

    // --- Design properties ----------------------------------------------------------------------
    QString DBFieldName() const override { return m_dbFieldName; }
    void setDBFieldName(const QString& name) { m_dbFieldName = name.trimmed(); }
    QString GoodName() const override { return m_goodName; }
    // Also the accessible name of the inner box (the field control itself has none), so screen
    // readers and tests find the field by it.
    void setGoodName(const QString& name);
    bool Required() const override { return m_required; }
    void setRequired(bool required) { m_required = required; }
    bool PartOfTheQuery() const override { return m_partOfTheQuery; }
    void setPartOfTheQuery(bool part) { m_partOfTheQuery = part; }
    bool Unique() const { return m_unique; }
    void setUnique(bool unique) { m_unique = unique; }
    bool IsForeignKey() const override { return m_isForeignKey; }
    void setIsForeignKey(bool foreignKey) { m_isForeignKey = foreignKey; }
    QString SettingName() const { return m_settingName; }
    void setSettingName(const QString& name) { m_settingName = name.trimmed(); }

    bool Applicable() const override { return m_applicable; }
    // A different value redraws the field; editors add their own consequences.
    virtual void setApplicable(bool applicable);
    bool Locked() const override { return m_locked; }
    virtual void setLocked(bool locked);

    // --- Foreign key ------------------------------------------------------------------------------
    // The identity behind the shown value; 0 when there is none or the field does not apply.
    int FKValue() const override { return m_applicable ? m_fkValue : 0; }
    // Only foreign-key fields take an identity; on any other field this is a programming error,
    // reported as an application error to the caller.
    void setFKValue(int identity) override;
    // "NULL" for no identity, else its digits.
    QString FKDBValue() const;
    QString ResultDBValue() const override;

    // --- Validation -------------------------------------------------------------------------------
    // The current validation message; empty while the field is valid.
    QString FieldError() const;
    // Runs the checks (the final one includes FinalValidation); true when the field is valid. The
    // message becomes the field error; nothing is shown.
    bool Validate(bool final);
    // The final check; on failure shows the error with a full stop in the "Fields Validation" box,
    // puts the focus into the field and returns false.
    bool IsValid() override;

    // Assign the answer of DefaultProcedure / ComputeProcedure.
    virtual void SetDefault();
    virtual void Compute();

    // --- The window's answers ---------------------------------------------------------------------
    // A window that adds to the field's own behaviour gives it these; each is asked synchronously,
    // and a field without one behaves as said here.
    // During every check, after the field's own checks passed: a message, or "" (none: "").
    void setOnLostFocusValidation(std::function<QString()> check) { m_onLostFocusValidation = std::move(check); }
    // Only in the final check, last of all: a message, or "" (none: "").
    void setFinalValidation(std::function<QString()> check) { m_finalValidation = std::move(check); }
    // The value SetDefault and Compute assign (none: no value; see the editors for theirs).
    void setDefaultProcedure(std::function<QVariant()> value) { m_defaultProcedure = std::move(value); }
    void setComputeProcedure(std::function<QVariant()> value) { m_computeProcedure = std::move(value); }
    // The identity changed: the value to show for it (none: no value).
    void setGetValueFromFK(std::function<QVariant()> value) { m_getValueFromFK = std::move(value); }
    // The identity of the shown value, or 0 (none: the stored identity stays).
    void setGetFKFromValue(std::function<int()> lookUp) { m_getFKFromValue = std::move(lookUp); }

    // The box the user types into (the tool tip, colours and focus live there).
    QWidget* inputBox() const { return m_box; }
    // The window that holds the field, and its controller; null when there is none.
    DataWindow* containerWindow() const;
    zInfo* controller() const;

Q_SIGNALS:
    // After every change of the value (typing, assigning); before the window is marked changed.
    void Change();
    // The focus left the inner box for another control of the window (switching to another window
    // or a popup is no leaving); after the field's own checks on leaving ran.
    void LostFocus();

protected:
    // Installs the inner box, laid over the control's width (single-line boxes: the control takes
    // the box's height; fill = the box takes the whole control); its focus and keys reach the field.
    void setInputBox(QWidget* box, bool fill = false);
    // The answers of DefaultProcedure and ComputeProcedure; `none` when the window gave none.
    QVariant defaultProcedureValue(const QVariant& none) const
    {
        return m_defaultProcedure ? m_defaultProcedure() : none;
    }
    QVariant computeProcedureValue(const QVariant& none) const
    {
        return m_computeProcedure ? m_computeProcedure() : none;
    }

    // Shows a value in the box (the identity's value that GetValueFromFK gave); called quietly.
    virtual void showValue(const QVariant& value);
    // Inserts a character that the key filter put in place of the typed one.
    virtual void insertCharacter(QChar character);

    // Raises Change and, for a field of the record, marks the window changed.
    void changeProcessing();
    // Marks the window's controller changed; a window without one is left alone.
    void markWindowChanged();

    void clearFieldError();
    void setFieldError(const QString& message);
    // Paints the box's text red while it holds an error.
    void paintFieldError();

    // Writes from inside the control (showing an assigned value, trimming) run quietly, so the
    // box's change notification does not take them for user edits.
    bool quiet() const { return m_quiet > 0; }
    class QuietScope {
    public:
        explicit QuietScope(zFieldBase* field)
            : m_field(field)
        {
            ++m_field->m_quiet;
        }
        ~QuietScope() { --m_field->m_quiet; }
        QuietScope(const QuietScope&) = delete;
        QuietScope& operator=(const QuietScope&) = delete;

    private:
        zFieldBase* m_field;
    };

    // The editor's checks after the applicability test; returns the first failure or "".
    virtual QString checks(bool final) = 0;
    // Shared steps of the checks.
    // True for a text of white space alone (blanks, tabs, line breaks, no-break spaces): for the
    // required rule and IsMissing such a text is as empty as no text at all.
    static bool isBlankText(const QString& text);
    QString requiredMessage() const { return m_goodName + QStringLiteral(" is a required field"); }
    // Over the limit that typing keeps to (pasted or assigned text).
    QString tooLongMessage(int maxLength) const
    {
        return m_goodName + QStringLiteral(" should be at most ") + QString::number(maxLength)
            + QStringLiteral(" characters long");
    }
    QString uniqueMessage();
    QString lostFocusMessage();
    QString finalMessage();
    // "Cannot find <GoodName> <shown>" when the window finds no identity for the shown value.
    QString foreignKeyMessage(const QString& shown);
    // Asks the window for the identity of the shown value (GetFKFromValue) and keeps it.
    void lookUpFKValue();
    // The stored identity without the applicability test (for the editors' assignments).
    int storedFKValue() const { return m_fkValue; }
    void resetFKValue() { m_fkValue = 0; }
    // Stores a new identity; false when it equals the stored one.
    bool storeFKValue(int identity);

    // Redraws the field for Locked and Applicable (the text and number fields' rule: enabled when
    // applicable and not locked; the box hidden while not applicable, a border around the empty
    // block then; the box's background by Locked).
    virtual void redraw();
    // The form type the Enter key asks for: 0 when the field has no controller.
    int formType() const;

    // Hooks of the inner box's events. A typed character arrives as its code (8 Backspace, 13
    // Enter); set it to 0 to drop it, or to another code to insert that one in its place.
    virtual void filterCharacter(int& code);
    virtual void boxFocusIn();
    virtual void boxFocusOut();
    // Enter: swallowed; the search on a search window, Tab elsewhere.
    void handleEnter(int& code);
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool handleKeyPress(QKeyEvent* event);
    void nameInputBox();

    QWidget* m_box = nullptr;
    QString m_dbFieldName;
    QString m_goodName;
    QString m_settingName;
    bool m_required = false;
    bool m_applicable = true;
    bool m_locked = false;
    bool m_partOfTheQuery = true;
    bool m_unique = false;
    bool m_isForeignKey = false;
    int m_fkValue = 0;
    int m_quiet = 0;
    std::function<QString()> m_onLostFocusValidation;
    std::function<QString()> m_finalValidation;
    std::function<QVariant()> m_defaultProcedure;
    std::function<QVariant()> m_computeProcedure;
    std::function<QVariant()> m_getValueFromFK;
    std::function<int()> m_getFKFromValue;
};
