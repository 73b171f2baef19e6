#pragma once

#include "form_framework/SearchBar.h"
#include "form_framework/zButtonBar.h"

#include <QString>

class QAction;
class QPushButton;

// The command buttons at the bottom of every search window (named "zbtnButtons"): New, Edit,
// Delete, Actions, Select and Close. The buttons open the window's record window, delete the
// selected rows, hand the selected row back to the field that opened the window as a picker and
// close it; the Actions menu sizes the columns, selects every row, shows the record's history
// and carries the window's own commands.
class zButtonsSearch : public zButtonBar, public SearchBar {
    Q_OBJECT
public:
    explicit zButtonsSearch(QWidget* parent = nullptr);

    // Opens the Actions menu at the pointer; the coordinates are not used.
    void ShowActionsMenu(float& x, float& y);
    // Edit, Delete, Select and Actions together (the list sets it after every population).
    bool EditDeleteEnabled() const;
    void setEditDeleteEnabled(bool enabled);
    void ClickNew() override;
    void ClickEdit() override;
    void ClickDelete() override;
    void ClickSelect();
    void SetButtons() override;
    void ChangeMode(FormMode mode) override;
    // A refused button is hidden, and the main window's command for it beeps as for any button
    // the window does not show. New and Edit show only on a window that has a record window.
    bool AllowNew() const { return m_allowNew; }
    void setAllowNew(bool allow);
    bool AllowEdit() const { return m_allowEdit; }
    void setAllowEdit(bool allow);
    bool AllowDelete() const { return m_allowDelete; }
    void setAllowDelete(bool allow);
    bool AllowRecordHistory() const { return m_allowRecordHistory; }
    void setAllowRecordHistory(bool allow);

protected:
    void layOut() override;

private:
    void newClicked();
    void editClicked();
    void deleteClicked();
    void selectClicked();
    void recordHistoryClicked();

    // Set by the builder, in the order of the bar.
    QPushButton *m_new, *m_edit, *m_delete, *m_actions, *m_select, *m_close;
    QAction* m_recordHistory = nullptr;
    int m_deleteLeft = 132;
    bool m_hasRecordWindow = true;
    bool m_allowNew = true;
    bool m_allowEdit = true;
    bool m_allowDelete = true;
    bool m_allowRecordHistory = true;
};
