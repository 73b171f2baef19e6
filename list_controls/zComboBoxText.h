#pragma once

#include "form_framework/PickerField.h"
#include "form_framework/zFieldBase.h"

#include "form_framework/FormTypes.h"

#include <QChar>
#include <QString>
#include <optional>

class PickerListModel;
class QAction;
class QComboBox;
class QMenu;
class QPushButton;
class Recordset;

// The foreign-key picker (instances are named with the zcbt prefix): a drop-down list of
// (identity, text) entries filled from a procedure, the general item "<All>" on search windows,
// typed text matched to an entry, and a "..." button whose menu adds, edits, deletes or searches
// records of the referenced table. Its list follows the data-changed messages of that table.
class zComboBoxText : public zFieldBase, public PickerField {
    Q_OBJECT
public:
    explicit zComboBoxText(QWidget* parent = nullptr);

    // --- Design properties ----------------------------------------------------------------------
    FieldKind fieldKind() const override { return FieldKind::ComboBoxText; }
    QString DBFieldName() const override { return zFieldBase::DBFieldName(); }
    QString GoodName() const override { return zFieldBase::GoodName(); }
    bool PartOfTheQuery() const override { return zFieldBase::PartOfTheQuery(); }
    bool Applicable() const override { return zFieldBase::Applicable(); }
    bool Required() const override { return zFieldBase::Required(); }
    bool Locked() const override { return zFieldBase::Locked(); }
    QString PopulateSQL() const override { return m_populateSQL; }
    // Trimmed, trailing line breaks removed.
    void setPopulateSQL(const QString& sql);
    QString DataChangedTableName() const override { return m_dataChangedTableName; }
    void setDataChangedTableName(const QString& table) { m_dataChangedTableName = table.trimmed(); }
    // "<All>" (identity 0) first in the list; only ever on search windows (modes 4 and 5).
    bool GeneralItem() const;
    void setGeneralItem(bool on);
    bool PopulateOnStart() const override { return m_populateOnStart; }
    void setPopulateOnStart(bool on) { m_populateOnStart = on; }
    bool ShowButton() const { return m_showButton; }
    void setShowButton(bool show);
    void setApplicable(bool applicable) override;
    // For a list that is part of its table (a country's states): the query of one record's
    // identity and text, "%1" standing for the identity. A record outside the list that is chosen
    // (loaded, a default) then joins the list and stays chosen, for the window's checks to judge,
    // rather than silently choosing nothing.
    void setOutsideEntrySQL(const QString& sql) { m_outsideEntrySQL = sql; }
    // Scanned or typed record codes with this prefix letter ("L" for "L-0000000042") choose the
    // record of that identity when the field is left; a bare number too when asked.
    QChar RecordCodePrefix() const { return m_codePrefix; }
    void setRecordCodePrefix(QChar prefix, bool acceptBareIdentity = false);

    // --- Value ----------------------------------------------------------------------------------
    // -1 nothing chosen (or not applicable), 0 "<All>", else the chosen identity.
    QVariant Value() const override;
    void setValue(const QVariant& value) override;
    QString Text() const override;
    void setText(const QString& text) override;
    bool IsMissing() const override;
    QString DBValue() const override;
    // The same as a typed argument of a procedure call: the identity, or NULL when none is chosen.
    QVariant DBArgument() const;
    QString ResultDBValue() const override { return DBValue(); }
    bool IsValid() override;

    // --- List -----------------------------------------------------------------------------------
    void Populate() override;
    void RePopulate();
    void Clear();
    void RemoveCurrentItem();
    void AddItemsByID(const QString& idList) override;
    void UpdateItemsByID(const QString& idList) override;
    void RemoveItemsByID(const QString& idList) override;
    int ListCount() const;
    QString ListText(int row) const;
    int ListIdentity(int row) const;
    // The change handling of the inner list: the chosen identity follows the selected entry.
    void cboCombo_Change();
    // Applies the record-code rule now (the field does it itself when it is left).
    bool ResolveRecordCode();

    // --- The "..." button -----------------------------------------------------------------------
    // Presses the button: loads the table's windows and opens the record-actions menu.
    void PressButton();
    void ClickNew();
    void ClickEdit();
    void ClickDelete();
    void ClickSearch();
    QPushButton* button() const { return m_button; }
    QMenu* popupMenu() const { return m_menu; }
    QComboBox* combo() const { return m_combo; }

Q_SIGNALS:
    // After the text was trimmed and checked on leaving the field.
    void DropDownLostFocus();

protected:
    QString checks(bool final) override;
    void redraw() override;
    void boxFocusOut() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::optional<FormMode> windowMode() const;
    bool searchMode() const;
    // A list of one entry is chosen for the user only where a choice is required: an optional
    // field left empty must stay empty, however few entries the table holds.
    bool choosesOnlyEntry() const;
    void appendEntry(const QString& text, int identity, int position = -1);
    void addOutsideEntry(int identity);
    void selectRow(int row);
    void typedText(const QString& text);
    QString limitedQuery(const QString& idList) const;
    void loadButtonInfo();
    QString codeMessage() const;

    QComboBox* m_combo = nullptr;
    QPushButton* m_button = nullptr;
    QMenu* m_menu = nullptr;
    QAction* m_mnuEdit;
    QAction* m_mnuDelete;
    PickerListModel* m_list;
    QString m_populateSQL;
    QString m_dataChangedTableName;
    QString m_outsideEntrySQL;
    bool m_generalItem = false;
    bool m_populateOnStart = false;
    bool m_showButton = true;
    QChar m_codePrefix;
    bool m_acceptBareIdentity = false;
    int m_current = -1;
    bool m_notInList = false;
    int m_adjusting = 0; // selection changes made by the control itself
    bool m_filling = false; // a fill's own selection does not mark the window changed
    bool m_rereadList = false; // the next fill reads the list again, kept or not

    // The "..." button's knowledge of the referenced table, loaded once.
    QString m_tableName;
    QString m_recordGoodName;
    QString m_singleRecordForm;
    QString m_multipleRecordsForm;
    bool m_infoLoaded = false;
    int m_pressedID = -1;
};
