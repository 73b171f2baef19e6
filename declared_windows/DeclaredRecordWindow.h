#pragma once

#include "form_framework/DataWindow.h"
#include "declared_windows/DeclaredTable.h"
#include "declared_windows/WindowActions.h"

#include <QList>

class BoundField;
class QGridLayout;
class QGroupBox;
class QPushButton;
class QVBoxLayout;
class zButtonsAddEdit;
class zExtendedLabel;
class zFieldBase;
class zIdentity;
class zLabel;

// The record window pattern: one row of one table, shown in the declared fields, added or
// changed and saved through the controller. The fields are loaded and checked in their declared
// order (the first invalid one stops the check, so a save shows at most one message; foreign-key
// texts take their column as an identity); the pattern adds the opener's default value, the
// record code pair, the side and option buttons, group boxes and the table's window commands.
class DeclaredRecordWindow : public DataWindow {
    Q_OBJECT
public:
    explicit DeclaredRecordWindow(const DeclaredTable& table);

    // Applies the opener's start parameters (in edit mode this loads the row) as the action
    // "Load Form"; false when that failed, which has been reported.
    bool Act_LoadForm() override;

    const DeclaredTable& table() const { return m_table; }
    // The declared editors that are zFieldBase, in their order (the money fields are not).
    const QList<zFieldBase*>& fields() const { return m_fields; }
    zFieldBase* field(const QString& control) const;
    // Every declared field the record stores or shows, money fields included, in declared order.
    const QList<BoundField*>& boundFields() const { return m_bound; }
    BoundField* boundField(const QString& control) const;
    // Any declared control by its name (an options row, a money field).
    QWidget* control(const QString& control) const;
    // A button declared beside a field ("btnNow(0)"); null for a name not declared.
    QPushButton* button(const QString& name) const;
    // The group box of that caption, as declared (trailing blanks included).
    QGroupBox* group(const QString& caption) const;
    // The record code pair: 0 the barcode, 1 the code as text; null without a declared prefix.
    zExtendedLabel* codeLabel(int index) const;
    zIdentity* identity() const { return m_identity; }
    zButtonsAddEdit* buttons() const { return m_buttons; }
    // The grid of the identity and the first fields, for what a window adds beside a field.
    QGridLayout* fieldGrid() const { return m_grid; }
    // The row of a field in the grid that holds it (fieldGrid() for the plain windows).
    int rowOf(const QString& control) const;

    // An entry of the Actions menu, run with the shown record's identity.
    void addAction(const QString& caption, WindowActions::Run run) { m_actions.add(caption, std::move(run)); }
    void runAction(const QString& actionName) const;

    bool CheckFieldsProcedure() override;
    bool ActPopulateFormEditProcedure() override;
    void ProcessDefaultValue(const QString& defaultValue) override;
    void SetDefaultsProcedure() override;
    void BeforeApplyPresets(const FormParamDict& presets) override;
    void PopulateShortcuts() override;

private:
    void layOutFields(QVBoxLayout* outer);
    void addCodePair(int row);
    void spanLoneFields();
    void showRecordCode();
    // The declared fields, then any field the window added itself (never the amount inside a
    // money field), in creation order.
    QList<BoundField*> fieldsInOrder() const;

    DeclaredTable m_table;
    QList<zFieldBase*> m_fields;
    QList<BoundField*> m_bound;
    QList<QWidget*> m_controls;
    QList<QPushButton*> m_sideButtons;
    QList<QGroupBox*> m_groups;
    zIdentity* m_identity;
    zButtonsAddEdit* m_buttons;
    QGridLayout* m_grid;
    zExtendedLabel* m_code[2] = { nullptr, nullptr };
    int m_labelIndex = 0;
    WindowActions m_actions;
};
