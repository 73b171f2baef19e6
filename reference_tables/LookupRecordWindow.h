#pragma once

#include "form_framework/DataWindow.h"
#include "reference_tables/LookupTable.h"
#include "reference_tables/WindowActions.h"

#include <QList>

class QGridLayout;
class zButtonsAddEdit;
class zFieldBase;
class zIdentity;
class zLabel;

// The record window pattern: one row of one table, shown in the declared fields, added or
// changed and saved through the controller. The load and the check are the data window's own
// (each column into the field bound to it; the fields checked in their declared order, the first
// invalid one stopping the check, so a save shows at most one message); the pattern adds the
// opener's default value in the name field and the table's window commands.
class LookupRecordWindow : public DataWindow {
    Q_OBJECT
public:
    explicit LookupRecordWindow(const LookupTable& table);

    // Applies the opener's start parameters (in edit mode this loads the row) as the action
    // "Load Form"; false when that failed, which has been reported.
    bool Act_LoadForm() override;

    const LookupTable& table() const { return m_table; }
    // The declared fields, in their order.
    const QList<zFieldBase*>& fields() const { return m_fields; }
    zFieldBase* field(const QString& control) const;
    zIdentity* identity() const { return m_identity; }
    zButtonsAddEdit* buttons() const { return m_buttons; }
    // The grid of captions and fields, for what a window adds beside a field.
    QGridLayout* fieldGrid() const { return m_grid; }
    int rowOf(const QString& control) const;

    // An entry of the Actions menu, run with the shown record's identity.
    void addAction(const QString& caption, WindowActions::Run run) { m_actions.add(caption, std::move(run)); }
    void runAction(const QString& actionName) const;

    void ProcessDefaultValue(const QString& defaultValue) override;
    void PopulateShortcuts() override;

private:
    LookupTable m_table;
    QList<zFieldBase*> m_fields;
    zIdentity* m_identity;
    zButtonsAddEdit* m_buttons;
    QGridLayout* m_grid;
    WindowActions m_actions;
};
