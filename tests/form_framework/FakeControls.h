#pragma once

// Small field controls, bars and a result list that speak the framework's interfaces, so the
// controller and the window routines are tested on real windows before the real controls exist.

#include "form_framework/BoundField.h"
#include "core/EngineFacts.h"
#include "form_framework/DataWindow.h"
#include "form_framework/PickerField.h"
#include "form_framework/RecordBar.h"
#include "form_framework/ResultList.h"
#include "form_framework/SearchBar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QStringList>

class FakeText : public QLineEdit, public BoundField {
public:
    FakeText(QWidget* parent, const QString& objectName, const QString& dbFieldName, const QString& goodName);
    FieldKind fieldKind() const override { return FieldKind::Text; }
    QString DBFieldName() const override { return m_dbFieldName; }
    QString GoodName() const override { return m_goodName; }
    bool PartOfTheQuery() const override { return partOfTheQuery; }
    bool Applicable() const override { return applicable; }
    QVariant Value() const override;
    void setValue(const QVariant& value) override;
    QString Text() const override { return applicable ? text() : QString(); }
    QString DBValue() const override;
    QString ResultDBValue() const override;
    bool IsValid() override { return valid; }
    bool IsForeignKey() const override { return foreignKey; }
    int FKValue() const override { return m_fk; }
    void setFKValue(int value) override { m_fk = value; }

    bool partOfTheQuery = true;
    bool applicable = true;
    bool valid = true;
    bool foreignKey = false;

private:
    QString m_dbFieldName;
    QString m_goodName;
    int m_fk = 0;
};

class FakeCheck : public QCheckBox, public BoundField {
public:
    FakeCheck(QWidget* parent, const QString& objectName, const QString& dbFieldName);
    FieldKind fieldKind() const override { return FieldKind::CheckBox; }
    QString DBFieldName() const override { return m_dbFieldName; }
    QString GoodName() const override { return m_dbFieldName; }
    bool PartOfTheQuery() const override { return true; }
    bool Applicable() const override { return true; }
    QVariant Value() const override { return isChecked(); }
    void setValue(const QVariant& value) override { setChecked(value.toBool()); }
    QString Text() const override { return {}; }
    bool IsMissing() const override { return false; }
    QString DBValue() const override { return isChecked() ? QStringLiteral("1") : QStringLiteral("0"); }
    bool IsValid() override { return true; }

private:
    QString m_dbFieldName;
};

class FakePicker : public QComboBox, public PickerField {
public:
    FakePicker(QWidget* parent, const QString& objectName, const QString& dbFieldName, const QString& table);
    QString DBFieldName() const override { return m_dbFieldName; }
    QString GoodName() const override { return m_dbFieldName; }
    bool PartOfTheQuery() const override { return true; }
    bool Applicable() const override { return true; }
    QVariant Value() const override { return m_value; }
    void setValue(const QVariant& value) override { m_value = value.isNull() ? -1 : value.toInt(); }
    QString Text() const override { return m_text; }
    void setText(const QString& text) override { m_text = text; }
    bool IsMissing() const override { return m_text.isEmpty(); }
    QString DBValue() const override { return m_value > 0 ? QString::number(m_value) : QStringLiteral("NULL"); }
    bool IsValid() override { return true; }
    QString DataChangedTableName() const override { return m_table; }
    void AddItemsByID(const QString& ids) override { calls << QStringLiteral("add ") + ids; }
    void UpdateItemsByID(const QString& ids) override { calls << QStringLiteral("update ") + ids; }
    void RemoveItemsByID(const QString& ids) override { calls << QStringLiteral("remove ") + ids; }
    bool PopulateOnStart() const override { return populateOnStart; }
    QString PopulateSQL() const override { return QStringLiteral("EXEC usp_Anything"); }
    void Populate() override { calls << QStringLiteral("populate"); }

    QStringList calls;
    bool populateOnStart = false;
    QString m_text;

private:
    QString m_dbFieldName;
    QString m_table;
    int m_value = -1;
};

