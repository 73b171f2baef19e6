#pragma once

#include "form_framework/DataWindow.h"
#include "declared_windows/DeclaredTable.h"
#include "declared_windows/WindowActions.h"

#include <QList>

class QGroupBox;
class QPushButton;
class zButtonsSearch;
class zFieldBase;
class zListView;

// The search window pattern: the rows of one table that its criteria select, in the result grid.
// The query is the table's search procedure with one named parameter per filled criterion; the
// Populate button and the start-up filling run the same query, and the exports run it again, so
// they export what the criteria select rather than what the grid happens to show.
class DeclaredSearchWindow : public DataWindow {
    Q_OBJECT
public:
    explicit DeclaredSearchWindow(const DeclaredTable& table);

    // The procedure call for the current criteria; "" when a criterion is invalid (its message
    // has been shown).
    QString GetSearchSQL();
    // The data window's PopulateData fills the grid from the same query; the grid keeps its rows
    // while a criterion is invalid.
    void ProcessCommand(MainCommand command) override;
    void PopulateShortcuts() override;
    // Every criterion beside the Populate button, a few rows of the grid and the whole bar.
    QSize contentsMinimumSize() const override;

    const DeclaredTable& table() const { return m_table; }
    const QList<zFieldBase*>& criteria() const { return m_criteria; }
    zListView* grid() const { return m_grid; }
    QPushButton* populateButton() const { return m_populate; }
    zButtonsSearch* buttons() const { return m_buttons; }

    // An entry of the Actions menu, run with the identity of the grid's selected row. With no row
    // selected the entry does nothing, unless it was added to run without one (with identity 0).
    void addAction(
        const QString& caption, WindowActions::Run run, WindowActions::Needs needs = WindowActions::Needs::Record)
    {
        m_actions.add(caption, std::move(run), needs);
    }
    void runAction(const QString& actionName) const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    DeclaredTable m_table;
    QList<zFieldBase*> m_criteria;
    QGroupBox* m_options;
    QPushButton* m_populate;
    zListView* m_grid;
    zButtonsSearch* m_buttons;
    WindowActions m_actions;
};
