#pragma once

#include "form_framework/PopulatedList.h"
#include "form_framework/zFieldBase.h"

#include <QString>

class CheckListModel;
class QListView;
class QMenu;

// A list of query rows with a check box each, whose value is the identity list of the checked
// rows ("3,5,9"): a search criterion that reaches the search procedure as one parameter.
class zCheckBoxList : public zFieldBase, public PopulatedList {
    Q_OBJECT
public:
    explicit zCheckBoxList(QWidget* parent = nullptr);

    FieldKind fieldKind() const override { return FieldKind::CheckBoxList; }
    QString PopulateSQL() const override { return m_populateSQL; }
    void setPopulateSQL(const QString& sql) { m_populateSQL = sql.trimmed(); }
    bool PopulateOnStart() const override { return m_populateOnStart; }
    void setPopulateOnStart(bool on) { m_populateOnStart = on; }
    // Kept for the window's design; data-changed messages do not update the list.
    QString DataChangedTableName() const { return m_dataChangedTableName; }
    void setDataChangedTableName(const QString& table) { m_dataChangedTableName = table.trimmed(); }
    QString DataChangedSQL() const { return m_dataChangedSQL; }
    void setDataChangedSQL(const QString& sql) { m_dataChangedSQL = sql.trimmed(); }
    void ProcessDataChanged(int action, const QString& tableName, const QString& idList);

    // The checked rows' identities joined by ","; null when none is checked or the list does not
    // apply. Assigning an identity list checks exactly those rows.
    QVariant Value() const override;
    void setValue(const QVariant& value) override;
    QString Text() const override;
    bool IsMissing() const override;
    // "NULL", or the identity list between single quotes.
    QString DBValue() const override;
    QString ResultDBValue() const override { return DBValue(); }

    void Populate() override;
    void Clear();
    void CheckAll();
    void UnCheckAll();
    void ReverseChecked();
    int CountCheckedItems() const;
    QString GetCheckedIDs() const;
    int count() const;

    QListView* listView() const { return m_view; }
    QMenu* actionsMenu() const { return m_menu; }
    CheckListModel* model() const { return m_model; }

protected:
    QString checks(bool final) override;
    void redraw() override;
    void boxFocusOut() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QListView* m_view;
    CheckListModel* m_model;
    QMenu* m_menu;
    QString m_populateSQL;
    QString m_dataChangedTableName;
    QString m_dataChangedSQL;
    bool m_populateOnStart = true;
};