class FakeRecordBar : public QWidget, public RecordBar {
public:
    explicit FakeRecordBar(QWidget* parent);
    bool NewEnabled() const override { return newEnabled; }
    void setNewEnabled(bool enabled) override { newEnabled = enabled; }
    bool ActionsEnabled() const override { return actionsEnabled; }
    void setActionsEnabled(bool enabled) override { actionsEnabled = enabled; }
    void setSaveEnabled(bool enabled) override { saveEnabled = enabled; }
    void setOkEnabled(bool enabled) override { okEnabled = enabled; }
    void setCloseCaption(const QString& caption) override { closeCaption = caption; }
    void ClickNew() override { calls << QStringLiteral("New"); }
    void ClickSave() override { calls << QStringLiteral("Save"); }

    bool newEnabled = false;
    bool actionsEnabled = false;
    bool saveEnabled = false;
    bool okEnabled = false;
    QString closeCaption;
    QStringList calls;
};

class FakeSearchBar : public QWidget, public SearchBar {
public:
    explicit FakeSearchBar(QWidget* parent);
    void ChangeMode(FormMode mode) override { calls << QStringLiteral("mode %1").arg(static_cast<int>(mode)); }
    void SetButtons() override { calls << QStringLiteral("SetButtons"); }
    void ClickNew() override { calls << QStringLiteral("New"); }
    void ClickEdit() override { calls << QStringLiteral("Edit"); }
    void ClickDelete() override { calls << QStringLiteral("Delete"); }
    QStringList calls;
};

class FakeResultList : public QWidget, public ResultList {
public:
    explicit FakeResultList(QWidget* parent);
    QString PopulateSQL() const override { return populateSQL; }
    void setPopulateSQL(const QString& sql) override { populateSQL = sql; }
    void Populate() override { calls << QStringLiteral("Populate ") + populateSQL; }
    void AddListViewItems(const QString& sql) override { calls << QStringLiteral("Add ") + sql; }
    void UpdateListViewItems(const QString& sql) override { calls << QStringLiteral("Update ") + sql; }
    void RemoveListViewItemsByID(const QString& ids) override { calls << QStringLiteral("Remove ") + ids; }
    void HighlightOneListViewItem(const QString& key) override { calls << QStringLiteral("Highlight ") + key; }
    bool MoveNext() override;
    bool MovePrevious() override;
    void Edit(int left, int top) override;
    int SelectedItemID() const override { return current >= 0 && current < rows.size() ? rows.at(current) : 0; }
    QString SelectedItemText() const override { return selectedText; }
    bool Act_Delete() override
    {
        calls << QStringLiteral("Delete");
        return true;
    }
    void AdjustColumnWidth(bool includeHeaders) override { calls << QStringLiteral("AdjustColumnWidth %1").arg(includeHeaders); }
    void SelectAll() override { calls << QStringLiteral("SelectAll"); }

    QString selectedText;
    QString populateSQL;
    QStringList calls;
    QList<int> rows;
    int current = -1;
};

// A record window of the test table Gadgets (Gadget_ID, Gadget_Name, Serial, Working, Kind_ID).
class frmGadget : public DataWindow {
    Q_OBJECT
public:
    frmGadget();
    bool Act_LoadForm() override;
    bool CheckFieldsProcedure() override;
    bool ActPopulateFormEditProcedure() override;
    void SetDefaultsProcedure() override;
    void ProcessCommand(MainCommand command) override;
    void ProcessDefaultValue(const QString& defaultValue) override;

    FakeText* name;
    FakeText* serial;
    FakeCheck* working;
    FakePicker* kind;
    FakeRecordBar* bar;
    QStringList events;
};

// The search window of Gadgets.
class frmGadgets : public DataWindow {
    Q_OBJECT
public:
    frmGadgets();
    void PopulateData() override;
    void ProcessCommand(MainCommand command) override;

    FakeText* name;
    FakeCheck* working;
    FakePicker* kind;
    FakeSearchBar* bar;
    FakeResultList* list;
    QStringList events;
};

void RegisterTestForms();
// The test table Gadgets and its DB_Tables row, in the program's database.
bool CreateGadgetsTable(Engine engine);
